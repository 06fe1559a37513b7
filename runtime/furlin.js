/*
 * Foldline runtime: draws the navigation-menu widget in today's browsers.
 *
 * It finds every applet[code="furlin.class"] element, reads its <param> children and its
 * width, height and codebase, and replaces it with a live menu of the same size. No
 * dependencies, no build step. A page may hold several copies of this script: every element
 * is taken exactly once.
 */
(function(global) {
'use strict';

const COMMA_ESCAPE = '~@^`';
const BREAK_ESCAPE = '|_#`';
const MAX_MENUS = 10000;
const MAX_ITEMS_PER_MENU = 10000;
const MAX_NUMBER = 100000;  // keeps damaged sizes from producing absurd CSS
const TAKEN = 'data-furlin-taken';
const STYLE_ID = 'furlin-runtime-style';
const LOADING_TIMEOUT_MS = 15000;

// ---- value grammar ----------------------------------------------------------------------

function text(value) { return value === undefined || value === null ? '' : String(value); }

function unescapeField(value) {
    return text(value).split(COMMA_ESCAPE).join(',').split(BREAK_ESCAPE).join('\n');
}

// Exactly count fields: missing ones are empty, extra ones are dropped. A trailing comma
// adds no field.
function splitFields(value, count) {
    const s = text(value);
    const parts = s === '' ? [] : s.split(',');
    if (parts.length > 0 && parts[parts.length - 1] === '') parts.pop();
    const fields = parts.slice(0, count).map(unescapeField);
    while (fields.length < count) fields.push('');
    return fields;
}

// A leading decimal integer; an empty or non-numeric text gives the fallback.
function toInt(value, fallback = 0, min = -MAX_NUMBER, max = MAX_NUMBER) {
    const m = /^\s*([+-]?\d+)/.exec(text(value));
    if (!m) return fallback;
    const n = Number(m[1]);
    if (!Number.isFinite(n)) return fallback;
    return Math.min(max, Math.max(min, n));
}

function inRange(n, min, max, fallback) { return n >= min && n <= max ? n : fallback; }

// "rrggbb" as written by the encoder; anything else gives the fallback.
function hexColor(value, fallback) {
    const s = text(value).trim();
    return /^[0-9a-fA-F]{6}$/.test(s) ? '#' + s.toLowerCase() : fallback;
}

// Numbers run together in one field, e.g. "160": first digit, middle, last digit.
function splitRun(value) {
    const s = text(value).trim();
    if (!/^\d{3,}$/.test(s)) return null;
    return {first: Number(s[0]), middle: Number(s.slice(1, -1)), last: Number(s[s.length - 1])};
}

function splitPair(value) {
    const s = text(value).trim();
    if (!/^\d{2}$/.test(s)) return null;
    return {first: Number(s[0]), second: Number(s[1])};
}

function parseApStyle(value) {
    const f = splitFields(value, 18);
    const run = splitRun(f[12]);
    const code = run ? run.middle : 1;
    return {
        backColor: hexColor(f[0], '#000000'),
        backImage: f[2],
        imageTile: toInt(f[3]) === 1,
        imageX: toInt(f[4]),
        imageY: toInt(f[5]),
        audio: f[6],
        showSelectionAlways: toInt(f[7], 1) !== 0,
        openSpeed: toInt(f[8], 5, 0, 50),
        closeSpeed: toInt(f[9], 5, 0, 50),
        displayAllBranches: toInt(f[10]) !== 0,
        hasLines: toInt(f[11], 1) !== 0,
        gradientDir: run ? inRange(run.first, 0, 1, 1) : 1,
        // 1 is a plain fill; 6..9 are the vertical gradients.
        backKind: code === 1 || (code >= 6 && code <= 9) ? code : 1,
        backBorder: run ? inRange(run.last, 0, 2, 0) : 0,
        lineIndent: toInt(f[13]),
        lineThick: toInt(f[14], 5, 0, 1000),
        lineColor: hexColor(f[15], '#050000'),
        progressBar: toInt(f[16], 1) !== 0,
        loadingMessage: f[17],
    };
}

function parseMStyle(value) {
    const f = splitFields(value, 10);
    const style = text(f[1]).trim();
    return {
        backColor: hexColor(f[0], '#000000'),
        filled: style[0] === '1',
        bordered: style[1] === '2',
        indent: toInt(f[4], 40),
        topOffset: toInt(f[5]),
        itemWidth: toInt(f[6], 80, 0),
        itemHeight: toInt(f[7], 20, 0),
        itemGap: toInt(f[8], 5, 0),
        itemBorder: toInt(f[9], 0, 0, 1000),
    };
}

function parseLook(f) {
    const run = splitRun(f[2]);
    const align = splitPair(f[7]);
    return {
        backColor: hexColor(f[0], '#000000'),
        fontColor: hexColor(f[1], '#ffffff'),
        gradientDir: run ? inRange(run.first, 0, 1, 1) : 1,
        backKind: run ? inRange(run.middle, 0, 9, 1) : 1,
        border: run ? inRange(run.last - 1, 0, 2, 0) : 0,
        effect: inRange(toInt(f[3]), 0, 4, 0),
        fontName: inRange(toInt(f[4]), 0, 2, 0),
        fontSize: toInt(f[5], 14, 1, 1000),
        fontStyle: inRange(toInt(f[6]), 0, 2, 0),
        imageAlign: align ? inRange(align.first, 0, 2, 0) : 0,
        textAlign: align ? inRange(align.second, 0, 2, 0) : 0,
        imageOffset: toInt(f[8]),
        textOffset: toInt(f[9]),
    };
}

// Three groups (normal, over, click) of ten fields followed by two empty ones.
function parseIStyle(value) {
    const f = splitFields(value, 36);
    return {
        normal: parseLook(f.slice(0, 10)),
        over: parseLook(f.slice(12, 22)),
        click: parseLook(f.slice(24, 34)),
    };
}

function parseItem(value) {
    const s = text(value);
    const f = splitFields(s, 9);
    // The link is the last field and is not escaped: a comma in it (a query string) must
    // not cut the address short.
    const parts = s.split(',');
    if (parts.length > 9) {
        const tail = parts.slice(8);
        while (tail.length > 1 && tail[tail.length - 1] === '') tail.pop();
        f[8] = unescapeField(tail.join(','));
    }
    return {
        label: f[0].replace(/\r\n?/g, '\n'),
        description: f[1],
        normalImage: f[2],
        overImage: f[3],
        clickImage: f[4],
        overAudio: f[5],
        clickAudio: f[6],
        target: f[7].trim() || '_self',
        link: f[8].trim(),
    };
}

// "N," then N per-menu item counts, then "-n," for top-level menus and "j-m," linking
// global item j to its sub-menu m.
function parseMisc(value) {
    const tokens = text(value).split(',').map((t) => t.trim());
    if (tokens.length > 0 && tokens[tokens.length - 1] === '') tokens.pop();
    const count = toInt(tokens[0], 0, 0, MAX_MENUS);
    const counts = [];
    for (let i = 0; i < count; i++) counts.push(toInt(tokens[i + 1], 0, 0, MAX_ITEMS_PER_MENU));
    const tops = [];
    const links = [];
    for (const t of tokens.slice(count + 1)) {
        let m = /^-(\d+)$/.exec(t);
        if (m) {
            tops.push(Number(m[1]));
            continue;
        }
        m = /^(\d+)-(\d+)$/.exec(t);
        if (m) links.push({item: Number(m[1]), menu: Number(m[2])});
    }
    return {count, counts, tops, links};
}

// Builds the menu tree from a parameter lookup (name -> value or undefined). Damaged
// links are dropped: a menu gets at most one owner and only a later-numbered menu can be
// a sub-menu, so no cycle can be formed.
function buildModel(lookup) {
    const get = (name) => {
        const v = lookup(name);
        return v === undefined || v === null ? undefined : String(v);
    };
    const applet = parseApStyle(get('ApStyle'));
    const misc = parseMisc(get('Misc'));
    const menus = [];
    const allItems = [];
    for (let i = 0; i < misc.count; i++) {
        const menu = {
            number: i,
            style: parseMStyle(get(`MStyle-${i}`)),
            looks: parseIStyle(get(`IStyle-${i}`)),
            items: [],
            owner: null,
            top: false,
        };
        for (let k = 0; k < misc.counts[i]; k++) {
            const raw = get(`I${i}-${k}`);
            // A missing item keeps its global index so that later links still line up.
            const item = raw === undefined ?
                null :
                {...parseItem(raw), menu, sub: null, index: allItems.length};
            allItems.push(item);
            if (item) menu.items.push(item);
        }
        menus.push(menu);
    }
    for (const link of misc.links) {
        const item = allItems[link.item];
        const sub = menus[link.menu];
        if (!item || !sub || item.sub || sub.owner || sub.number <= item.menu.number) continue;
        if (sub.items.length === 0) continue;
        item.sub = sub;
        sub.owner = item;
    }
    let tops = [];
    for (const n of misc.tops) {
        const menu = menus[n];
        if (menu && !menu.owner && !menu.top) {
            menu.top = true;
            tops.push(menu);
        }
    }
    if (tops.length === 0) {
        tops = menus.filter((m) => !m.owner);
        for (const m of tops) m.top = true;
    }
    return {applet, menus, tops, items: allItems.filter(Boolean)};
}

// ---- layout and look rules --------------------------------------------------------------

// 0 is the fastest speed, 50 the slowest.
function slideDuration(speed, reducedMotion) {
    if (reducedMotion) return 0;
    return Math.min(50, Math.max(0, toInt(speed, 5))) * 20;
}

function gradient(direction, from, to, both) {
    return both ? `linear-gradient(${direction}, ${from}, ${to} 50%, ${from})` :
                  `linear-gradient(${direction}, ${from}, ${to})`;
}

// Item background: 0 transparent, 1 colour, 2..5 horizontal and 6..9 vertical gradients
// (black to colour, white to colour, colour to black, colour to white).
function itemBackground(look) {
    const kind = look.backKind;
    if (kind === 0) return 'transparent';
    if (kind < 2 || kind > 9) return look.backColor;
    const direction = kind <= 5 ? 'to right' : 'to bottom';
    const variant = (kind - 2) % 4;
    const other = variant === 0 || variant === 2 ? '#000000' : '#ffffff';
    const [from, to] = variant < 2 ? [other, look.backColor] : [look.backColor, other];
    return gradient(direction, from, to, look.gradientDir === 1);
}

// Applet background: 1 colour, 6..9 the vertical gradients of the items.
function appletBackground(applet) {
    if (applet.backKind === 1) return applet.backColor;
    return itemBackground(
        {backKind: applet.backKind, backColor: applet.backColor, gradientDir: applet.gradientDir});
}

const FONT_FAMILIES = [
    '"Times New Roman", Times, serif', 'Helvetica, Arial, sans-serif',
    '"Courier New", Courier, monospace'
];

function textShadow(effect) {
    switch (effect) {
        case 1:  // outline
            return '-1px -1px 0 #000, 1px -1px 0 #000, -1px 1px 0 #000, 1px 1px 0 #000';
        case 2:  // sunken
            return '-1px -1px 0 rgba(0,0,0,0.75), 1px 1px 0 rgba(255,255,255,0.75)';
        case 3:  // bulge
            return '-1px -1px 0 rgba(255,255,255,0.75), 1px 1px 0 rgba(0,0,0,0.75)';
        case 4:  // shadow
            return '2px 2px 1px rgba(0,0,0,0.6)';
        default:
            return 'none';
    }
}

// 0 plain, 1 raised, 2 sunken.
function borderColors(kind, colour) {
    const light = 'rgba(255,255,255,0.85)';
    const dark = 'rgba(0,0,0,0.6)';
    if (kind === 1) return [light, dark];
    if (kind === 2) return [dark, light];
    return [colour, colour];
}

function resolveAgainst(ref, base) {
    try {
        return new URL(ref, base).href;
    } catch (e) {
        return '';
    }
}

// File references are relative to the codebase, which names a folder. A local preview may
// name a Windows folder (D:\site\), which is a file address.
function fileBase(codebase, documentBase) {
    let cb = text(codebase).trim().replace(/\\/g, '/');
    if (cb === '') return documentBase;
    if (/^[A-Za-z]:\//.test(cb)) cb = 'file:///' + cb;
    return resolveAgainst(cb.endsWith('/') ? cb : cb + '/', documentBase) || documentBase;
}

function resolveFile(ref, base) {
    const r = text(ref).trim().replace(/\\/g, '/');
    return r === '' ? '' : resolveAgainst(r, base);
}

// Script and data addresses never run from a menu.
function safeLink(link, documentBase) {
    if (text(link).trim() === '') return '';
    const href = resolveAgainst(text(link).trim(), documentBase);
    if (!href) return '';
    const scheme = href.slice(0, href.indexOf(':') + 1).toLowerCase();
    return scheme === 'javascript:' || scheme === 'data:' || scheme === 'vbscript:' ? '' : href;
}

function withoutFragment(href) {
    const i = href.indexOf('#');
    return i < 0 ? href : href.slice(0, i);
}

// The first item whose link is the current page (fragments ignored), in menu order.
function findCurrentItem(model, pageHref, documentBase) {
    const page = withoutFragment(text(pageHref));
    if (!page) return null;
    const visit = (menu) => {
        for (const item of menu.items) {
            const href = safeLink(item.link, documentBase);
            if (href && withoutFragment(href) === page) return item;
            if (item.sub) {
                const hit = visit(item.sub);
                if (hit) return hit;
            }
        }
        return null;
    };
    for (const top of model.tops) {
        const hit = visit(top);
        if (hit) return hit;
    }
    return null;
}

function branchOf(item) {
    const owners = [];
    for (let menu = item ? item.menu : null; menu && menu.owner; menu = menu.owner.menu)
        owners.push(menu.owner);
    return owners;
}

// ---- drawing ----------------------------------------------------------------------------

const CSS = `
.furlin{position:relative;display:inline-block;box-sizing:border-box;overflow:auto;vertical-align:baseline;text-align:left}
.furlin *{box-sizing:border-box}
.furlin-menu{list-style:none;margin:0;padding:0;position:relative;width:max-content}
.furlin-entry{margin:0;padding:0;position:relative}
.furlin-item{position:relative;display:block;overflow:hidden;margin:0;padding:0;border-style:solid;cursor:pointer;text-decoration:none;font:inherit;line-height:1.1;appearance:none;-webkit-appearance:none}
.furlin-item:focus{outline:none}
.furlin-item:focus-visible{outline:2px solid #1a73e8;outline-offset:-2px;box-shadow:inset 0 0 0 4px #fff}
.furlin-label{position:absolute;top:50%;left:0;right:0;transform:translateY(-50%);white-space:pre;overflow:hidden;pointer-events:none}
.furlin-image{position:absolute;top:50%;transform:translateY(-50%);pointer-events:none;max-height:100%}
.furlin-sub{overflow:hidden;position:relative}
.furlin-sub[hidden]{display:none}
.furlin-line{position:absolute;pointer-events:none}
.furlin-loading{position:absolute;inset:0;display:flex;flex-direction:column;align-items:center;justify-content:center;gap:6px;font:12px sans-serif;z-index:1}
.furlin-progress{width:70%;height:8px;border:1px solid currentColor}
.furlin-progress>div{height:100%;width:0;background:currentColor}
`;

function ensureStyle(doc) {
    if (doc.getElementById(STYLE_ID)) return;
    const style = doc.createElement('style');
    style.id = STYLE_ID;
    style.textContent = CSS;
    (doc.head || doc.documentElement).appendChild(style);
}

function readApplet(element) {
    const params = new Map();
    for (const p of element.querySelectorAll('param')) {
        const name = p.getAttribute('name');
        // Applet parameter names are case-insensitive; the first occurrence wins.
        if (name !== null && !params.has(name.toLowerCase()))
            params.set(name.toLowerCase(), p.getAttribute('value') ?? '');
    }
    return {
        lookup: (name) => params.get(name.toLowerCase()),
        width: toInt(element.getAttribute('width'), 200, 0),
        height: toInt(element.getAttribute('height'), 400, 0),
        codebase: element.getAttribute('codebase') || '',
    };
}

function playAudio(url) {
    if (!url || typeof Audio !== 'function') return;
    try {
        const clip = new Audio(url);
        const played = clip.play();
        if (played && typeof played.catch === 'function') played.catch(() => {});
    } catch (e) {
        // Sound is a nicety; a browser that refuses it loses nothing else.
    }
}

class Menu {
    constructor(element, win) {
        this.win = win;
        this.doc = element.ownerDocument;
        const info = readApplet(element);
        this.model = buildModel(info.lookup);
        this.base = fileBase(info.codebase, this.doc.baseURI);
        this.reducedMotion =
            !!(win.matchMedia && win.matchMedia('(prefers-reduced-motion: reduce)').matches);
        this.views = new Map();  // item -> {control, sub, open, hover, pressed}
        this.selected = null;
        this.current = null;
        this.pending = [];
        this.root = this.doc.createElement('nav');
        this.root.className = 'furlin';
        this.root.setAttribute('aria-label', 'Menu');
        this.root.style.width = info.width + 'px';
        this.root.style.height = info.height + 'px';
        this.drawBackground();
        for (const menu of this.model.tops) {
            try {
                const list = this.drawMenu(menu);
                list.style.marginTop = menu.style.topOffset + 'px';
                list.style.marginLeft = menu.style.indent + 'px';
                this.root.appendChild(list);
            } catch (e) {
                // Draw the other menus even when one cannot be drawn.
            }
        }
        this.root.addEventListener('keydown', (event) => this.onKey(event));
        this.showCurrentPage();
        if (this.model.applet.displayAllBranches) {
            for (const [item, view] of this.views)
                if (item.sub) this.setOpen(item, view, true, false);
        }
        this.startLoading();
        element.replaceWith(this.root);
        playAudio(resolveFile(this.model.applet.audio, this.base));
    }

    drawBackground() {
        const a = this.model.applet;
        const s = this.root.style;
        const layers = [];
        const image = resolveFile(a.backImage, this.base);
        if (image) {
            layers.push(`url("${
                image.replace(/["\\\n]/g, (c) => '\\' + c.charCodeAt(0).toString(16) + ' ')}")`);
            this.pending.push(image);
        }
        const back = appletBackground(a);
        if (back.startsWith('linear-gradient'))
            layers.push(back);
        else
            s.backgroundColor = back;
        if (layers.length) s.backgroundImage = layers.join(', ');
        if (image) {
            s.backgroundRepeat = a.imageTile ? 'repeat, no-repeat' : 'no-repeat, no-repeat';
            s.backgroundPosition = a.imageTile ? '0 0, 0 0' : `${a.imageX}px ${a.imageY}px, 0 0`;
        }
        if (a.backBorder !== 0) {
            const [tl, br] = borderColors(a.backBorder, a.backColor);
            s.borderStyle = 'solid';
            s.borderWidth = '2px';
            s.borderColor = `${tl} ${br} ${br} ${tl}`;
        }
    }

    drawMenu(menu) {
        const st = menu.style;
        const list = this.doc.createElement('ul');
        list.className = 'furlin-menu';
        if (st.filled) list.style.backgroundColor = st.backColor;
        if (st.bordered) list.style.border = `1px solid ${menu.looks.normal.fontColor}`;
        for (const item of menu.items) {
            const entry = this.doc.createElement('li');
            entry.className = 'furlin-entry';
            const control = this.drawItem(item);
            entry.appendChild(control);
            if (menu.owner && this.model.applet.hasLines)
                this.drawLines(entry, menu, menu.items.indexOf(item));
            const view = {control, sub: null, open: false, hover: false, pressed: false};
            this.views.set(item, view);
            if (item.sub) {
                const sub = this.doc.createElement('div');
                sub.className = 'furlin-sub';
                sub.hidden = true;
                sub.style.height = '0px';
                sub.id = `furlin-${uid()}`;
                const child = this.drawMenu(item.sub);
                child.style.marginLeft = item.sub.style.indent + 'px';
                child.style.marginTop = item.sub.style.topOffset + 'px';
                sub.appendChild(child);
                control.setAttribute('aria-controls', sub.id);
                entry.appendChild(sub);
                view.sub = sub;
            }
            this.applyLook(item);
            list.appendChild(entry);
        }
        return list;
    }

    // Tree lines live inside each entry, so they follow the entries when a sub-menu below
    // opens: a trunk through every entry but the last, which it meets at its middle, and a
    // branch to each item.
    drawLines(entry, menu, k) {
        const a = this.model.applet;
        const st = menu.style;
        const thick = a.lineThick;
        if (thick <= 0) return;
        const x = a.lineIndent - st.indent;
        const mid = Math.floor(st.itemHeight / 2);
        const last = k === menu.items.length - 1;
        const line = (left, top, width, height) => {
            const el = this.doc.createElement('span');
            el.className = 'furlin-line';
            el.setAttribute('aria-hidden', 'true');
            Object.assign(el.style, {
                left: left + 'px',
                top: top + 'px',
                width: width + 'px',
                backgroundColor: a.lineColor
            });
            if (height === null)
                el.style.bottom = '0';
            else
                el.style.height = height + 'px';
            entry.appendChild(el);
        };
        const top = k === 0 ? -st.topOffset : 0;
        line(x, top, thick, last ? mid - top + Math.ceil(thick / 2) : null);
        const reach = -x - thick;
        if (reach > 0) line(x + thick, mid - Math.floor(thick / 2), reach, thick);
    }

    drawItem(item) {
        const href = safeLink(item.link, this.doc.baseURI);
        let control;
        if (item.sub) {
            control = this.doc.createElement('button');
            control.type = 'button';
            control.setAttribute('aria-expanded', 'false');
        } else if (href) {
            control = this.doc.createElement('a');
            control.href = href;
            control.target = item.target;
            if (item.target === '_blank') control.rel = 'noopener';
        } else {
            control = this.doc.createElement('button');
            control.type = 'button';
        }
        control.className = 'furlin-item';
        if (item.description) control.title = item.description;
        const st = item.menu.style;
        control.style.width = st.itemWidth + 'px';
        control.style.height = st.itemHeight + 'px';
        control.style.marginBottom = st.itemGap + 'px';
        control.style.borderWidth = st.itemBorder + 'px';
        const images = {
            normal: resolveFile(item.normalImage, this.base),
            over: resolveFile(item.overImage, this.base),
            click: resolveFile(item.clickImage, this.base),
        };
        for (const url of Object.values(images))
            if (url) this.pending.push(url);
        if (images.normal || images.over || images.click) {
            const image = this.doc.createElement('img');
            image.className = 'furlin-image';
            image.alt = '';
            control.appendChild(image);
        }
        const label = this.doc.createElement('span');
        label.className = 'furlin-label';
        label.textContent = item.label;
        control.appendChild(label);
        item.images = images;
        item.href = href;

        control.addEventListener('mouseenter', () => {
            this.view(item).hover = true;
            this.applyLook(item);
            playAudio(resolveFile(item.overAudio, this.base));
        });
        control.addEventListener('mouseleave', () => {
            const v = this.view(item);
            v.hover = false;
            v.pressed = false;
            this.applyLook(item);
        });
        control.addEventListener('pointerdown', () => {
            this.view(item).pressed = true;
            this.applyLook(item);
        });
        control.addEventListener('pointerup', () => {
            this.view(item).pressed = false;
            this.applyLook(item);
        });
        control.addEventListener('click', (event) => this.activate(item, event));
        return control;
    }

    view(item) { return this.views.get(item); }

    applyLook(item) {
        const v = this.view(item);
        if (!v) return;
        const looks = item.menu.looks;
        const chosen = this.selected === item &&
            (this.model.applet.showSelectionAlways || item === this.current);
        const state = v.pressed || chosen ? 'click' : v.hover ? 'over' : 'normal';
        const look = looks[state];
        const s = v.control.style;
        s.background = itemBackground(look);
        s.color = look.fontColor;
        const [tl, br] = borderColors(look.border, look.fontColor);
        s.borderColor = `${tl} ${br} ${br} ${tl}`;
        s.fontFamily = FONT_FAMILIES[look.fontName];
        s.fontSize = look.fontSize + 'px';
        s.fontWeight = look.fontStyle === 1 ? 'bold' : 'normal';
        s.fontStyle = look.fontStyle === 2 ? 'italic' : 'normal';
        s.textShadow = textShadow(look.effect);
        const label = v.control.querySelector('.furlin-label');
        label.style.textAlign = ['left', 'center', 'right'][look.textAlign];
        label.style.paddingLeft = look.textAlign === 0 ? look.textOffset + 'px' : '0';
        label.style.paddingRight = look.textAlign === 2 ? look.textOffset + 'px' : '0';
        label.style.marginLeft = look.textAlign === 1 ? look.textOffset + 'px' : '0';
        const image = v.control.querySelector('.furlin-image');
        if (image) {
            const url = item.images[state] || item.images.normal;
            if (url && image.getAttribute('src') !== url) image.src = url;
            image.hidden = !url;
            image.style.left = image.style.right = '';
            image.style.transform = 'translateY(-50%)';
            if (look.imageAlign === 0)
                image.style.left = look.imageOffset + 'px';
            else if (look.imageAlign === 2)
                image.style.right = look.imageOffset + 'px';
            else {
                image.style.left = `calc(50% + ${look.imageOffset}px)`;
                image.style.transform = 'translate(-50%, -50%)';
            }
        }
        v.control.dataset.state = state;
    }

    activate(item, event) {
        const previous = this.selected;
        this.selected = item;
        if (previous && previous !== item) this.applyLook(previous);
        this.applyLook(item);
        playAudio(resolveFile(item.clickAudio, this.base));
        const v = this.view(item);
        if (item.sub) {
            this.setOpen(item, v, !v.open, true);
            // An item with both a sub-menu and a link follows the link as well.
            if (item.href) this.follow(item);
        }
        if (event && event.detail === 0 && !this.model.applet.showSelectionAlways) {
            // A keyboard press shows the clicked look briefly.
            v.pressed = true;
            this.applyLook(item);
            this.win.setTimeout(() => {
                v.pressed = false;
                this.applyLook(item);
            }, 150);
        }
    }

    follow(item) {
        try {
            if (item.target === '_self')
                this.win.location.assign(item.href);
            else
                this.win.open(item.href, item.target);
        } catch (e) {
            // A blocked window changes nothing on the menu.
        }
    }

    setOpen(item, view, open, animate) {
        if (!view.sub || view.open === open) return;
        view.open = open;
        view.control.setAttribute('aria-expanded', String(open));
        const sub = view.sub;
        const speed = open ? this.model.applet.openSpeed : this.model.applet.closeSpeed;
        const duration = animate ? slideDuration(speed, this.reducedMotion) : 0;
        if (view.timer) this.win.clearTimeout(view.timer);
        sub.style.transition = 'none';
        if (open) {
            sub.hidden = false;
            sub.inert = false;
            if (duration === 0) {
                sub.style.height = 'auto';
                return;
            }
            const full = sub.scrollHeight;
            sub.style.height = '0px';
            void sub.offsetHeight;  // start the transition from zero
            sub.style.transition = `height ${duration}ms ease-out`;
            sub.style.height = full + 'px';
            view.timer = this.win.setTimeout(() => {
                sub.style.transition = 'none';
                sub.style.height = 'auto';
            }, duration);
        } else {
            sub.inert = true;
            const finish = () => {
                sub.hidden = true;
                sub.style.transition = 'none';
            };
            if (duration === 0) {
                sub.style.height = '0px';
                finish();
                return;
            }
            sub.style.height = sub.scrollHeight + 'px';
            void sub.offsetHeight;
            sub.style.transition = `height ${duration}ms ease-in`;
            sub.style.height = '0px';
            view.timer = this.win.setTimeout(finish, duration);
        }
    }

    showCurrentPage() {
        const item = findCurrentItem(this.model, this.win.location.href, this.doc.baseURI);
        if (!item) return;
        this.current = item;
        this.selected = item;
        for (const owner of branchOf(item)) this.setOpen(owner, this.view(owner), true, false);
        const v = this.view(item);
        if (v) {
            v.control.setAttribute('aria-current', 'page');
            this.applyLook(item);
        }
    }

    // Items that can take focus now, in display order.
    reachable() {
        return [...this.root.querySelectorAll('.furlin-item')].filter(
            (c) => !c.closest('.furlin-sub[hidden], [inert]'));
    }

    itemOf(control) {
        for (const [item, v] of this.views)
            if (v.control === control) return item;
        return null;
    }

    onKey(event) {
        const control = event.target.closest ? event.target.closest('.furlin-item') : null;
        if (!control) return;
        const item = this.itemOf(control);
        if (!item) return;
        const v = this.view(item);
        const list = this.reachable();
        const at = list.indexOf(control);
        const focus = (el) => {
            if (el) el.focus();
        };
        switch (event.key) {
            case 'ArrowDown':
                focus(list[at + 1]);
                break;
            case 'ArrowUp':
                focus(list[at - 1]);
                break;
            case 'Home':
                focus(list[0]);
                break;
            case 'End':
                focus(list[list.length - 1]);
                break;
            case 'ArrowRight':
                if (!item.sub) return;
                if (!v.open)
                    this.setOpen(item, v, true, true);
                else
                    focus(this.view(item.sub.items[0]).control);
                break;
            case 'ArrowLeft':
            case 'Escape': {
                if (item.sub && v.open) {
                    this.setOpen(item, v, false, true);
                } else if (item.menu.owner) {
                    const owner = item.menu.owner;
                    this.setOpen(owner, this.view(owner), false, true);
                    focus(this.view(owner).control);
                } else {
                    return;
                }
                break;
            }
            case ' ':
            case 'Spacebar':
                // Buttons act on Space by themselves; links do not.
                if (control.tagName !== 'A') return;
                control.click();
                break;
            default:
                return;
        }
        event.preventDefault();
    }

    startLoading() {
        const urls = [...new Set(this.pending)];
        if (urls.length === 0 || typeof this.win.Image !== 'function') return;
        const a = this.model.applet;
        const box = this.doc.createElement('div');
        box.className = 'furlin-loading';
        box.setAttribute('role', 'status');
        box.style.background = a.backColor;
        box.style.color = contrast(a.backColor);
        const message = this.doc.createElement('div');
        message.textContent = a.loadingMessage;
        box.appendChild(message);
        let bar = null;
        if (a.progressBar) {
            const frame = this.doc.createElement('div');
            frame.className = 'furlin-progress';
            frame.setAttribute('role', 'progressbar');
            frame.setAttribute('aria-valuemin', '0');
            frame.setAttribute('aria-valuemax', String(urls.length));
            bar = this.doc.createElement('div');
            frame.appendChild(bar);
            box.appendChild(frame);
        }
        this.root.appendChild(box);
        let done = 0;
        // An image that neither loads nor fails must not hide the menu for good.
        const giveUp = this.win.setTimeout(() => box.remove(), LOADING_TIMEOUT_MS);
        const step = () => {
            done++;
            if (bar) {
                bar.style.width = Math.round((100 * done) / urls.length) + '%';
                bar.parentNode.setAttribute('aria-valuenow', String(done));
            }
            if (done >= urls.length) {
                this.win.clearTimeout(giveUp);
                box.remove();
            }
        };
        for (const url of urls) {
            const img = new this.win.Image();
            img.onload = img.onerror = step;
            img.src = url;
        }
    }
}

function contrast(hex) {
    const n = parseInt(hex.slice(1), 16);
    const luma = 0.299 * (n >> 16) + 0.587 * ((n >> 8) & 255) + 0.114 * (n & 255);
    return luma > 140 ? '#000000' : '#ffffff';
}

let counter = 0;
function uid() {
    counter++;
    return `${Date.now().toString(36)}-${Math.random().toString(36).slice(2, 8)}-${counter}`;
}

function mountAll(doc, win) {
    if (!doc || !doc.querySelectorAll) return 0;
    let mounted = 0;
    for (const element of doc.querySelectorAll('applet[code="furlin.class"]')) {
        if (element.hasAttribute(TAKEN)) continue;
        element.setAttribute(TAKEN, '');
        try {
            ensureStyle(doc);
            new Menu(element, win);
            mounted++;
        } catch (e) {
            // A widget that cannot be drawn leaves the rest of the page alone.
        }
    }
    return mounted;
}

const api = {
    unescapeField,
    splitFields,
    toInt,
    hexColor,
    parseApStyle,
    parseMStyle,
    parseIStyle,
    parseItem,
    parseMisc,
    buildModel,
    slideDuration,
    itemBackground,
    appletBackground,
    textShadow,
    fileBase,
    resolveFile,
    safeLink,
    findCurrentItem,
    branchOf,
    mountAll,
};

if (typeof module === 'object' && module && module.exports) {
    module.exports = api;
} else if (global && global.document) {
    const doc = global.document;
    try {
        mountAll(doc, global);
    } catch (e) {
        // never throw out of the page's script
    }
    if (doc.readyState === 'loading') {
        doc.addEventListener('DOMContentLoaded', () => {
            try {
                mountAll(doc, global);
            } catch (e) {
                // as above
            }
        });
    }
}
})(typeof window !== 'undefined' ? window : globalThis);
