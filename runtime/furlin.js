//# allFunctionsCalledOnLoad
/*
 * Foldline runtime: draws the navigation-menu widget in today's browsers.
 *
 * It reads two inputs and draws both the same way:
 * - nav.furlin: nested lists of links that work without scripts, with everything the look needs
 *   carried as JSON in data-furlin attributes (README.md beside this file describes them);
 * - applet[code="furlin.class"] fragments of earlier pages, whose <param> lines are first turned
 *   into that markup.
 * The menu is fluid: it shrinks with a narrow container, grows with its open branches, folds
 * behind a "Menu" button below the author's width and mirrors in a right-to-left page.
 * Styles go through constructed style sheets and the CSS object model only, so a page works under
 * a Content-Security-Policy without 'unsafe-inline'. A sub-menu is set up when it first opens and
 * each widget has one set of event listeners, so large menus cost little until they are used.
 * No dependencies, no build step. A page may hold several copies of this script: every element is
 * taken exactly once. The first line asks browsers that read it to compile the whole script while
 * it downloads, off the page's main thread, since drawing the widget calls most of it at once.
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
const STATES = ['Normal', 'Over', 'Click'];
// The smallest target a pointer may have to hit (WCAG 2.5.8), and a finger's in the compact
// layout.
const MIN_TARGET = 24;
const MIN_TOUCH_TARGET = 44;
// The texts the runtime adds.
const TEXTS = {
    menu: 'Menu',
    showSubMenu: 'Show sub-menu of',
    subMenu: 'Sub-menu',
    loading: 'Loading'
};

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

// "rrggbb" as the applet encoding writes it, or "#rrggbb" as the markup does; anything else
// gives the fallback, so no other text ever reaches a style sheet.
function hexColor(value, fallback) {
    const s = text(value).trim().replace(/^#/, '');
    return /^[0-9a-fA-F]{6}$/.test(s) ? '#' + s.toLowerCase() : fallback;
}

// ---- the fields ---------------------------------------------------------------------------

// The fields the runtime reads, as the model's record tables (model/Records.h) describe them:
// the model's name and kind, its default, its place in the applet's parameter ([position, part
// among numbers run together]) and the applet's form of it. tests/runtime checks every row
// against the model's tables. `range` keeps a damaged number inside what the drawing takes; a
// value outside a choice's range gives the default.
function field(name, kind, fallback, applet = null, form = 'Plain', range = null, read = 'clamp') {
    return {name, kind, fallback, applet, form, range, read};
}
// A choice out of its range is its default; a flag is on for any number but 0.
const choice = (name, fallback, applet, max, form) =>
    field(name, 'Number', fallback, applet, form, [0, max], 'choice');
const flag = (name, fallback, applet) =>
    field(name, 'Number', fallback, applet, 'Plain', [0, 1], 'flag');

const APPLET_FIELDS = [
    field('Width', 'Number', 200, null, 'Plain', [0, MAX_NUMBER]),
    field('Height', 'Number', 400, null, 'Plain', [0, MAX_NUMBER]),
    field('BackColor', 'Colour', '#000000', [0, 0]),
    field('BackImage', 'File', '', [2, 0]),
    flag('ImageTile', 0, [3, 0]),
    field('ImageX', 'Number', 0, [4, 0]),
    field('ImageY', 'Number', 0, [5, 0]),
    field('Audio', 'File', '', [6, 0]),
    flag('ShowSelectionAlways', 1, [7, 0]),
    field('OpenSpeed', 'Number', 5, [8, 0], 'Plain', [0, 50]),
    field('CloseSpeed', 'Number', 5, [9, 0], 'Plain', [0, 50]),
    flag('DisplayAllBranches', 0, [10, 0]),
    flag('HasLines', 1, [11, 0]),
    choice('BackBorder', 0, [12, 2], 2),
    choice('BackKind', 1, [12, 1], 4, 'BackgroundCode'),
    choice('GradientDir', 1, [12, 0], 1),
    field('LineIndent', 'Number', 0, [13, 0]),
    field('LineThick', 'Number', 5, [14, 0], 'Plain', [0, 1000]),
    field('LineColor', 'Colour', '#050000', [15, 0]),
    field('MenuTop', 'Number', 0),
    flag('ProgressBar', 1, [16, 0]),
    field('LoadingMessage', 'Text', 'Loading Image...', [17, 0], 'Commas'),
    flag('FixedBox', 0, null),
    field('CompactBelow', 'Number', 640, null, 'Plain', [0, MAX_NUMBER]),
    choice('Direction', 0, null, 2),
];
const MENU_FIELDS = [
    field('BackColor', 'Colour', '#000000', [0, 0]),
    choice('BackStyle', 0, [1, 0], 3, 'BackStyleCode'),
    field('Indent', 'Number', 40, [4, 0], 'Plain', [0, MAX_NUMBER]),
    field('TopOffset', 'Number', 15, [5, 0]),
    field('ItemWidth', 'Number', 80, [6, 0], 'Plain', [0, MAX_NUMBER]),
    field('ItemHeight', 'Number', 20, [7, 0], 'Plain', [0, MAX_NUMBER]),
    field('ItemGap', 'Number', 5, [8, 0], 'Plain', [0, MAX_NUMBER]),
    field('ItemBorder', 'Number', 0, [9, 0], 'Plain', [0, 1000]),
    field('Normal', 'Look', null, [0, 0]),
    field('Over', 'Look', null, [1, 0]),
    field('Click', 'Look', null, [2, 0]),
];
const LOOK_FIELDS = [
    field('BackColor', 'Colour', '#000000', [0, 0]),
    field('FontColor', 'Colour', '#ffffff', [1, 0]),
    choice('Border', 0, [2, 2], 2, 'PlusOne'),
    choice('BackKind', 1, [2, 1], 9),
    choice('GradientDir', 1, [2, 0], 1),
    choice('Effect', 0, [3, 0], 4),
    choice('FontName', 0, [4, 0], 2),
    field('FontSize', 'Number', 14, [5, 0], 'Plain', [1, 1000]),
    choice('FontStyle', 0, [6, 0], 2),
    choice('TextAlign', 0, [7, 1], 2),
    field('TextOffset', 'Number', 0, [9, 0]),
    choice('ImageAlign', 0, [7, 0], 2),
    field('ImageOffset', 'Number', 0, [8, 0]),
];
const ITEM_FIELDS = [
    field('Label', 'Text', 'item', [0, 0], 'Label'),
    field('Description', 'Text', '', [1, 0]),
    field('NormalImage', 'File', '', [2, 0]),
    field('OverImage', 'File', '', [3, 0]),
    field('ClickImage', 'File', '', [4, 0]),
    field('OverAudio', 'File', '', [5, 0]),
    field('ClickAudio', 'File', '', [6, 0]),
    field('TargetFrame', 'Text', '', [7, 0], 'SelfWhenEmpty'),
    field('Link', 'Text', '', [8, 0]),
];
const FILE_FIELDS = ITEM_FIELDS.filter((f) => f.kind === 'File').map((f) => f.name);
// Applet values hold a look's ten fields and two empty ones.
const LOOK_GROUP_STRIDE = 12;

// A value read as its field's kind; anything unusable gives the default.
function readValue(f, value) {
    switch (f.kind) {
        case 'Colour':
            return hexColor(value, f.fallback);
        case 'Text':
        case 'File':
            if (value === undefined || value === null) return f.fallback;
            return typeof value === 'string' || typeof value === 'number' ? String(value) : '';
        default: {
            const [min, max] = f.range || [-MAX_NUMBER, MAX_NUMBER];
            if (f.read === 'clamp') return toInt(value, f.fallback, min, max);
            const n = toInt(value, NaN);
            if (Number.isNaN(n)) return f.fallback;
            if (f.read === 'flag') return n === 0 ? 0 : 1;
            return n >= min && n <= max ? n : f.fallback;
        }
    }
}

function readRecord(fields, source) {
    const o = source && typeof source === 'object' && !Array.isArray(source) ? source : {};
    const record = {};
    for (const f of fields)
        record[f.name] =
            f.kind === 'Look' ? readRecord(LOOK_FIELDS, o[f.name]) : readValue(f, o[f.name]);
    return record;
}

// Numbers run together in one applet field, e.g. "160": with three parts the first digit, the
// middle and the last digit; with two parts each digit.
function runParts(value, count) {
    const s = text(value).trim();
    if (count === 2) return /^\d{2}$/.test(s) ? [s[0], s[1]] : null;
    return /^\d{3,}$/.test(s) ? [s[0], s.slice(1, -1), s[s.length - 1]] : null;
}

// An applet value in the model's terms.
function fromApplet(f, raw) {
    if (raw === undefined || f.form === 'Plain') return raw;
    const n = f.form === 'BackgroundCode' || f.form === 'PlusOne' ? toInt(raw, NaN) : NaN;
    switch (f.form) {
        case 'BackStyleCode': {  // "01", "02", "11", "12": filled, then bordered
            const s = text(raw).trim();
            return /^[01][12]$/.test(s) ? (s[0] === '1' ? 2 : 0) + (s[1] === '2' ? 1 : 0) :
                                          undefined;
        }
        case 'BackgroundCode':  // 1 filled, 6..9 the vertical gradients
            return n === 1 ? 0 : n >= 6 && n <= 9 ? n - 5 : undefined;
        case 'PlusOne':
            return Number.isNaN(n) ? undefined : n - 1;
        case 'Label':
            return text(raw).replace(/\r\n?/g, '\n');
        case 'SelfWhenEmpty':
            return text(raw).trim() || '_self';
        default:
            return raw;
    }
}

// A record from an applet value cut into fields; parts run together are read from their field.
// A table's applet value at a glance, worked out once: how many fields it has, and how many
// numbers run together at each position that holds several.
const layouts = new WeakMap();
function appletLayout(fields) {
    let layout = layouts.get(fields);
    if (!layout) {
        const parts = new Map();
        let width = 0;
        for (const f of fields) {
            if (!f.applet) continue;
            width = Math.max(width, f.applet[0] + 1);
            if (f.applet[1] > 0)
                parts.set(f.applet[0], Math.max(parts.get(f.applet[0]) || 0, f.applet[1] + 1));
        }
        layout = {width, parts};
        layouts.set(fields, layout);
    }
    return layout;
}

function readAppletRecord(fields, cut) {
    const {parts} = appletLayout(fields);
    const record = {};
    for (const f of fields) {
        if (f.kind === 'Look' || !f.applet) {
            record[f.name] = f.kind === 'Look' ? readRecord(LOOK_FIELDS) : readValue(f, undefined);
            continue;
        }
        const at = f.applet[0];
        const count = parts.get(at);
        let raw = cut[at];
        if (count) {
            const run = runParts(raw, count);
            raw = run ? run[f.applet[1]] : undefined;
        }
        record[f.name] = readValue(f, fromApplet(f, raw));
    }
    return record;
}

const widthOf = (fields) => appletLayout(fields).width;

function parseApStyle(value) {
    return readAppletRecord(APPLET_FIELDS, splitFields(value, widthOf(APPLET_FIELDS)));
}

// A menu's record with its three looks, each a group of the "IStyle" value.
function parseMenu(mstyle, istyle) {
    const menu = readAppletRecord(MENU_FIELDS, splitFields(mstyle, widthOf(MENU_FIELDS)));
    const groups = MENU_FIELDS.filter((f) => f.kind === 'Look');
    const cut = splitFields(istyle, groups.length * LOOK_GROUP_STRIDE);
    for (const f of groups) {
        const at = f.applet[0] * LOOK_GROUP_STRIDE;
        menu[f.name] = readAppletRecord(LOOK_FIELDS, cut.slice(at, at + LOOK_GROUP_STRIDE));
    }
    return menu;
}

function parseItem(value) {
    const s = text(value);
    const width = widthOf(ITEM_FIELDS);
    const f = splitFields(s, width);
    // The link is the last field and is not escaped: a comma in it (a query string) must
    // not cut the address short.
    const parts = s.split(',');
    if (parts.length > width) {
        const tail = parts.slice(width - 1);
        while (tail.length > 1 && tail[tail.length - 1] === '') tail.pop();
        f[width - 1] = unescapeField(tail.join(','));
    }
    const item = readAppletRecord(ITEM_FIELDS, f);
    item.Link = item.Link.trim();
    return item;
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
        const menu = {number: i, look: null, items: [], owner: null, top: false};
        for (const k of present.get(i) || []) {
            const item = parseItem(get(`I${i}-${k}`));
            item.menu = menu;
            item.sub = null;
            item.index = first + k;
            byIndex.set(item.index, item);
            menu.items.push(item);
        }
        if (menu.items.length > 0) menu.look = parseMenu(get(`MStyle-${i}`), get(`IStyle-${i}`));
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
    if (!raw) return undefined;
    try {
        return JSON.parse(raw);
    } catch (e) {
        return undefined;
    }
}

function readAppletData(o) { return readRecord(APPLET_FIELDS, o); }

function readMenuData(o) { return readRecord(MENU_FIELDS, o); }

// The looks the nav lists once for all its lists.
function readLooks(o) {
    const looks = o && typeof o === 'object' && Array.isArray(o.Looks) ? o.Looks : [];
    return looks.slice(0, MAX_MENUS).map(readMenuData);
}

// An item's state files as addresses; empty ones are left out.
function readFiles(o, base) {
    const files = {};
    const data = o && typeof o === 'object' ? o : {};
    for (const name of FILE_FIELDS) {
        const url = typeof data[name] === 'string' ? resolveFile(data[name], base) : '';
        if (url) files[name] = url;
    }
    return files;
}

// ---- looks ------------------------------------------------------------------------------

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
// (black to colour, white to colour, colour to black, colour to white). A horizontal gradient
// runs from the inline start, so it mirrors with the menu.
function itemBackground(look, rtl = false) {
    const kind = look.BackKind;
    if (kind === 0) return 'transparent';
    if (kind < 2 || kind > 9) return look.BackColor;
    const direction = kind <= 5 ? (rtl ? 'to left' : 'to right') : 'to bottom';
    const variant = (kind - 2) % 4;
    const other = variant === 0 || variant === 2 ? '#000000' : '#ffffff';
    const [from, to] = variant < 2 ? [other, look.BackColor] : [look.BackColor, other];
    return gradient(direction, from, to, look.GradientDir === 1);
}

// Applet background: 0 colour, 1..4 the vertical gradients of the items.
function appletBackground(applet) {
    if (applet.BackKind === 0) return applet.BackColor;
    return itemBackground({
        BackKind: applet.BackKind + 5,
        BackColor: applet.BackColor,
        GradientDir: applet.GradientDir
    });
}

// The applet's fonts; its sans-serif is the system's own interface font.
const FONT_FAMILIES = [
    '"Times New Roman", Times, serif',
    'system-ui, -apple-system, "Segoe UI", Roboto, "Noto Sans", Helvetica, Arial, sans-serif',
    '"Courier New", Courier, monospace',
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

// 0 plain, 1 raised, 2 sunken: the top and left edges, then the bottom and right ones.
function borderColors(kind, colour) {
    const light = 'rgba(255,255,255,0.85)';
    const dark = 'rgba(0,0,0,0.6)';
    if (kind === 1) return [light, dark];
    if (kind === 2) return [dark, light];
    return [colour, colour];
}

// Labels are isolated (each reads its own direction), so their alignment follows the menu's
// direction rather than their text's.
const ALIGN = [['left', 'center', 'right'], ['right', 'center', 'left']];

function lookDeclarations(look, rtl) {
    const [tl, br] = borderColors(look.Border, look.FontColor);
    const [start, end] = rtl ? [br, tl] : [tl, br];
    return `background:${itemBackground(look, rtl)};color:${look.FontColor};` +
        `border-block-color:${tl} ${br};border-inline-color:${start} ${end};` +
        `font-family:${FONT_FAMILIES[look.FontName]};font-size:${look.FontSize}px;` +
        `font-weight:${look.FontStyle === 1 ? 'bold' : 'normal'};` +
        `font-style:${look.FontStyle === 2 ? 'italic' : 'normal'};` +
        `text-shadow:${textShadow(look.Effect)};` +
        `flex-direction:${look.ImageAlign === 1 ? 'column' : 'row'}`;
}

// The label keeps the look's alignment and its offset from the side it is aligned to.
function labelDeclarations(look, rtl) {
    const offset = Math.max(0, look.TextOffset);
    return `text-align:${ALIGN[rtl ? 1 : 0][look.TextAlign]};` +
        `align-self:${look.ImageAlign === 1 ? 'stretch' : 'auto'};` +
        `padding-inline:${look.TextAlign === 0 ? offset : 0}px ${
               look.TextAlign === 2 ? offset : 0}px`;
}

// The image takes its own place beside the label: before it, after it, or above it centred.
function imageDeclarations(look) {
    const offset = Math.max(0, look.ImageOffset);
    if (look.ImageAlign === 1) return `order:0;margin:${offset}px 0 0`;
    return `order:${look.ImageAlign === 2 ? 1 : 0};` +
        `margin-inline:${look.ImageAlign === 0 ? offset : 0}px ${
               look.ImageAlign === 2 ? offset : 0}px`;
}

// Tree lines of a sub-menu: each entry but the last draws the trunk down its whole height
// (through any open branch below it); the last item draws it from its top to its middle and
// every item draws its branch from the trunk to its edge. `indent` is the room before the
// items, where the lines are; `line` is the trunk's place in it, from the owner's items' edge.
function lineRules(cls, look, lines, indent, line) {
    const thick = lines.LineThick;
    const reach = indent - line - thick;  // from the trunk to the items' edge
    if (thick <= 0 || line < 0 || reach < 0) return [];
    const border = look.ItemBorder;
    const entry = `.${cls}>.furlin-entry`;
    const item = `${entry}>.furlin-item`;
    const paint = `content:"";position:absolute;pointer-events:none;` +
        `background-color:${lines.LineColor};inline-size:${thick}px`;
    const half = Math.floor(thick / 2);
    const rules = [
        `${entry}:not(:last-child)::before{${paint};inset-inline-start:${line - indent}px;` +
            'inset-block:0}',
        `${entry}:first-child:not(:last-child)::before{inset-block-start:${- look.TopOffset}px}`,
        // From the item's padding box, the trunk lies `indent - line` before it, behind the border.
        `${entry}:last-child>.furlin-item::after{${paint};` +
            `inset-inline-start:${line - indent - border}px;inset-block:${- border}px 50%}`,
        `${entry}:first-child:last-child>.furlin-item::after{` +
            `inset-block-start:${- look.TopOffset - border}px}`,
    ];
    if (reach > 0) {
        rules.push(
            `${item}::before{content:"";position:absolute;pointer-events:none;` +
            `background-color:${lines.LineColor};inline-size:${reach}px;block-size:${thick}px;` +
            `inset-inline-start:${line + thick - indent - border}px;` +
            `inset-block-start:calc(50% - ${half}px)}`);
    }
    return rules;
}

function toggleWidth(look) {
    return Math.max(MIN_TARGET, Math.min(40, look.ItemHeight, Math.floor(look.ItemWidth / 2)));
}

// The rules of one list's look, scoped by its class. `indent` is the room before its items,
// kept within what the widget's width can spare; lines are given for sub-menus only.
function menuRules(cls, look, lines, indent, rtl) {
    const list = `.${cls}`;
    const item = `${list}>.furlin-entry>.furlin-item`;
    // Above the base rule that takes the page's own list styles away.
    const box = `${LIVE} ul${list}`;
    const split = `${list}>.furlin-split`;
    const toggle = toggleWidth(look);
    const rules = [
        `${box}{margin-block-start:${look.TopOffset}px;margin-inline-start:${indent}px;` +
            (look.BackStyle >= 2 ? `background-color:${look.BackColor};` : '') +
            (look.BackStyle % 2 === 1 ? `border:1px solid ${look.Normal.FontColor}` : '') + '}',
        // Sizes are written out rather than inherited: a change on a list would otherwise restyle
        // every entry below it, set up or not.
        `${item}{inline-size:${look.ItemWidth}px;` +
            `min-block-size:${Math.max(MIN_TARGET, look.ItemHeight)}px;` +
            `margin-block-end:${look.ItemGap}px;border-width:${look.ItemBorder}px}`,
        `${COMPACT} ${item}{inline-size:100%;` +
            `min-block-size:${Math.max(MIN_TOUCH_TARGET, look.ItemHeight)}px}`,
        `${split}{grid-template-columns:min(${look.ItemWidth}px,100%) minmax(0,1fr)}`,
        `${COMPACT} ${split}{grid-template-columns:minmax(0,1fr) 0}`,
        `${split}>.furlin-item{inline-size:auto;padding-inline-end:${toggle}px}`,
        `${split}>.furlin-toggle{inline-size:${toggle}px;margin-block-end:${look.ItemGap}px;` +
            `border-width:${look.ItemBorder}px}`,
    ];
    for (const state of STATES) {
        const l = look[state];
        const control = state === 'Normal' ? item : `${item}[data-state=${state.toLowerCase()}]`;
        rules.push(
            `${control}{${lookDeclarations(l, rtl)}}`,
            `${control}>.furlin-label{${labelDeclarations(l, rtl)}}`,
            `${control}>img{${imageDeclarations(l)}}`,
            `${control}+.furlin-toggle{color:${l.FontColor}}`);
    }
    if (lines) {
        // A narrowed indent keeps the trunk at its share of the room.
        const line = indent === look.Indent ?
            lines.LineIndent :
            Math.round((lines.LineIndent * indent) / Math.max(1, look.Indent));
        rules.push(...lineRules(cls, look, lines, indent, line));
    }
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
// Each is searched for on its own: a browser walks a large menu for a list of selectors several
// times slower. A link that names the file in other letter cases never resolves to the page.
function pageLinkSelectors(page) {
    const path = text(page).split(/[?#]/)[0];
    const file = path.slice(path.lastIndexOf('/') + 1);
    if (!file) return ['a[href]'];
    const quoted = (v) => `"${v.replace(/["\\]/g, '\\$&').replace(/[\n\r\f]/g, ' ')}"`;
    const names = new Set([file, fileNameOf(file)]);
    return [...names]
        .map((name) => `a[href*=${quoted(name)}]`)
        .concat('a[href=""]', 'a[href^="#"]', 'a[href^="?"]');
}

// Elements in document order, each once.
function inDocumentOrder(elements) {
    const FOLLOWING = 4;  // Node.DOCUMENT_POSITION_FOLLOWING
    return [...new Set(elements)].sort(
        (x, y) => (x === y ? 0 : x.compareDocumentPosition(y) & FOLLOWING ? -1 : 1));
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
        if (samePage(safeLink(item.Link, documentBase), page)) return item;
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
    const base = text(name).trim() || TEXTS.menu;
    let label = base;
    for (let n = 2; taken.has(label); n++) label = `${base} ${n}`;
    return label;
}

function cssUrl(url) {
    return `url("${url.replace(/["\\\n\r]/g, (c) => '\\' + c.charCodeAt(0).toString(16) + ' ')}")`;
}

// How much room sub-menus may take before their items: beyond it deeper menus indent less, so
// no depth makes the menu wider than its container.
function indentBudget(applet) {
    return Math.max(48, Math.min(160, Math.floor(applet.Width * 0.4)));
}

// The indent a list gets after `used` pixels of its ancestors' indents.
function effectiveIndent(indent, used, budget) {
    return Math.max(0, Math.min(indent, budget - used));
}

// ---- style sheets -----------------------------------------------------------------------

// Rules end in the classes the runtime gives entries and controls it has set up, so the browser
// matches them against those alone, not against every entry of a long list or every element of
// the page.
const LIVE = '.furlin.furlin-live';
const ITEM = '.furlin-live .furlin-item';
const COMPACT = '.furlin.furlin-live.furlin-compact';

const BASE_RULES = [
    // The block stands where the paragraph of the applet fragment stood; the menu is as wide
    // as the author set, never wider than its container, and at least as tall.
    '.furlin-block{margin:1em 0}',
    `${LIVE}{position:relative;display:block;box-sizing:border-box;max-inline-size:100%;` +
        'margin:0;padding:0;text-align:start;overflow:visible}',
    `.furlin-block[data-align=center]>${LIVE}{margin-inline:auto}`,
    `.furlin-block[data-align=right]>${LIVE}{margin-inline-start:auto}`,
    `${LIVE}.furlin-fixed{overflow:auto}`,
    // Below the author's width the tree folds behind a button and takes the container's width,
    // whatever size the widget's own style gives it.
    `${COMPACT}{inline-size:auto !important;min-block-size:0 !important;` +
        'block-size:auto !important;overflow:visible}',
    `${COMPACT}:not(.furlin-open)>ul{display:none}`,
    '.furlin-menu-button{display:none}',
    `${COMPACT}>.furlin-menu-button{display:flex;align-items:center;gap:10px;box-sizing:border-box;` +
        `inline-size:100%;min-block-size:${MIN_TOUCH_TARGET}px;margin:0;padding:0 12px;` +
        'border:1px solid currentColor;font:inherit;font-size:16px;cursor:pointer;text-align:start}',
    `${COMPACT}>ul:first-of-type{margin-block-start:8px}`,
    // Closed branches are skipped rather than taken out of the layout: a page drawn before the
    // script ran keeps its boxes, so drawing the widget tears down no branch, and a branch that
    // closes opens again without rebuilding. Entries not set up yet are left out until a later
    // task sets them up. The rules match classes or lists alone, never every entry of the page.
    `${LIVE} .furlin-menu{list-style:none;margin:0;padding:0;position:relative}`,
    `${LIVE} ul ul:not(.furlin-menu){display:none}`,
    '.furlin-live .furlin-sub[hidden]{' +
        'display:block;content-visibility:hidden;contain-intrinsic-size:0 0;block-size:0}',
    // Entries of a long list not set up yet are left out of a list shown for the first time. In
    // a list the page drew before the script ran they stay, emptied: taking an entry with a large
    // branch out of the layout costs the browser a walk over the whole branch. The classes stay
    // once every entry is set up: taking them away would restyle every entry of the list.
    '.furlin-live .furlin-deferred:not(.furlin-kept)>li:not(.furlin-entry){display:none}',
    '.furlin-live .furlin-deferred.furlin-kept>li:not(.furlin-entry)>*{display:none}',

    '.furlin-live .furlin-entry{margin:0;padding:0;position:relative}',
    `${ITEM}{position:relative;display:flex;align-items:center;box-sizing:border-box;` +
        `max-inline-size:100%;min-inline-size:${MIN_TARGET}px;min-block-size:${MIN_TARGET}px;` +
        'margin:0;padding:2px 0;border-style:solid;text-decoration:none;line-height:1.2;' +
        'appearance:none;-webkit-appearance:none;background-clip:border-box}',
    `${ITEM}>.furlin-label{flex:1 1 auto;min-inline-size:0;` +
        'overflow-wrap:anywhere;unicode-bidi:plaintext}',
    `${ITEM}>img{flex:none;max-inline-size:100%}`,
    `${ITEM}>img[hidden]{display:none}`,
    `${ITEM}:is(a,button),.furlin-toggle,.furlin-menu-button{cursor:pointer}`,
    `${ITEM}:focus,.furlin-toggle:focus,.furlin-menu-button:focus{outline:none}`,
    `${ITEM}:focus-visible,.furlin-toggle:focus-visible,.furlin-menu-button:focus-visible{` +
        'outline:2px solid #1a73e8;outline-offset:-2px;box-shadow:inset 0 0 0 4px #fff}',
    // The current page is underlined whatever the look.
    `${ITEM}[aria-current=page]>.furlin-label{text-decoration:underline;` +
        'text-decoration-thickness:2px;text-underline-offset:3px}',
    '.furlin-live li.furlin-split{display:grid}',
    '.furlin-split>.furlin-item,.furlin-split>.furlin-toggle{grid-area:1/1}',
    '.furlin-split>.furlin-sub,.furlin-split>.furlin-description{grid-column:1/-1}',
    '.furlin-toggle{justify-self:end;align-self:stretch;position:relative;box-sizing:border-box;' +
        `min-block-size:${MIN_TARGET}px;margin:0;padding:0;border:0 solid transparent;` +
        'background:transparent;font:inherit;appearance:none;-webkit-appearance:none}',
    // A chevron points to the inline end while its branch is closed and down while it is open.
    '.furlin-chevron{flex:none;display:inline-block;inline-size:6px;block-size:6px;' +
        'border:solid currentColor;border-width:0 2px 2px 0;transform:rotate(-45deg);' +
        'margin-inline:6px 10px;pointer-events:none}',
    '.furlin-toggle>.furlin-chevron{position:absolute;inset:0;margin:auto}',
    '.furlin-rtl .furlin-chevron{transform:rotate(135deg)}',
    '[aria-expanded=true]>.furlin-chevron{transform:rotate(45deg)}',
    '.furlin-description{display:none}',
    // In the compact layout every control is a finger's size (the lists' rules make the items
    // take the width).
    `${COMPACT} .furlin-menu>.furlin-split>.furlin-toggle{min-inline-size:${MIN_TOUCH_TARGET}px}`,
    // The loading message stands below the links and never covers them.
    '.furlin-loading{display:flex;align-items:center;gap:6px;margin:6px;font:12px sans-serif}',
    '.furlin-progress{inline-size:70px;block-size:8px;border:1px solid currentColor}',
    '.furlin-progress>div{block-size:100%;inline-size:0;background:currentColor}',
    // Forced colours drop author backgrounds: keep lines, the selection and focus visible.
    '@media (forced-colors: active){' +
        '.furlin-entry::before,.furlin-item::before,.furlin-item::after{forced-color-adjust:none;' +
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

// Lists that look alike share one class and one set of rules.
function menuClass(doc, look, lines, indent, rtl) {
    const styles = stylesOf(doc);
    const key = JSON.stringify([look, lines, indent, rtl]);
    let cls = styles.classes.get(key);
    if (!cls) {
        cls = `furlin-l${styles.classes.size}`;
        styles.classes.set(key, cls);
        addRules(doc, menuRules(cls, look, lines, indent, rtl));
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
        width: element.getAttribute('width'),
        height: element.getAttribute('height'),
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
    const href = droppedScheme(item.Link) ? '' : item.Link;
    const control = doc.createElement(href ? 'a' : 'span');
    if (href) {
        control.setAttribute('href', href);
        control.target = htmlTarget(item.TargetFrame);
        if (opensNewContext(item.TargetFrame)) control.rel = 'noopener';
    }
    if (item.Description) control.title = item.Description;
    const image = resolveFile(item.NormalImage, base);
    if (image) {
        const img = doc.createElement('img');
        img.loading = 'lazy';
        img.src = image;
        img.alt = item.Label.trim() ? '' : item.Description || fileNameOf(image);
        control.appendChild(img);
    }
    appendLabel(doc, control, item.Label);
    return control;
}

// The lists of the markup for a model, built without recursion: sub-menus may nest deeply.
function modelLists(doc, model, base) {
    const lists = [];
    const queue = model.tops.map((menu) => ({menu, into: null}));
    for (let q = 0; q < queue.length; q++) {
        const {menu, into} = queue[q];
        const ul = doc.createElement('ul');
        records.set(ul, menu.look);
        for (const item of menu.items) {
            const li = doc.createElement('li');
            const files = readFiles(item, base);
            if (Object.keys(files).length > 0) records.set(li, files);
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
    nav.setAttribute('aria-label', TEXTS.menu);
    nav.setAttribute(TAKEN, '');
    // The applet was a box of its own size, and so it stays.
    records.set(nav, {
        ...model.applet,
        ...readRecord(
            APPLET_FIELDS.filter((f) => ['Width', 'Height'].includes(f.name)),
            {Width: info.width, Height: info.height}),
        BackImage: resolveFile(model.applet.BackImage, base),
        Audio: resolveFile(model.applet.Audio, base),
        FixedBox: 1,
        CompactBelow: 0,
        Direction: 0,
    });
    for (const list of modelLists(doc, model, base)) nav.appendChild(list);
    // Drawn before it enters the page, so the page never lays out every closed branch.
    const widget = new Widget(nav, win, {});
    placeNav(applet, nav);
    widget.placed();
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
const uidBase = `furlin-${Date.now().toString(36)}-${Math.random().toString(36).slice(2, 8)}`;
function uid() { return `${uidBase}-${++counter}`; }

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

function chevron(doc) {
    const span = doc.createElement('span');
    span.className = 'furlin-chevron';
    span.setAttribute('aria-hidden', 'true');
    return span;
}

// The item's text as a name: its label, else its image's text alternative.
function nameOf(control) {
    const label = control.textContent.trim();
    if (label) return label;
    const img = childOf(control, (el) => el.tagName === 'IMG');
    return text(control.getAttribute('aria-label') || (img && img.alt)).trim();
}

const timers = new WeakMap();
const pending = new WeakMap();  // list -> {left: entries not set up, next: where the rest goes on}
const scheduled = new WeakSet();  // lists whose next entries are due in a later task
const CHUNK_ITEMS = 100;
const widgets = new WeakMap();       // nav -> Widget
const firstSources = new WeakMap();  // img -> the address the markup gave it
const indents = new WeakMap();       // list -> the indents its items stand behind

class Widget {
    constructor(nav, win, options) {
        this.nav = nav;
        this.win = win;
        this.doc = nav.ownerDocument;
        const data = records.has(nav) ? null : readJson(nav);
        this.applet = records.get(nav) || readAppletData(data);
        this.looks = data ? readLooks(data) : [];
        this.preview = nav.hasAttribute('data-furlin-preview');
        this.motion = win.matchMedia ? win.matchMedia('(prefers-reduced-motion: reduce)') : null;
        this.selected = null;
        this.current = null;
        this.pinned = null;
        this.hovered = null;
        this.pressed = null;
        this.flashing = new Set();  // controls showing a keyboard press
        this.options = options;
        // Markup the page itself holds may have been laid out before the script ran; markup just
        // written into the page or built from an applet fragment has not.
        this.drawn = nav.isConnected && !options.quiet;
        widgets.set(nav, this);
        stylesOf(this.doc);
        nav.classList.add('furlin-live');
        if (this.applet.FixedBox) nav.classList.add('furlin-fixed');
        this.drawFrame();
        if (nav.isConnected) this.placed();
    }

    // The rest needs the widget in its page: its direction and its neighbours.
    placed() {
        // From the markup alone: asking the browser for the computed direction would make it
        // style the whole page before the widget is drawn.
        const dir = this.nav.closest('[dir]');
        this.rtl = !!dir && dir.getAttribute('dir').trim().toLowerCase() === 'rtl';
        this.nav.classList.toggle('furlin-rtl', this.rtl);
        this.nameLandmark();
        for (const list of this.lists()) this.enhanceMenu(list, this.drawn);
        this.addMenuButton();
        this.listen();
        this.watchWidth();
        this.showMarkedPage();
        if (!this.options.quiet) {
            this.showCurrentPage();
            this.startLoading();
            this.play(this.applet.Audio);
        }
    }

    lists() { return [...this.nav.children].filter(isList); }

    play(url) {
        if (!this.preview) playAudio(url);
    }

    drawFrame() {
        const a = this.applet;
        const s = this.nav.style;
        s.inlineSize = a.Width + 'px';
        s.minBlockSize = a.Height + 'px';
        if (a.FixedBox) s.blockSize = a.Height + 'px';
        const layers = [];
        const image = resolveFile(a.BackImage, this.doc.baseURI);
        if (image) layers.push(cssUrl(image));
        const back = appletBackground(a);
        if (back.startsWith('linear-gradient'))
            layers.push(back);
        else
            s.backgroundColor = back;
        if (layers.length) s.backgroundImage = layers.join(', ');
        if (image) {
            s.backgroundRepeat = a.ImageTile ? 'repeat, no-repeat' : 'no-repeat, no-repeat';
            s.backgroundPosition = a.ImageTile ? '0 0, 0 0' : `${a.ImageX}px ${a.ImageY}px, 0 0`;
        }
        if (a.BackBorder !== 0) {
            const [tl, br] = borderColors(a.BackBorder, a.BackColor);
            s.borderStyle = 'solid';
            s.borderWidth = '2px';
            s.borderColor = `${tl} ${br} ${br} ${tl}`;
        }
    }

    nameLandmark() {
        const taken = new Set();
        // One simple selector, then a look at the few it finds: cheaper on a large page.
        for (const other of this.doc.querySelectorAll('[aria-label]')) {
            if (other.localName !== 'nav' && other.getAttribute('role') !== 'navigation') continue;
            const waiting = other.classList.contains('furlin') && !widgets.has(other);
            if (other !== this.nav && !waiting) taken.add(other.getAttribute('aria-label').trim());
        }
        this.nav.setAttribute(
            'aria-label', uniqueLabel(this.nav.getAttribute('aria-label'), taken));
    }

    // ---- the compact layout ----

    // The disclosure button of the compact layout: the text "Menu", described by the widget's
    // name, in the look of the first list's items.
    addMenuButton() {
        const lists = this.lists();
        if (this.applet.CompactBelow <= 0 || lists.length === 0) return;
        const doc = this.doc;
        const button = doc.createElement('button');
        button.type = 'button';
        button.className = 'furlin-menu-button';
        for (const list of lists) list.id = list.id || uid();
        button.setAttribute('aria-controls', lists.map((l) => l.id).join(' '));
        button.setAttribute('aria-expanded', 'false');
        const label = doc.createElement('span');
        label.className = 'furlin-label';
        label.textContent = TEXTS.menu;
        const name = doc.createElement('span');
        name.className = 'furlin-description';
        name.id = uid();
        name.textContent = this.nav.getAttribute('aria-label');
        button.setAttribute('aria-describedby', name.id);
        button.append(label, chevron(doc));
        const look = this.menuOf(lists[0]).Normal;
        const s = button.style;
        s.background = itemBackground(look, this.rtl);
        s.color = look.FontColor;
        s.fontFamily = FONT_FAMILIES[look.FontName];
        this.nav.insertBefore(name, this.nav.firstChild);
        this.nav.insertBefore(button, this.nav.firstChild);
        this.menuButton = button;
        // The editor's preview shows the tree, folded or not, so items can be picked.
        if (this.preview) this.setMenuOpen(true);
    }

    // Folds the menu below the author's width, measured on the container, whatever the
    // viewport: a narrow column of a wide page folds too. Folding changes the container's height,
    // and the width of a container as wide as its content (a float, an inline block); so the
    // container is watched again only from the next frame, and a first report that asks to undo
    // the fold is the fold's own doing and is left alone. The watcher never loops.
    watchWidth() {
        const block = this.nav.parentElement;
        if (!this.menuButton || !block || typeof this.win.ResizeObserver !== 'function') return;
        let settling = false;
        const resizer = new this.win.ResizeObserver((entries) => {
            const entry = entries[entries.length - 1];
            const size = entry.contentBoxSize && entry.contentBoxSize[0];
            const width = size ? size.inlineSize : entry.contentRect.width;
            const compact = width > 0 && width < this.applet.CompactBelow;
            const ownDoing = settling;
            settling = false;
            if (ownDoing || compact === this.nav.classList.contains('furlin-compact')) return;
            this.setCompact(compact);
            settling = true;
            resizer.unobserve(block);
            this.nextFrame(() => {
                if (this.resizer === resizer) resizer.observe(block);
            });
        });
        this.resizer = resizer;
        resizer.observe(block);
    }

    nextFrame(fn) {
        if (this.win.requestAnimationFrame)
            this.win.requestAnimationFrame(fn);
        else
            this.win.setTimeout(fn, 0);
    }

    setCompact(compact) {
        if (compact === this.nav.classList.contains('furlin-compact')) return;
        this.nav.classList.toggle('furlin-compact', compact);
    }

    setMenuOpen(open) {
        this.nav.classList.toggle('furlin-open', open);
        this.menuButton.setAttribute('aria-expanded', String(open));
    }

    // ---- lists and items ----

    // The look of a list, read once: its place in the nav's table, or its own data.
    menuOf(list) {
        let menu = records.get(list);
        if (!menu) {
            const data = readJson(list);
            menu = typeof data === 'number' && Number.isInteger(data) && this.looks[data] ?
                this.looks[data] :
                readMenuData(data);
            records.set(list, menu);
        }
        return menu;
    }

    // Sets up a list when it is first shown: its look, and a screenful of its items at once.
    // `drawn` says the page has already laid the list out.
    enhanceMenu(list, drawn = false) {
        if (list.classList.contains('furlin-menu')) return;
        const look = this.menuOf(list);
        const a = this.applet;
        const sub = list.parentElement !== this.nav;
        // The room the lists above it already take.
        const used = sub ? indents.get(list.parentElement.parentElement) || 0 : 0;
        const indent = effectiveIndent(look.Indent, used, indentBudget(a));
        indents.set(list, used + indent);
        const lines = sub && a.HasLines ?
            {LineIndent: a.LineIndent, LineThick: a.LineThick, LineColor: a.LineColor} :
            null;
        list.classList.add('furlin-menu', menuClass(this.doc, look, lines, indent, this.rtl));
        const items = list.children;
        // Counted without touching each entry: a script object made for every entry of a
        // long list would cost the click that opens it. Anything but entries is never set up,
        // so such a list is finished by the last pass of setUpRest.
        const left = list.childElementCount;
        if (left === 0) return;
        pending.set(list, {left, next: items.length - 1});
        const screenful = Math.ceil(
            Math.max(a.Height, 800) / Math.max(MIN_TARGET, look.ItemHeight + look.ItemGap));
        if (items.length > screenful) {
            list.classList.add('furlin-deferred');
            if (drawn) list.classList.add('furlin-kept');
        }
        for (let k = 0; k < Math.min(items.length, screenful); k++) this.setUp(list, items[k]);
        this.setUpRest(list);
    }

    // An entry is shown once it is set up.
    setUp(list, li) {
        const state = pending.get(list);
        if (!state || li.tagName !== 'LI' || li.classList.contains('furlin-entry')) return;
        this.enhanceItem(li);
        if (--state.left === 0) this.filled(list);
        if (this.applet.DisplayAllBranches) this.setOpen(li, true, false);
    }

    // Sets up the rest of a long list in later tasks, from its end upwards: each entry shown
    // above entries not shown yet would cost the browser a walk over all of them.
    setUpRest(list) {
        const state = pending.get(list);
        if (!state || scheduled.has(list)) return;
        scheduled.add(list);
        // After the next frame, so that a click shows its first entries at once.
        this.nextFrame(() => this.win.setTimeout(() => {
            scheduled.delete(list);
            const items = list.children;
            for (let n = 0; n < CHUNK_ITEMS && pending.has(list) && state.next >= 0; state.next--) {
                const li = items[state.next];
                if (li && li.tagName === 'LI' && !li.classList.contains('furlin-entry')) {
                    this.setUp(list, li);
                    n++;
                }
            }
            if (state.next < 0) this.filled(list);
            this.setUpRest(list);
        }, 0));
    }

    filled(list) { pending.delete(list); }

    // Sets up the item now; its list must be set up.
    ensureItem(li) { this.setUp(li.parentElement, li); }

    // The height of the items of a list not set up yet, as they will stand at first.
    pendingHeight(list) {
        const state = pending.get(list);
        if (!state) return 0;
        const look = this.menuOf(list);
        return state.left * (Math.max(MIN_TARGET, look.ItemHeight) + look.ItemGap);
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
        this.wrapLabel(control);
        this.nameItem(li, control);
        this.describe(li, control);
        if (sub) this.prepareSub(li, control, sub);
        li.classList.add('furlin-entry');
    }

    // The text goes into a label of its own, isolated from its neighbours' direction, and kept
    // apart from the image.
    wrapLabel(control) {
        const label = this.doc.createElement('span');
        label.className = 'furlin-label';
        for (let node = control.firstChild; node;) {
            const next = node.nextSibling;
            if (node.nodeType !== 1 || node.tagName !== 'IMG') label.appendChild(node);
            node = next;
        }
        control.appendChild(label);
    }

    // An item without text is named: an image-only one by its description or, without one, its
    // image's file name; a control without an image by its description, else a link by its
    // address and a button by what it opens.
    nameItem(li, control) {
        let image = childOf(control, (el) => el.tagName === 'IMG');
        const files = this.files(li);
        if (!image && (files.OverImage || files.ClickImage)) {
            image = this.doc.createElement('img');
            image.alt = '';
            image.hidden = true;
            control.insertBefore(image, control.firstChild);
        }
        if (control.textContent.trim() !== '') return;
        if (image) {
            if (text(image.getAttribute('alt')).trim()) return;
            const src = image.getAttribute('src') ? image.src : files.OverImage || files.ClickImage;
            image.alt = control.title || fileNameOf(src);
        } else if (control.tagName !== 'SPAN' && !control.hasAttribute('aria-label')) {
            const name = control.title ||
                (control.tagName === 'A' ? text(control.getAttribute('href')).trim() :
                                           TEXTS.subMenu);
            if (name) control.setAttribute('aria-label', name);
        }
    }

    // The description, which the markup gives as a tooltip, is also the control's accessible
    // description, so readers without a pointer hear it too.
    describe(li, control) {
        const description = text(control.getAttribute('title')).trim();
        if (!description || control.tagName === 'SPAN') return;
        if (nameOf(control) === description) return;  // it already names the control
        const holder = this.doc.createElement('span');
        holder.className = 'furlin-description';
        holder.id = uid();
        holder.textContent = description;
        li.insertBefore(holder, control.nextSibling);
        control.setAttribute('aria-describedby', holder.id);
    }

    // The list itself slides: moving it into a wrapper would cost a layout of its whole branch.
    prepareSub(li, control, sub) {
        sub.classList.add('furlin-sub');
        sub.hidden = true;
        sub.id = uid();
        let disclosure = control;
        if (control.tagName === 'A') {
            // A linked parent keeps its link and gets a separate toggle with a name of its own.
            disclosure = this.doc.createElement('button');
            disclosure.type = 'button';
            disclosure.className = 'furlin-toggle';
            disclosure.setAttribute('aria-label', `${TEXTS.showSubMenu} ${nameOf(control)}`.trim());
            disclosure.appendChild(chevron(this.doc));
            li.insertBefore(disclosure, control.nextSibling);
            li.classList.add('furlin-split');
        } else {
            control.appendChild(chevron(this.doc));
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

    // ---- events ----

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
        this.play(this.files(hit.li).OverAudio);
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

    // The look of the item's state; its over and click images load when first shown.
    applyState(li) {
        const control = controlOf(li);
        if (!control) return;
        const chosen = this.selected === li &&
            (this.applet.ShowSelectionAlways || li === this.current || li === this.pinned);
        let state = 'Normal';
        if (this.pressed === control || chosen || this.flashing.has(control))
            state = 'Click';
        else if (this.hovered === control)
            state = 'Over';
        control.setAttribute('data-state', state.toLowerCase());
        const img = childOf(control, (el) => el.tagName === 'IMG');
        if (!img) return;
        const files = this.files(li);
        if (!firstSources.has(img)) firstSources.set(img, img.getAttribute('src') ? img.src : '');
        const url = files[state + 'Image'] || files.NormalImage || firstSources.get(img);
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
        if (this.menuButton && this.menuButton.contains(event.target)) {
            this.setMenuOpen(!this.nav.classList.contains('furlin-open'));
            return;
        }
        const hit = this.hitOf(event.target);
        if (!hit || !hit.control) return;
        const {li, control} = hit;
        if (this.preview && control.tagName === 'A') event.preventDefault();
        this.select(li);
        this.play(this.files(li).ClickAudio);
        if (hit.toggle || control.tagName === 'BUTTON') this.setOpen(li, !isOpen(li), true);
        if (event.detail === 0 && !this.applet.ShowSelectionAlways) {
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
        const duration = animate ? slideDuration(open ? a.OpenSpeed : a.CloseSpeed, reduced) : 0;
        this.slide(sub, open, duration, this.pendingHeight(sub));
    }

    // Slides a sub-menu open or shut. While it slides it clips only above and below, so the
    // tree lines beside it stay in view.
    slide(sub, open, duration, pendingHeight) {
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
        const full = sub.offsetHeight + pendingHeight;
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

    // Shows li as the page's own: selected, its branch open, its own sub-menu included.
    markCurrent(li) {
        this.openPath(li, true);
        const control = controlOf(li);
        if (!control) return false;
        this.current = li;
        control.setAttribute('aria-current', 'page');
        this.select(li);
        return true;
    }

    // The item the markup names as the page showing the menu.
    showMarkedPage() {
        const marked = this.nav.querySelector('li>[aria-current=page]');
        if (marked) this.markCurrent(marked.parentElement);
    }

    // Otherwise the first item whose link is the page's address.
    showCurrentPage() {
        if (this.current) return;
        const page = withoutFragment(text(this.win.location && this.win.location.href));
        const found = [];
        for (const selector of pageLinkSelectors(page)) {
            for (const a of this.nav.querySelectorAll(selector))
                if (samePage(a.href, page)) found.push(a);
        }
        for (const a of inDocumentOrder(found))
            if (this.markCurrent(a.parentElement)) return;
    }

    // Items that can take focus now, in display order.
    reachable() {
        return [
            ...this.nav.querySelectorAll('.furlin-menu>li>a.furlin-item, .furlin-menu>li>button')
        ].filter((c) => !c.closest('.furlin-sub[hidden], [inert]') && c.getClientRects().length);
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
        // The arrow towards the inline end opens, the other closes: they mirror with the menu.
        const [inward, outward] =
            this.rtl ? ['ArrowLeft', 'ArrowRight'] : ['ArrowRight', 'ArrowLeft'];
        const key = event.key === inward ? 'in' : event.key === outward ? 'out' : event.key;
        switch (key) {
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
            case 'in':
                if (!sub) return;
                if (!isOpen(li))
                    this.setOpen(li, true, true);
                else
                    focus(list.find((el) => sub.contains(el)));
                break;
            case 'out':
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

    // While the images of the shown items load, a status line below the menu says so. It
    // stands where the images will show and never covers or blocks a link.
    startLoading() {
        const a = this.applet;
        if (!a.LoadingMessage.trim() && !a.ProgressBar) return;
        const images = [...this.nav.querySelectorAll('.furlin-entry>.furlin-item>img[src]')].filter(
            (img) => !img.closest('.furlin-sub'));
        const waiting = images.filter((img) => !img.complete);
        const back = resolveFile(a.BackImage, this.doc.baseURI);
        if (back && typeof this.win.Image === 'function') {
            const probe = new this.win.Image();
            probe.src = back;
            if (!probe.complete) waiting.push(probe);
        }
        if (waiting.length === 0) return;
        const box = this.doc.createElement('div');
        box.className = 'furlin-loading';
        box.setAttribute('role', 'status');
        const message = this.doc.createElement('div');
        message.textContent = a.LoadingMessage;
        box.appendChild(message);
        let bar = null;
        if (a.ProgressBar) {
            const frame = this.doc.createElement('div');
            frame.className = 'furlin-progress';
            frame.setAttribute('role', 'progressbar');
            frame.setAttribute('aria-label', a.LoadingMessage.trim() || TEXTS.loading);
            frame.setAttribute('aria-valuemin', '0');
            frame.setAttribute('aria-valuemax', String(waiting.length));
            bar = this.doc.createElement('div');
            frame.appendChild(bar);
            box.appendChild(frame);
        }
        this.nav.appendChild(box);
        let done = 0;
        // An image that neither loads nor fails must not keep the message for good.
        const giveUp = this.win.setTimeout(() => box.remove(), LOADING_TIMEOUT_MS);
        const step = () => {
            done++;
            if (bar) {
                bar.style.inlineSize = Math.round((100 * done) / waiting.length) + '%';
                bar.parentNode.setAttribute('aria-valuenow', String(done));
            }
            if (done >= waiting.length) {
                this.win.clearTimeout(giveUp);
                box.remove();
            }
        };
        for (const img of waiting) {
            img.addEventListener('load', step, {once: true});
            img.addEventListener('error', step, {once: true});
        }
    }

    // ---- the editor's preview ----

    // What render() keeps across a redraw, by node identifier.
    snapshot() {
        const node = (li) => (li ? li.getAttribute('data-furlin-node') : null);
        const open = [...this.nav.querySelectorAll('li>[aria-expanded=true]')].map(
            (d) => node(d.parentElement));
        return {
            open: open.filter(Boolean),
            selected: node(this.selected),
            // Only a widget with the button knows; one without leaves the new one as it opens.
            menuOpen: this.menuButton ? this.nav.classList.contains('furlin-open') : null,
        };
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
        if (this.menuButton && state.menuOpen !== null) this.setMenuOpen(state.menuOpen);
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

    forget() {
        if (this.resizer) this.resizer.disconnect();
        this.resizer = null;
    }
}

// ---- entry points -----------------------------------------------------------------------

function windowOf(root) {
    const doc = root.ownerDocument || root;
    return doc.defaultView || global;
}

// The widgets in root, in document order. Searching for one simple selector is several times
// cheaper on a large page than for a list; pages with applet fragments need the list for the
// order.
function widgetElements(root) {
    return root.querySelector('applet') ?
        root.querySelectorAll('nav.furlin, applet[code="furlin.class"]') :
        root.querySelectorAll('nav.furlin');
}

function mountIn(root, options) {
    const mounted = [];
    if (!root || !root.querySelectorAll) return mounted;
    const win = windowOf(root);
    for (const element of widgetElements(root)) {
        if (element.hasAttribute(TAKEN)) continue;
        element.setAttribute(TAKEN, '');
        try {
            mounted.push(
                element.tagName === 'NAV' ? new Widget(element, win, options) :
                                            upgradeApplet(element, win));
        } catch (e) {
            // A widget that cannot be drawn stays the plain list it was and leaves the rest of
            // the page alone.
            element.classList.remove('furlin-live', 'furlin-fixed', 'furlin-compact');
        }
    }
    return mounted;
}

function mountAll(root) { return mountIn(root, {}).length; }

// Replaces the widget inside container by new markup, keeping open what was open.
function render(container, html) {
    const before = [...container.querySelectorAll('nav.furlin')].map((nav) => {
        const widget = widgets.get(nav);
        if (!widget) return null;
        widget.forget();
        return widget.snapshot();
    });
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
    APPLET_FIELDS,
    MENU_FIELDS,
    LOOK_FIELDS,
    ITEM_FIELDS,
    TEXTS,
    unescapeField,
    splitFields,
    toInt,
    hexColor,
    readValue,
    parseApStyle,
    parseMenu,
    parseItem,
    parseMisc,
    buildModel,
    readAppletData,
    readMenuData,
    readLooks,
    readFiles,
    slideDuration,
    itemBackground,
    appletBackground,
    textShadow,
    menuRules,
    indentBudget,
    effectiveIndent,
    BASE_RULES,
    fileBase,
    resolveFile,
    fileNameOf,
    safeLink,
    opensNewContext,
    htmlTarget,
    findCurrentItem,
    pageLinkSelectors,
    inDocumentOrder,
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
