/*
 * Foldline runtime: draws the navigation-menu widget in today's browsers.
 *
 * It reads two inputs and draws both the same way:
 * - nav.furlin: nested lists of links that work without scripts, with everything the look needs
 *   carried as JSON in data-furlin attributes (README.md beside this file describes them);
 * - applet[code="furlin.class"] fragments of earlier pages, whose <param> lines are first turned
 *   into that markup.
 * Styles go through constructed style sheets and the CSS object model only, so a page works under
 * a Content-Security-Policy without 'unsafe-inline'. A sub-menu is set up when it first opens and
 * each widget has one set of event listeners, so large menus cost little until they are used.
 * No dependencies, no build step. A page may hold several copies of this script: every element is
 * taken exactly once.
 */
(function(global) {
'use strict';

const COMMA_ESCAPE = '~@^`';
const BREAK_ESCAPE = '|_#`';
const MAX_MENUS = 10000;
const MAX_ITEMS_PER_MENU = 10000;
const MAX_NUMBER = 100000;  // keeps damaged sizes from producing absurd CSS
const TAKEN = 'data-furlin-taken';
const LOADING_TIMEOUT_MS = 15000;
const STATES = ['normal', 'over', 'click'];
const FILE_FIELDS = [
    ['normalImage', 'NormalImage'], ['overImage', 'OverImage'], ['clickImage', 'ClickImage'],
    ['overAudio', 'OverAudio'], ['clickAudio', 'ClickAudio']
];

// ---- value grammar ----------------------------------------------------------------------

function text(value) { return value === undefined || value === null ? '' : String(value); }

function unescapeField(value) {
    const s = text(value);
    if (!s.includes('`')) return s;  // both escapes end in a grave accent
    return s.split(COMMA_ESCAPE).join(',').split(BREAK_ESCAPE).join('\n');
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
    if (typeof value === 'number') {
        return Number.isFinite(value) ? Math.min(max, Math.max(min, Math.trunc(value))) : fallback;
    }
    const m = /^\s*([+-]?\d+)/.exec(text(value));
    if (!m) return fallback;
    const n = Number(m[1]);
    if (!Number.isFinite(n)) return fallback;
    return Math.min(max, Math.max(min, n));
}

function inRange(n, min, max, fallback) { return n >= min && n <= max ? n : fallback; }

// "rrggbb" as the applet encoding writes it, or "#rrggbb" as the markup does; anything else
// gives the fallback, so no other text ever reaches a style sheet.
function hexColor(value, fallback) {
    const s = text(value).trim().replace(/^#/, '');
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

// Readers shared by the applet parameters (texts) and the markup's data (JSON values).
const read = {
    int: (fallback, min, max) => (v) => toInt(v, fallback, min, max),
    choice: (fallback, max) => (v) => inRange(toInt(v, fallback), 0, max, fallback),
    flag: (fallback) => (v) => toInt(v, fallback) !== 0,
    colour: (fallback) => (v) => hexColor(v, fallback),
    text: (v) => (typeof v === 'string' || typeof v === 'number' ? String(v) : ''),
};

// Each record's plain fields once: internal key, name in the markup's data, position in the
// applet parameter, reader. Fields the applet encoding runs together are read beside them.
const APPLET_FIELDS = [
    ['backColor', 'BackColor', 0, read.colour('#000000')],
    ['backImage', 'BackImage', 2, read.text],
    ['imageTile', 'ImageTile', 3, read.flag(0)],
    ['imageX', 'ImageX', 4, read.int(0)],
    ['imageY', 'ImageY', 5, read.int(0)],
    ['audio', 'Audio', 6, read.text],
    ['showSelectionAlways', 'ShowSelectionAlways', 7, read.flag(1)],
    ['openSpeed', 'OpenSpeed', 8, read.int(5, 0, 50)],
    ['closeSpeed', 'CloseSpeed', 9, read.int(5, 0, 50)],
    ['displayAllBranches', 'DisplayAllBranches', 10, read.flag(0)],
    ['hasLines', 'HasLines', 11, read.flag(1)],
    ['lineIndent', 'LineIndent', 13, read.int(0)],
    ['lineThick', 'LineThick', 14, read.int(5, 0, 1000)],
    ['lineColor', 'LineColor', 15, read.colour('#050000')],
    ['progressBar', 'ProgressBar', 16, read.flag(1)],
    ['loadingMessage', 'LoadingMessage', 17, read.text],
];
const MENU_FIELDS = [
    ['backColor', 'BackColor', 0, read.colour('#000000')],
    ['indent', 'Indent', 4, read.int(40)],
    ['topOffset', 'TopOffset', 5, read.int(0)],
    ['itemWidth', 'ItemWidth', 6, read.int(80, 0)],
    ['itemHeight', 'ItemHeight', 7, read.int(20, 0)],
    ['itemGap', 'ItemGap', 8, read.int(5, 0)],
    ['itemBorder', 'ItemBorder', 9, read.int(0, 0, 1000)],
];
const LOOK_FIELDS = [
    ['backColor', 'BackColor', 0, read.colour('#000000')],
    ['fontColor', 'FontColor', 1, read.colour('#ffffff')],
    ['effect', 'Effect', 3, read.choice(0, 4)],
    ['fontName', 'FontName', 4, read.choice(0, 2)],
    ['fontSize', 'FontSize', 5, read.int(14, 1, 1000)],
    ['fontStyle', 'FontStyle', 6, read.choice(0, 2)],
    ['imageOffset', 'ImageOffset', 8, read.int(0)],
    ['textOffset', 'TextOffset', 9, read.int(0)],
];

function readFields(table, raw) {
    const record = {};
    for (const [key, name, index, reader] of table) record[key] = reader(raw(name, index));
    return record;
}

function parseApStyle(value) {
    const f = splitFields(value, 18);
    const run = splitRun(f[12]);
    const code = run ? run.middle : 1;
    return {
        ...readFields(APPLET_FIELDS, (name, i) => f[i]),
        gradientDir: run ? inRange(run.first, 0, 1, 1) : 1,
        // 1 is a plain fill; 6..9 are the vertical gradients.
        backKind: code === 1 || (code >= 6 && code <= 9) ? code : 1,
        backBorder: run ? inRange(run.last, 0, 2, 0) : 0,
    };
}

function parseMStyle(value) {
    const f = splitFields(value, 10);
    const style = text(f[1]).trim();
    return {
        ...readFields(MENU_FIELDS, (name, i) => f[i]),
        filled: style[0] === '1',
        bordered: style[1] === '2',
    };
}

function parseLook(f) {
    const run = splitRun(f[2]);
    const align = splitPair(f[7]);
    return {
        ...readFields(LOOK_FIELDS, (name, i) => f[i]),
        gradientDir: run ? inRange(run.first, 0, 1, 1) : 1,
        backKind: run ? inRange(run.middle, 0, 9, 1) : 1,
        border: run ? inRange(run.last - 1, 0, 2, 0) : 0,
        imageAlign: align ? inRange(align.first, 0, 2, 0) : 0,
        textAlign: align ? inRange(align.second, 0, 2, 0) : 0,
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
// global item j to its sub-menu m. A count beyond the entries present is cut to them.
function parseMisc(value) {
    const tokens = text(value).split(',').map((t) => t.trim());
    if (tokens.length > 0 && tokens[tokens.length - 1] === '') tokens.pop();
    const count = Math.min(toInt(tokens[0], 0, 0, MAX_MENUS), Math.max(0, tokens.length - 1));
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

// The item parameters present, by menu: only these are read, so a damaged count costs nothing.
function presentItems(params, counts) {
    const byMenu = new Map();
    for (const name of params.keys()) {
        const m = /^i(0|[1-9]\d*)-(0|[1-9]\d*)$/.exec(name);
        if (!m) continue;
        const menu = Number(m[1]);
        const k = Number(m[2]);
        if (menu >= counts.length || k >= counts[menu]) continue;
        if (!byMenu.has(menu)) byMenu.set(menu, []);
        byMenu.get(menu).push(k);
    }
    for (const list of byMenu.values()) list.sort((a, b) => a - b);
    return byMenu;
}

// Builds the menu tree from the applet parameters (a Map of lower-case names to values).
// Damaged links are dropped: a menu gets at most one owner and only a later-numbered menu can
// be a sub-menu, so no cycle can be formed. Menus without items are never drawn.
function buildModel(params) {
    const get = (name) => {
        const v = params.get(name.toLowerCase());
        return v === undefined || v === null ? undefined : String(v);
    };
    const applet = parseApStyle(get('ApStyle'));
    const misc = parseMisc(get('Misc'));
    const present = presentItems(params, misc.counts);
    const menus = [];
    const byIndex = new Map();
    let first = 0;  // global index of the menu's first item, missing items counted
    for (let i = 0; i < misc.count; i++) {
        const menu = {number: i, style: null, looks: null, items: [], owner: null, top: false};
        for (const k of present.get(i) || []) {
            const item = {...parseItem(get(`I${i}-${k}`)), menu, sub: null, index: first + k};
            byIndex.set(item.index, item);
            menu.items.push(item);
        }
        if (menu.items.length > 0) {
            menu.style = parseMStyle(get(`MStyle-${i}`));
            menu.looks = parseIStyle(get(`IStyle-${i}`));
        }
        first += misc.counts[i];
        menus.push(menu);
    }
    for (const link of misc.links) {
        const item = byIndex.get(link.item);
        const sub = menus[link.menu];
        if (!item || !sub || item.sub || sub.owner || sub.number <= item.menu.number) continue;
        if (sub.items.length === 0) continue;
        item.sub = sub;
        sub.owner = item;
    }
    let tops = [];
    for (const n of misc.tops) {
        const menu = menus[n];
        if (menu && !menu.owner && !menu.top && menu.items.length > 0) {
            menu.top = true;
            tops.push(menu);
        }
    }
    if (tops.length === 0) {
        tops = menus.filter((m) => !m.owner && m.items.length > 0);
        for (const m of tops) m.top = true;
    }
    return {applet, menus, tops, items: [...byIndex.values()]};
}

// ---- the markup's data ------------------------------------------------------------------

function readJson(element) {
    const raw = element.getAttribute('data-furlin');
    if (!raw) return {};
    try {
        const value = JSON.parse(raw);
        return value && typeof value === 'object' && !Array.isArray(value) ? value : {};
    } catch (e) {
        return {};
    }
}

function readAppletData(o) {
    const kind = read.choice(1, 4)(o.BackKind);
    return {
        ...readFields(APPLET_FIELDS, (name) => o[name]),
        width: toInt(o.Width, 200, 0),
        height: toInt(o.Height, 400, 0),
        gradientDir: read.choice(1, 1)(o.GradientDir),
        // The model's 0..4 become the codes the drawing uses: 1 plain, 6..9 vertical gradients.
        backKind: kind === 0 ? 1 : kind + 5,
        backBorder: read.choice(0, 2)(o.BackBorder),
    };
}

function readLookData(o) {
    const look = o && typeof o === 'object' ? o : {};
    return {
        ...readFields(LOOK_FIELDS, (name) => look[name]),
        gradientDir: read.choice(1, 1)(look.GradientDir),
        backKind: read.choice(1, 9)(look.BackKind),
        border: read.choice(0, 2)(look.Border),
        imageAlign: read.choice(0, 2)(look.ImageAlign),
        textAlign: read.choice(0, 2)(look.TextAlign),
    };
}

function readMenuData(o) {
    const backStyle = read.choice(0, 3)(o.BackStyle);
    return {
        style: {
            ...readFields(MENU_FIELDS, (name) => o[name]),
            filled: backStyle >= 2,
            bordered: backStyle % 2 === 1,
        },
        looks: {
            normal: readLookData(o.Normal),
            over: readLookData(o.Over),
            click: readLookData(o.Click)
        },
    };
}

// An item's state files as addresses; empty ones are left out.
function readFiles(o, base) {
    const files = {};
    for (const [key, name] of FILE_FIELDS) {
        const url = typeof o[name] === 'string' ? resolveFile(o[name], base) : '';
        if (url) files[key] = url;
    }
    return files;
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

function lookDeclarations(look) {
    const [tl, br] = borderColors(look.border, look.fontColor);
    const offset = Math.max(0, look.textOffset);
    // A linked parent's toggle sits at the item's right end; its width is kept free of text.
    return `background:${itemBackground(look)};color:${look.fontColor};` +
        `border-color:${tl} ${br} ${br} ${tl};font-family:${FONT_FAMILIES[look.fontName]};` +
        `font-size:${look.fontSize}px;font-weight:${look.fontStyle === 1 ? 'bold' : 'normal'};` +
        `font-style:${look.fontStyle === 2 ? 'italic' : 'normal'};` +
        `text-shadow:${textShadow(look.effect)};` +
        `text-align:${['left', 'center', 'right'][look.textAlign]};` +
        `padding-left:${look.textAlign === 2 ? 0 : offset}px;` +
        `padding-right:calc(var(--furlin-toggle, 0px) + ${look.textAlign === 2 ? offset : 0}px)`;
}

function imageDeclarations(look) {
    if (look.imageAlign === 1) {
        return `left:calc(50% + ${look.imageOffset}px);right:auto;transform:translate(-50%,-50%)`;
    }
    const side = look.imageAlign === 2 ? 'right' : 'left';
    const other = side === 'left' ? 'right' : 'left';
    return `${side}:${look.imageOffset}px;${other}:auto;transform:translateY(-50%)`;
}

// Tree lines of a sub-menu, drawn by each entry: a trunk through every entry but the last,
// which it meets at the middle of its item, and a branch to each item. They follow the entries
// when a sub-menu below opens. The entry's box takes in the menu's indent, where the lines are.
function lineRules(entry, style, lines) {
    const thick = lines.lineThick;
    if (thick <= 0) return [];
    const x = lines.lineIndent - style.indent;  // from the items' left edge
    const left = x + entryPadding(style);       // from the entry's
    const mid = Math.floor(style.itemHeight / 2);
    const down = mid + Math.ceil(thick / 2);
    const line =
        `content:"";position:absolute;pointer-events:none;background-color:${lines.lineColor}`;
    const rules = [
        `${entry}::before{${line};left:${left}px;top:0;bottom:0;width:${thick}px}`,
        `${entry}:first-child::before{top:${- style.topOffset}px}`,
        `${entry}:last-child::before{bottom:auto;height:${down}px}`,
        `${entry}:first-child:last-child::before{height:${down + style.topOffset}px}`,
    ];
    const reach = -x - thick;
    if (reach > 0) {
        rules.push(
            `${entry}::after{${line};left:${left + thick}px;` +
            `top:${mid - Math.floor(thick / 2)}px;width:${reach}px;height:${thick}px}`);
    }
    return rules;
}

function entryPadding(style) { return Math.max(0, style.indent); }

function toggleWidth(style) {
    return Math.max(
        16,
        Math.min(Math.max(24, Math.min(style.itemHeight, 40)), Math.floor(style.itemWidth / 2)));
}

// The rules of one menu's look, scoped by its class. Lines are given for sub-menus only.
function menuRules(cls, menu, lines) {
    const st = menu.style;
    const list = `.furlin-live .${cls}`;
    const entry = `${list}>.furlin-entry`;
    const item = `${entry}>.furlin-item`;
    const split = `${list}>.furlin-split`;
    const rules = [
        `.furlin-live ul.${cls}{margin:${st.topOffset}px 0 0 ${st.indent}px;` +
            (st.filled ? `background-color:${st.backColor};` : '') +
            (st.bordered ? `border:1px solid ${menu.looks.normal.fontColor}` : '') + '}',
        // An entry off screen is laid out at the size of one item until it is shown.
        `${entry}{margin-left:${- entryPadding(st)}px;padding-left:${entryPadding(st)}px;` +
            `contain-intrinsic-size:auto ${st.itemWidth}px auto ${st.itemHeight + st.itemGap}px}`,
        `${item}{width:${st.itemWidth}px;min-height:${st.itemHeight}px;` +
            `margin:0 0 ${st.itemGap}px;border-width:${st.itemBorder}px}`,
        `${split}{grid-template-columns:${st.itemWidth}px max-content}`,
        `${split}>.furlin-item{--furlin-toggle:${toggleWidth(st)}px}`,
        `${split}>.furlin-toggle{width:${toggleWidth(st)}px;margin-bottom:${st.itemGap}px;` +
            `border-width:${st.itemBorder}px}`,
    ];
    for (const state of STATES) {
        const look = menu.looks[state];
        const control = state === 'normal' ? item : `${item}[data-state=${state}]`;
        rules.push(
            `${control}{${lookDeclarations(look)}}`, `${control}>img{${imageDeclarations(look)}}`,
            `${control}+.furlin-toggle{color:${look.fontColor}}`);
    }
    if (lines) rules.push(...lineRules(entry, st, lines));
    return rules;
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

function fileNameOf(url) {
    const path = text(url).split(/[?#]/)[0];
    const name = path.slice(path.lastIndexOf('/') + 1);
    try {
        return decodeURIComponent(name);
    } catch (e) {
        return name;
    }
}

// Script and data addresses never run from a menu. The scheme is read as browsers read it:
// after leading blanks and controls, with tabs and line breaks taken out.
function droppedScheme(link) {
    const s = text(link).replace(/[\t\n\r]/g, '').replace(/^[\x00-\x20]+/, '');
    return /^(javascript|vbscript|data):/i.test(s);
}

function safeLink(link, documentBase) {
    if (text(link).trim() === '' || droppedScheme(link)) return '';
    return resolveAgainst(text(link).trim(), documentBase);
}

// Every target but the current frame and its ancestors may open a new browsing context.
function opensNewContext(target) {
    const t = text(target).trim().toLowerCase();
    return t !== '' && t !== '_self' && t !== '_parent' && t !== '_top';
}

// The target as a page may hold it: a name that starts with "_" and is no keyword (such as
// "_new"), or that holds "<" beside a tab or line break, is not valid HTML and opens a new
// browsing context anyway.
function htmlTarget(target) {
    const t = text(target);
    const unknownKeyword = t.startsWith('_') && !/^_(blank|self|parent|top)$/i.test(t);
    return unknownKeyword || (/[\t\n\r]/.test(t) && t.includes('<')) ? '_blank' : t;
}

function withoutFragment(href) {
    const i = href.indexOf('#');
    return i < 0 ? href : href.slice(0, i);
}

function samePage(href, page) { return !!href && !!page && withoutFragment(href) === page; }

// Links that may lead to the page: those naming its file, as written or decoded, and those
// within the document. Resolving every link of a large menu would cost more than the search.
function pageLinkSelector(page) {
    const path = text(page).split(/[?#]/)[0];
    const file = path.slice(path.lastIndexOf('/') + 1);
    if (!file) return 'a[href]';
    const quoted = (v) => `"${v.replace(/["\\]/g, '\\$&').replace(/[\n\r\f]/g, ' ')}"`;
    const names = new Set([file, fileNameOf(file)]);
    return [...names]
        .map((name) => `a[href*=${quoted(name)} i]`)
        .concat('a[href=""]', 'a[href^="#"]', 'a[href^="?"]')
        .join(',');
}

// The first item whose link is the current page (fragments ignored), in menu order.
function findCurrentItem(model, pageHref, documentBase) {
    const page = withoutFragment(text(pageHref));
    const stack = [...model.tops].reverse().map((menu) => ({menu, k: 0}));
    while (stack.length > 0) {
        const top = stack[stack.length - 1];
        const item = top.menu.items[top.k++];
        if (!item) {
            stack.pop();
            continue;
        }
        if (samePage(safeLink(item.link, documentBase), page)) return item;
        if (item.sub) stack.push({menu: item.sub, k: 0});
    }
    return null;
}

function branchOf(item) {
    const owners = [];
    for (let menu = item ? item.menu : null; menu && menu.owner; menu = menu.owner.menu)
        owners.push(menu.owner);
    return owners;
}

// "Menu", "Menu 2", ...: the first name no other navigation landmark of the page carries.
function uniqueLabel(name, taken) {
    const base = text(name).trim() || 'Menu';
    let label = base;
    for (let n = 2; taken.has(label); n++) label = `${base} ${n}`;
    return label;
}

function contrast(hex) {
    const n = parseInt(hex.slice(1), 16);
    const luma = 0.299 * (n >> 16) + 0.587 * ((n >> 8) & 255) + 0.114 * (n & 255);
    return luma > 140 ? '#000000' : '#ffffff';
}

function cssUrl(url) {
    return `url("${url.replace(/["\\\n\r]/g, (c) => '\\' + c.charCodeAt(0).toString(16) + ' ')}")`;
}

// ---- style sheets -----------------------------------------------------------------------

// Rules end in the classes the runtime gives entries and controls it has set up, so the browser
// matches them against those alone, not against every entry of a long list or every element of
// the page.
const ITEM = '.furlin-live .furlin-item';

const BASE_RULES = [
    // The block stands where the paragraph of the applet fragment stood.
    '.furlin-block{margin:1em 0}',
    '.furlin-block[data-align=center]{text-align:center}',
    '.furlin-block[data-align=left]{text-align:left}',
    '.furlin-block[data-align=right]{text-align:right}',
    '.furlin.furlin-live{position:relative;display:inline-block;box-sizing:border-box;' +
        'max-width:100%;margin:0;padding:0;overflow:auto;vertical-align:baseline;text-align:left}',
    '.furlin-menu,.furlin-entry,.furlin-item,.furlin-toggle,.furlin-loading,.furlin-progress{' +
        'box-sizing:border-box}',
    '.furlin-live ul{list-style:none;margin:0;padding:0;position:relative;width:max-content}',
    '.furlin-live ul ul:not(.furlin-menu){display:none}',
    // furlin.css defers nested lists for the page without the runtime; drawn, they must not
    // clip the tree lines left of them.
    '.furlin.furlin-live ul ul{content-visibility:visible}',
    // Entries off screen are laid out at the size of one item (see the menu rules); those not
    // set up yet are not shown.
    '.furlin-live .furlin-entry{margin:0;padding:0;position:relative;content-visibility:auto}',
    '.furlin-live .furlin-menu>li:not(.furlin-entry){display:none}',
    '.furlin-live li.furlin-split{display:grid}',
    '.furlin-split>.furlin-item,.furlin-split>.furlin-toggle{grid-area:1/1}',
    '.furlin-split>.furlin-sub{grid-column:1/-1}',
    `${ITEM}{position:relative;display:block;overflow:hidden;padding-top:0;padding-bottom:0;` +
        'border-style:solid;text-decoration:none;line-height:1.1;white-space:pre-wrap;' +
        'overflow-wrap:anywhere;align-content:center;appearance:none;-webkit-appearance:none}',
    `${ITEM}:is(a,button),.furlin-toggle{cursor:pointer}`,
    `${ITEM}:focus,.furlin-toggle:focus{outline:none}`,
    `${ITEM}:focus-visible,.furlin-toggle:focus-visible{outline:2px solid #1a73e8;` +
        'outline-offset:-2px;box-shadow:inset 0 0 0 4px #fff}',
    `${ITEM}>img{position:absolute;top:50%;pointer-events:none;max-height:100%;max-width:100%}`,
    '.furlin-toggle{justify-self:end;align-self:stretch;position:relative;margin:0;padding:0;' +
        'border:0 solid transparent;background:transparent;font:inherit;appearance:none;' +
        '-webkit-appearance:none}',
    '.furlin-toggle::before{content:"";position:absolute;left:50%;top:50%;width:6px;height:6px;' +
        'margin:-4px 0 0 -4px;border:solid currentColor;border-width:0 2px 2px 0;' +
        'transform:rotate(-45deg)}',
    '.furlin-toggle[aria-expanded=true]::before{transform:rotate(45deg)}',
    '.furlin-live .furlin-sub[hidden]{display:none}',
    '.furlin-loading{position:absolute;inset:0;display:flex;flex-direction:column;' +
        'align-items:center;justify-content:center;gap:6px;font:12px sans-serif;z-index:1}',
    '.furlin-progress{width:70%;height:8px;border:1px solid currentColor}',
    '.furlin-progress>div{height:100%;width:0;background:currentColor}',
    // Forced colours drop author backgrounds: keep lines, the selection and focus visible.
    '@media (forced-colors: active){' +
        '.furlin-entry::before,.furlin-entry::after{forced-color-adjust:none;' +
        'background-color:CanvasText !important}' +
        `${ITEM}[data-state=click]{forced-color-adjust:none;background:Highlight !important;` +
        'color:HighlightText !important;border-color:HighlightText !important}' +
        `${ITEM}:focus-visible,.furlin-toggle:focus-visible{outline:3px solid CanvasText}}`,
];

const documentStyles = new WeakMap();  // document -> {classes: Map of rules key -> class name}

function addRules(doc, rules) {
    const win = doc.defaultView;
    if (win && typeof win.CSSStyleSheet === 'function' && 'adoptedStyleSheets' in doc) {
        try {
            const sheet = new win.CSSStyleSheet();
            sheet.replaceSync(rules.join('\n'));
            doc.adoptedStyleSheets = [...doc.adoptedStyleSheets, sheet];
            return;
        } catch (e) {
            // fall through to a style element filled through the object model
        }
    }
    const style = doc.createElement('style');
    (doc.head || doc.documentElement).appendChild(style);
    if (!style.sheet) return;
    for (const rule of rules) {
        try {
            style.sheet.insertRule(rule, style.sheet.cssRules.length);
        } catch (e) {
            // a rule this browser does not know leaves the others in force
        }
    }
}

function stylesOf(doc) {
    let styles = documentStyles.get(doc);
    if (!styles) {
        styles = {classes: new Map()};
        documentStyles.set(doc, styles);
        addRules(doc, BASE_RULES);
    }
    return styles;
}

// Menus that look alike share one class and one set of rules.
function menuClass(doc, menu, lines) {
    const styles = stylesOf(doc);
    const key = JSON.stringify([menu.style, menu.looks, lines]);
    let cls = styles.classes.get(key);
    if (!cls) {
        cls = `furlin-m${styles.classes.size}`;
        styles.classes.set(key, cls);
        addRules(doc, menuRules(cls, menu, lines));
    }
    return cls;
}

// ---- the applet fragment of earlier pages -----------------------------------------------

function readApplet(element) {
    const params = new Map();
    for (const p of element.getElementsByTagName('param')) {
        // Applet parameter names are case-insensitive; the first occurrence wins.
        const name = text(p.getAttribute('name')).toLowerCase();
        if (name && !params.has(name)) params.set(name, p.getAttribute('value') ?? '');
    }
    return {
        params,
        width: toInt(element.getAttribute('width'), 200, 0),
        height: toInt(element.getAttribute('height'), 400, 0),
        codebase: element.getAttribute('codebase') || '',
    };
}

// Records of the markup built here; markup from the page carries them as JSON instead.
const records = new WeakMap();

function appendLabel(doc, parent, label) {
    label.split('\n').forEach((line, i) => {
        if (i > 0) parent.appendChild(doc.createElement('br'));
        if (line) parent.appendChild(doc.createTextNode(line));
    });
}

function itemElement(doc, item, base) {
    // Links are relative to the page, as the browser takes them.
    const href = droppedScheme(item.link) ? '' : item.link;
    const control = doc.createElement(href ? 'a' : 'span');
    if (href) {
        control.setAttribute('href', href);
        control.target = htmlTarget(item.target);
        if (opensNewContext(item.target)) control.rel = 'noopener';
    }
    if (item.description) control.title = item.description;
    const image = resolveFile(item.normalImage, base);
    if (image) {
        const img = doc.createElement('img');
        img.src = image;
        img.alt = item.label.trim() ? '' : item.description || fileNameOf(image);
        control.appendChild(img);
    }
    appendLabel(doc, control, item.label);
    return control;
}

function itemFiles(item, base) {
    const files = {};
    for (const [key, name] of FILE_FIELDS) {
        const url = resolveFile(item[key], base);
        if (url) files[name] = url;
    }
    return files;
}

// The lists of the markup for a model, built without recursion: sub-menus may nest deeply.
function modelLists(doc, model, base) {
    const lists = [];
    const queue = model.tops.map((menu) => ({menu, into: null}));
    for (let q = 0; q < queue.length; q++) {
        const {menu, into} = queue[q];
        const ul = doc.createElement('ul');
        records.set(ul, {style: menu.style, looks: menu.looks});
        for (const item of menu.items) {
            const li = doc.createElement('li');
            const files = itemFiles(item, base);
            if (Object.keys(files).length > 0)
                li.setAttribute('data-furlin', JSON.stringify(files));
            li.appendChild(itemElement(doc, item, base));
            if (item.sub) queue.push({menu: item.sub, into: li});
            ul.appendChild(li);
        }
        (into ? into.appendChild(ul) : lists.push(ul));
    }
    return lists;
}

// The paragraph of the old fragment becomes the block that carries the alignment, since a
// list may not stand inside a paragraph; a paragraph with other content is left as it is.
function placeNav(applet, nav) {
    const p = applet.parentElement;
    const alone = p && p.tagName === 'P' &&
        [...p.childNodes].every((n) => n === applet || (n.nodeType === 3 && !n.data.trim()));
    if (!alone) {
        applet.replaceWith(nav);
        return;
    }
    const block = applet.ownerDocument.createElement('div');
    block.className = 'furlin-block';
    const align = text(p.getAttribute('align')).toLowerCase();
    block.setAttribute('data-align', ['left', 'right'].includes(align) ? align : 'center');
    block.appendChild(nav);
    p.replaceWith(block);
}

function upgradeApplet(applet, win) {
    const doc = applet.ownerDocument;
    const info = readApplet(applet);
    const model = buildModel(info.params);
    const base = fileBase(info.codebase, doc.baseURI);
    const nav = doc.createElement('nav');
    nav.className = 'furlin';
    nav.setAttribute('aria-label', 'Menu');
    nav.setAttribute(TAKEN, '');
    records.set(nav, {
        ...model.applet,
        width: info.width,
        height: info.height,
        backImage: resolveFile(model.applet.backImage, base),
        audio: resolveFile(model.applet.audio, base),
    });
    for (const list of modelLists(doc, model, base)) nav.appendChild(list);
    // Drawn before it enters the page, so the page never lays out every closed branch.
    const widget = new Widget(nav, win, {});
    placeNav(applet, nav);
    return widget;
}

// ---- drawing ----------------------------------------------------------------------------

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

let counter = 0;
function uid() {
    counter++;
    return `furlin-${Date.now().toString(36)}-${Math.random().toString(36).slice(2, 8)}-${counter}`;
}

function childOf(element, test) {
    for (const child of element.children)
        if (test(child)) return child;
    return null;
}

const isList = (el) => el.tagName === 'UL';
const isSub = (el) => el.classList.contains('furlin-sub');
const isToggle = (el) => el.classList.contains('furlin-toggle');

function controlOf(li) { return childOf(li, (el) => el.classList.contains('furlin-item')); }

// The element that opens and closes the item's sub-menu.
function disclosureOf(li) {
    const toggle = childOf(li, isToggle);
    if (toggle) return toggle;
    const control = controlOf(li);
    return control && control.hasAttribute('aria-controls') ? control : null;
}

function isOpen(li) {
    const d = disclosureOf(li);
    return !!d && d.getAttribute('aria-expanded') === 'true';
}

// The item whose sub-menu holds li; it need not be set up yet.
function ownerOf(li) {
    for (let el = li.parentElement; el && el.tagName !== 'NAV'; el = el.parentElement)
        if (el.tagName === 'LI') return el;
    return null;
}

// The items from the widget's top down to li.
function pathTo(li) {
    const path = [];
    for (let at = li; at; at = ownerOf(at)) path.unshift(at);
    return path;
}

// Copies an element's attributes and children into a new element of another kind.
function retag(element, tag) {
    const other = element.ownerDocument.createElement(tag);
    for (const a of element.attributes)
        if (a.name !== 'href' && a.name !== 'target' && a.name !== 'rel')
            other.setAttribute(a.name, a.value);
    while (element.firstChild) other.appendChild(element.firstChild);
    element.replaceWith(other);
    return other;
}

const timers = new WeakMap();
const pending = new WeakMap();  // list -> {left: entries not set up, next: where the rest goes on}
const scheduled = new WeakSet();  // lists whose next entries are due in a later task
const CHUNK_ITEMS = 50;
const widgets = new WeakMap();       // nav -> Widget
const firstSources = new WeakMap();  // img -> the address the markup gave it

class Widget {
    constructor(nav, win, options) {
        this.nav = nav;
        this.win = win;
        this.doc = nav.ownerDocument;
        this.applet = records.get(nav) || readAppletData(readJson(nav));
        this.preview = nav.hasAttribute('data-furlin-preview');
        this.motion = win.matchMedia ? win.matchMedia('(prefers-reduced-motion: reduce)') : null;
        this.selected = null;
        this.current = null;
        this.pinned = null;
        this.hovered = null;
        this.pressed = null;
        this.flashing = new Set();  // controls showing a keyboard press
        widgets.set(nav, this);
        stylesOf(this.doc);
        nav.classList.add('furlin-live');
        this.drawFrame();
        this.nameLandmark();
        for (const list of this.lists()) this.enhanceMenu(list);
        this.listen();
        if (!options.quiet) {
            this.showCurrentPage();
            this.startLoading();
            this.play(this.applet.audio);
        }
    }

    lists() { return [...this.nav.children].filter(isList); }

    play(url) {
        if (!this.preview) playAudio(url);
    }

    drawFrame() {
        const a = this.applet;
        const s = this.nav.style;
        s.width = a.width + 'px';
        s.height = a.height + 'px';
        const layers = [];
        const image = resolveFile(a.backImage, this.doc.baseURI);
        if (image) layers.push(cssUrl(image));
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

    nameLandmark() {
        const taken = new Set();
        for (const other of this.doc.querySelectorAll(
                 'nav[aria-label], [role=navigation][aria-label]')) {
            const waiting = other.classList.contains('furlin') && !widgets.has(other);
            if (other !== this.nav && !waiting) taken.add(other.getAttribute('aria-label').trim());
        }
        this.nav.setAttribute(
            'aria-label', uniqueLabel(this.nav.getAttribute('aria-label'), taken));
    }

    // The look of a list, read once.
    menuOf(list) {
        let menu = records.get(list);
        if (!menu) {
            menu = readMenuData(readJson(list));
            records.set(list, menu);
        }
        return menu;
    }

    // Sets up a list when it is first shown: its look, and a screenful of its items at once.
    enhanceMenu(list) {
        if (list.classList.contains('furlin-menu')) return;
        const menu = this.menuOf(list);
        const a = this.applet;
        const sub = list.parentElement !== this.nav;
        const lines = sub && a.hasLines ?
            {lineIndent: a.lineIndent, lineThick: a.lineThick, lineColor: a.lineColor} :
            null;
        list.classList.add('furlin-menu', menuClass(this.doc, menu, lines));
        const items = list.children;
        let left = 0;
        for (const li of items) left += li.tagName === 'LI' ? 1 : 0;
        if (left === 0) return;
        pending.set(list, {left, next: items.length - 1});
        const screenful =
            Math.ceil(a.height / Math.max(1, menu.style.itemHeight + menu.style.itemGap));
        for (let k = 0; k < Math.min(items.length, screenful + 10); k++) this.setUp(list, items[k]);
        this.setUpRest(list);
    }

    // An entry is shown once it is set up.
    setUp(list, li) {
        const state = pending.get(list);
        if (!state || li.tagName !== 'LI' || li.classList.contains('furlin-entry')) return;
        this.enhanceItem(li);
        if (--state.left === 0) pending.delete(list);
        if (this.applet.displayAllBranches) this.setOpen(li, true, false);
    }

    // Sets up the rest of a long list in later tasks, from its end upwards: each entry shown
    // above entries not shown yet would cost the browser a walk over all of them.
    setUpRest(list) {
        const state = pending.get(list);
        if (!state || scheduled.has(list)) return;
        scheduled.add(list);
        // After the next frame, so that a click shows its first entries at once.
        const later = (fn) =>
            (this.win.requestAnimationFrame ?
                 this.win.requestAnimationFrame(() => this.win.setTimeout(fn, 0)) :
                 this.win.setTimeout(fn, 0));
        later(() => {
            scheduled.delete(list);
            const items = list.children;
            for (let n = 0; n < CHUNK_ITEMS && pending.has(list) && state.next >= 0; state.next--) {
                const li = items[state.next];
                if (li && li.tagName === 'LI' && !li.classList.contains('furlin-entry')) {
                    this.setUp(list, li);
                    n++;
                }
            }
            if (state.next < 0) pending.delete(list);
            this.setUpRest(list);
        });
    }

    // Sets up the item now; its list must be set up.
    ensureItem(li) { this.setUp(li.parentElement, li); }

    // The height of the items of a list not set up yet, as they will stand at first.
    pendingHeight(list) {
        const state = pending.get(list);
        if (!state) return 0;
        const st = this.menuOf(list).style;
        return state.left * (st.itemHeight + st.itemGap);
    }

    enhanceItem(li) {
        let control = li.firstElementChild;
        if (!control || isList(control)) {
            control = this.doc.createElement('span');
            li.insertBefore(control, li.firstChild);
        }
        if (control.tagName === 'A' &&
            (!control.hasAttribute('href') || droppedScheme(control.getAttribute('href'))))
            control = retag(control, 'span');  // a dropped link is plain text
        const list = childOf(li, isList);
        const sub = list && list.firstElementChild ? list : null;
        if (sub && control.tagName !== 'A') {
            control = retag(control, 'button');
            control.type = 'button';
        }
        control.classList.add('furlin-item');
        control.setAttribute('data-state', 'normal');
        if (control.tagName === 'A' && opensNewContext(control.target) &&
            !/\bnoopener\b/i.test(control.rel))
            control.rel = `${control.rel} noopener`.trim();
        this.nameItem(li, control);
        if (sub) this.prepareSub(li, control, sub);
        li.classList.add('furlin-entry');
    }

    // An item without text is named: an image-only one by its description or, without one, its
    // image's file name; a control without an image by its description, else a link by its
    // address and a button by what it opens.
    nameItem(li, control) {
        let image = childOf(control, (el) => el.tagName === 'IMG');
        const files = this.files(li);
        if (!image && (files.overImage || files.clickImage)) {
            image = this.doc.createElement('img');
            image.alt = '';
            image.hidden = true;
            control.insertBefore(image, control.firstChild);
        }
        if (control.textContent.trim() !== '') return;
        if (image) {
            if (text(image.getAttribute('alt')).trim()) return;
            const src = image.getAttribute('src') ? image.src : files.overImage || files.clickImage;
            image.alt = control.title || fileNameOf(src);
        } else if (control.tagName !== 'SPAN' && !control.hasAttribute('aria-label')) {
            const name = control.title ||
                (control.tagName === 'A' ? text(control.getAttribute('href')).trim() : 'Sub-menu');
            if (name) control.setAttribute('aria-label', name);
        }
    }

    // The list itself slides: moving it into a wrapper would cost a layout of its whole branch.
    prepareSub(li, control, sub) {
        sub.classList.add('furlin-sub');
        sub.hidden = true;
        sub.id = uid();
        let disclosure = control;
        if (control.tagName === 'A') {
            // A linked parent keeps its link and gets a separate toggle, named like the link.
            if (!control.id) control.id = uid();
            disclosure = this.doc.createElement('button');
            disclosure.type = 'button';
            disclosure.className = 'furlin-toggle';
            disclosure.setAttribute('aria-labelledby', control.id);
            li.insertBefore(disclosure, control.nextSibling);
            li.classList.add('furlin-split');
        }
        disclosure.setAttribute('aria-expanded', 'false');
        disclosure.setAttribute('aria-controls', sub.id);
    }

    files(li) {
        let files = records.get(li);
        if (!files) {
            files = readFiles(readJson(li), this.doc.baseURI);
            records.set(li, files);
        }
        return files;
    }

    listen() {
        const on = (type, handler) => this.nav.addEventListener(type, (event) => {
            try {
                handler.call(this, event);
            } catch (e) {
                // A fault in one handler must not break the page's other scripts.
            }
        });
        on('click', this.onClick);
        on('keydown', this.onKey);
        on('pointerover', this.onPointerOver);
        on('pointerout', this.onPointerOut);
        on('pointerdown', (event) => this.press(this.hitOf(event.target)));
        on('pointerup', () => this.press(null));
        on('pointercancel', () => this.press(null));
    }

    hitOf(node) {
        const el = node && node.closest ? node.closest('.furlin-item, .furlin-toggle') : null;
        if (!el || !this.nav.contains(el)) return null;
        const toggle = isToggle(el) ? el : null;
        const li = el.parentElement;
        return {li, control: controlOf(li), toggle};
    }

    onPointerOver(event) {
        const hit = this.hitOf(event.target);
        if (!hit || hit.control === this.hovered) return;
        const before = this.hovered;
        this.hovered = hit.control;
        if (before) this.applyState(before.parentElement);
        this.applyState(hit.li);
        this.play(this.files(hit.li).overAudio);
    }

    onPointerOut(event) {
        const hit = this.hitOf(event.target);
        if (!hit || hit.control !== this.hovered) return;
        const into = this.hitOf(event.relatedTarget);
        if (into && into.control === hit.control) return;
        this.hovered = null;
        if (this.pressed === hit.control) this.pressed = null;
        this.applyState(hit.li);
    }

    press(hit) {
        const before = this.pressed;
        this.pressed = hit ? hit.control : null;
        if (before && before !== this.pressed) this.applyState(before.parentElement);
        if (hit) this.applyState(hit.li);
    }

    applyState(li) {
        const control = controlOf(li);
        if (!control) return;
        const chosen = this.selected === li &&
            (this.applet.showSelectionAlways || li === this.current || li === this.pinned);
        let state = 'normal';
        if (this.pressed === control || chosen || this.flashing.has(control))
            state = 'click';
        else if (this.hovered === control)
            state = 'over';
        control.setAttribute('data-state', state);
        const img = childOf(control, (el) => el.tagName === 'IMG');
        if (!img) return;
        const files = this.files(li);
        if (!firstSources.has(img)) firstSources.set(img, img.getAttribute('src') ? img.src : '');
        const url = files[state + 'Image'] || files.normalImage || firstSources.get(img);
        if (url && img.src !== url) img.src = url;
        img.hidden = !url;
    }

    select(li) {
        const before = this.selected;
        this.selected = li;
        if (before && before !== li) this.applyState(before);
        this.applyState(li);
    }

    onClick(event) {
        const hit = this.hitOf(event.target);
        if (!hit || !hit.control) return;
        const {li, control} = hit;
        if (this.preview && control.tagName === 'A') event.preventDefault();
        this.select(li);
        this.play(this.files(li).clickAudio);
        if (hit.toggle || control.tagName === 'BUTTON') this.setOpen(li, !isOpen(li), true);
        if (event.detail === 0 && !this.applet.showSelectionAlways) {
            // A keyboard press shows the clicked look briefly.
            this.flashing.add(control);
            this.applyState(li);
            this.win.setTimeout(() => {
                this.flashing.delete(control);
                this.applyState(li);
            }, 150);
        }
        if (this.preview) {
            const node = li.getAttribute('data-furlin-node');
            li.dispatchEvent(
                new this.win.CustomEvent('furlin-pick', {bubbles: true, detail: {node}}));
        }
    }

    setOpen(li, open, animate) {
        this.ensureItem(li);
        const disclosure = disclosureOf(li);
        const sub = childOf(li, isSub);
        if (!disclosure || !sub || isOpen(li) === open) return;
        if (open) this.enhanceMenu(sub);
        disclosure.setAttribute('aria-expanded', String(open));
        const a = this.applet;
        const reduced = !!(this.motion && this.motion.matches);
        const duration = animate ? slideDuration(open ? a.openSpeed : a.closeSpeed, reduced) : 0;
        this.slide(sub, open, duration, this.pendingHeight(sub));
    }

    // Slides a sub-menu open or shut. While it slides it clips only above and below, so the
    // tree lines left of it stay in view.
    slide(sub, open, duration, pending) {
        const s = sub.style;
        this.win.clearTimeout(timers.get(sub));
        s.transition = 'none';
        sub.inert = !open;
        const done = () => {
            s.transition = 'none';
            s.overflowY = '';
            s.height = open ? 'auto' : '0px';
            sub.hidden = !open;
        };
        if (duration === 0) {
            done();
            return;
        }
        sub.hidden = false;
        s.height = 'auto';
        const full = sub.offsetHeight + pending;
        s.overflowY = 'clip';
        s.height = (open ? 0 : full) + 'px';
        void sub.offsetHeight;  // start the transition from there
        s.transition = `height ${duration}ms ${open ? 'ease-out' : 'ease-in'}`;
        s.height = (open ? full : 0) + 'px';
        timers.set(sub, this.win.setTimeout(done, duration));
    }

    // Opens every branch above li (and li's own, when asked), without animation.
    openPath(li, withOwn) {
        for (const at of pathTo(li)) {
            if (at !== li || withOwn)
                this.setOpen(at, true, false);
            else
                this.ensureItem(at);
        }
    }

    // The current page's item is selected and its branch opened, its own sub-menu included.
    showCurrentPage() {
        const page = withoutFragment(text(this.win.location && this.win.location.href));
        for (const a of this.nav.querySelectorAll(pageLinkSelector(page))) {
            if (!samePage(a.href, page)) continue;
            const li = a.parentElement;
            this.openPath(li, true);
            const control = controlOf(li);
            if (!control) return;
            this.current = li;
            control.setAttribute('aria-current', 'page');
            this.select(li);
            return;
        }
    }

    // Items that can take focus now, in display order.
    reachable() {
        return [
            ...this.nav.querySelectorAll('.furlin-menu>li>a.furlin-item, .furlin-menu>li>button')
        ].filter((c) => !c.closest('.furlin-sub[hidden], [inert]'));
    }

    onKey(event) {
        const hit = this.hitOf(event.target);
        if (!hit || !hit.control) return;
        const {li} = hit;
        const here = hit.toggle || hit.control;
        const list = this.reachable();
        const at = list.indexOf(here);
        const focus = (el) => el && el.focus();
        const sub = childOf(li, isSub);
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
                if (!sub) return;
                if (!isOpen(li))
                    this.setOpen(li, true, true);
                else
                    focus(list.find((el) => sub.contains(el)));
                break;
            case 'ArrowLeft':
            case 'Escape': {
                const owner = ownerOf(li);
                if (sub && isOpen(li)) {
                    this.setOpen(li, false, true);
                } else if (owner) {
                    this.setOpen(owner, false, true);
                    focus(disclosureOf(owner));
                } else {
                    return;
                }
                break;
            }
            case ' ':
            case 'Spacebar':
                // Buttons act on Space by themselves; links do not.
                if (here.tagName !== 'A') return;
                here.click();
                break;
            default:
                return;
        }
        event.preventDefault();
    }

    pendingImages() {
        const urls = new Set();
        const back = resolveFile(this.applet.backImage, this.doc.baseURI);
        if (back) urls.add(back);
        for (const el of this.nav.querySelectorAll('img[src], li[data-furlin]')) {
            if (el.tagName === 'IMG') {
                urls.add(el.src);
                continue;
            }
            const files = this.files(el);
            for (const key of ['normalImage', 'overImage', 'clickImage'])
                if (files[key]) urls.add(files[key]);
        }
        return [...urls];
    }

    // While the images load, a message and a progress bar cover the menu, which cannot be used.
    startLoading() {
        const urls = this.pendingImages();
        if (urls.length === 0 || typeof this.win.Image !== 'function') return;
        const a = this.applet;
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
            frame.setAttribute('aria-label', a.loadingMessage || 'Loading');
            frame.setAttribute('aria-valuemin', '0');
            frame.setAttribute('aria-valuemax', String(urls.length));
            bar = this.doc.createElement('div');
            frame.appendChild(bar);
            box.appendChild(frame);
        }
        const lists = this.lists();
        for (const list of lists) list.inert = true;
        this.nav.appendChild(box);
        let done = 0;
        const finish = () => {
            box.remove();
            for (const list of lists) list.inert = false;
        };
        // An image that neither loads nor fails must not hide the menu for good.
        const giveUp = this.win.setTimeout(finish, LOADING_TIMEOUT_MS);
        const step = () => {
            done++;
            if (bar) {
                bar.style.width = Math.round((100 * done) / urls.length) + '%';
                bar.parentNode.setAttribute('aria-valuenow', String(done));
            }
            if (done >= urls.length) {
                this.win.clearTimeout(giveUp);
                finish();
            }
        };
        for (const url of urls) {
            const img = new this.win.Image();
            img.onload = img.onerror = step;
            img.src = url;
        }
    }

    // What render() keeps across a redraw, by node identifier.
    snapshot() {
        const node = (li) => (li ? li.getAttribute('data-furlin-node') : null);
        const open = [...this.nav.querySelectorAll('[aria-expanded=true]')].map(
            (d) => node(d.parentElement));
        return {open: open.filter(Boolean), selected: node(this.selected)};
    }

    findNode(id) {
        for (const li of this.nav.querySelectorAll('li[data-furlin-node]'))
            if (li.getAttribute('data-furlin-node') === id) return li;
        return null;
    }

    restore(state) {
        for (const id of state.open) {
            const li = this.findNode(id);
            if (li) this.openPath(li, true);
        }
        const selected = state.selected && this.findNode(state.selected);
        if (selected) this.select(selected);
    }

    reveal(id, own) {
        const li = this.findNode(text(id));
        if (!li) return false;
        this.openPath(li, !!own);
        this.pinned = li;
        this.select(li);
        const control = controlOf(li);
        if (control && control.scrollIntoView) control.scrollIntoView({block: 'nearest'});
        return true;
    }
}

// ---- entry points -----------------------------------------------------------------------

function windowOf(root) {
    const doc = root.ownerDocument || root;
    return doc.defaultView || global;
}

function mountIn(root, options) {
    const mounted = [];
    if (!root || !root.querySelectorAll) return mounted;
    const win = windowOf(root);
    for (const element of root.querySelectorAll('nav.furlin, applet[code="furlin.class"]')) {
        if (element.hasAttribute(TAKEN)) continue;
        element.setAttribute(TAKEN, '');
        try {
            mounted.push(
                element.tagName === 'NAV' ? new Widget(element, win, options) :
                                            upgradeApplet(element, win));
        } catch (e) {
            // A widget that cannot be drawn stays the plain list it was and leaves the rest of
            // the page alone.
            element.classList.remove('furlin-live');
        }
    }
    return mounted;
}

function mountAll(root) { return mountIn(root, {}).length; }

// Replaces the widget inside container by new markup, keeping open what was open.
function render(container, html) {
    const before = [...container.querySelectorAll('nav.furlin')].map(
        (nav) => (widgets.has(nav) ? widgets.get(nav).snapshot() : null));
    container.innerHTML = html;
    const mounted = mountIn(container, {quiet: true});
    mounted.forEach((widget, i) => {
        if (before[i]) widget.restore(before[i]);
    });
    return mounted.length;
}

// For the editor's preview: opens the branch of the item with this node identifier (with own,
// its sub-menu as well), marks the item and scrolls it into view.
function reveal(nav, node, own) {
    const element =
        nav && nav.closest ? nav.closest('nav.furlin') || nav.querySelector('nav.furlin') : null;
    const widget = element ? widgets.get(element) : null;
    return widget ? widget.reveal(node, own) : false;
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
    readAppletData,
    readMenuData,
    readFiles,
    slideDuration,
    itemBackground,
    appletBackground,
    textShadow,
    menuRules,
    BASE_RULES,
    fileBase,
    resolveFile,
    fileNameOf,
    safeLink,
    opensNewContext,
    htmlTarget,
    findCurrentItem,
    pageLinkSelector,
    branchOf,
    uniqueLabel,
    mountAll,
};

if (typeof module === 'object' && module && module.exports) {
    module.exports = api;
} else if (global && global.document) {
    const doc = global.document;
    // A second copy of the script leaves the work to the first.
    const furlin = global.Furlin && typeof global.Furlin.mountAll === 'function' ?
        global.Furlin :
        (global.Furlin = Object.freeze({mountAll, render, reveal}));
    const run = () => {
        try {
            furlin.mountAll(doc);
        } catch (e) {
            // never throw out of the page's script
        }
    };
    run();
    if (doc.readyState === 'loading') doc.addEventListener('DOMContentLoaded', run);
}
})(typeof window !== 'undefined' ? window : globalThis);
