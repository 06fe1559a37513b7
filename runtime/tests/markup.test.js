'use strict';
// The markup's data and the look rules of the runtime, outside any browser.
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const f = require('../furlin.js');

const FIXTURES = path.join(__dirname, '..', '..', 'tests', 'e2e', 'fixtures');
const fixture = (name) => fs.readFileSync(path.join(FIXTURES, name), 'utf8');
const unquote = (s) =>
    s.replace(/&quot;/g, '"').replace(/&lt;/g, '<').replace(/&gt;/g, '>').replace(/&amp;/g, '&');

test('the markup data and the applet parameters of one widget read alike', () => {
    // The same three-level widget in both forms.
    const params = new Map();
    for (const m of fixture('three-level.html').matchAll(/<param name="([^"]+)" value="([^"]*)">/g))
        params.set(m[1].toLowerCase(), unquote(m[2]));
    const markup = fixture('three-level.markup.html');
    const nav = JSON.parse(unquote(/<nav\b[^>]*data-furlin="([^"]*)"/.exec(markup)[1]));
    const lists = [...markup.matchAll(/<ul data-furlin="(\d+)">/g)].map((m) => Number(m[1]));
    // The applet's parameters hold neither its size nor the settings for today's browsers.
    const {FixedBox, CompactBelow, Direction, ...applet} = f.readAppletData(nav);
    const {FixedBox: _f, CompactBelow: _c, Direction: _d, ...fromApplet} =
        f.parseApStyle(params.get('apstyle'));
    assert.deepEqual(applet, {...fromApplet, Width: 240, Height: 360, MenuTop: 10});
    assert.deepEqual([FixedBox, CompactBelow, Direction], [0, 640, 0]);
    // Each list's look is the table's entry it names; alike lists share one.
    const looks = f.readLooks(nav);
    assert.deepEqual(lists, [0, 1, 1, 1]);
    assert.equal(looks.length, 2);
    lists.forEach(
        (look, n) => assert.deepEqual(
            looks[look], f.parseMenu(params.get(`mstyle-${n}`), params.get(`istyle-${n}`)),
            `menu ${n}`));
});

test('damaged data falls back to defaults and never reaches a style sheet', () => {
    const empty = f.readAppletData({});
    assert.deepEqual(
        [
            empty.Width, empty.Height, empty.OpenSpeed, empty.BackKind, empty.LineColor,
            empty.HasLines, empty.CompactBelow
        ],
        [200, 400, 5, 1, '#050000', 1, 640]);
    const bad = f.readAppletData({
        Width: 1e300,
        Height: -4,
        BackColor: 'red;}body{display:none',
        OpenSpeed: 1e9,
        CloseSpeed: 'x',
        BackKind: 9,
        LineThick: Infinity,
        LoadingMessage: {a: 1},
        BackImage: 7,
        Direction: 3,
        CompactBelow: -5,
    });
    assert.deepEqual(
        [bad.Width, bad.Height, bad.BackColor, bad.OpenSpeed, bad.CloseSpeed, bad.BackKind],
        [100000, 0, '#000000', 50, 5, 1]);
    assert.deepEqual([bad.LineThick, bad.LoadingMessage, bad.BackImage], [5, '', '7']);
    assert.deepEqual([bad.Direction, bad.CompactBelow], [0, 0]);
    assert.deepEqual(f.readLooks({Looks: 'x'}), []);
    assert.deepEqual(f.readLooks([1]), []);

    const menu =
        f.readMenuData({BackStyle: 3, ItemHeight: '30px', ItemWidth: -5, Normal: [1], Over: null});
    assert.deepEqual([menu.BackStyle, menu.ItemHeight, menu.ItemWidth], [3, 30, 0]);
    assert.deepEqual(menu.Normal, f.readMenuData({}).Normal);
    const look = f.readMenuData({
                      Click: {BackKind: 12, Border: 2, TextAlign: 1, FontColor: '#ABCDEF'}
                  }).Click;
    assert.deepEqual(
        [look.BackKind, look.Border, look.TextAlign, look.FontColor], [1, 2, 1, '#abcdef']);
});

test('a damaged item count costs no more than the parameters present', () => {
    const params = new Map([
        ['mstyle-0', 'ffffff'],
        ['i0-0', 'Survivor'],
        ['i0-9999', 'Last'],
        ['i01-1', 'Not a name'],
        ['i9999-0', 'Deep'],
        ['misc', `10000,${'10000,'.repeat(10000)}-0,`],
    ]);
    let reads = 0;
    const counted = new Map(params);
    counted.get = function(name) {
        reads++;
        return Map.prototype.get.call(this, name);
    };
    const model = f.buildModel(counted);
    assert.ok(reads < 20, `${reads} parameter reads`);
    assert.deepEqual(
        model.tops[0].items.map((i) => [i.Label, i.index]), [['Survivor', 0], ['Last', 9999]]);
    // Menu 9999 keeps its place: its first item is item 9999 * 10000.
    assert.equal(model.items.find((i) => i.Label === 'Deep').index, 99990000);
    // A count beyond the entries that follow it is cut to them.
    assert.equal(f.parseMisc('99999,1,').count, 1);
});

test('item files resolve against the page and empty ones are left out', () => {
    const page = 'http://example.test/site/menu.html';
    assert.deepEqual(
        f.readFiles(
            {NormalImage: 'res/a.png', OverImage: '', ClickImage: 5, OverAudio: 'snd\\o.wav'},
            page),
        {
            NormalImage: 'http://example.test/site/res/a.png',
            OverAudio: 'http://example.test/site/snd/o.wav'
        });
    assert.equal(f.fileNameOf('http://example.test/res/my%20dot.png?x=1'), 'my dot.png');
});

test('links: dropped schemes, new browsing contexts, the current page, landmark names', () => {
    const base = 'http://example.test/site/index.html';
    // Schemes as browsers read them: blanks and controls before, tabs and breaks inside.
    for (const link
             of ['java\tscript:alert(1)', '\x01 JAVASCRIPT:x', 'vb\nscript:x', 'DATA:text/html,x'])
        assert.equal(f.safeLink(link, base), '', JSON.stringify(link));
    assert.equal(
        f.safeLink('javascript-guide.html', base),
        'http://example.test/site/javascript-guide.html');
    // Candidates for the current page: its file as written and decoded, and links within it.
    assert.deepEqual(f.pageLinkSelectors('http://example.test/site/caf%C3%A9%22.html?x=1'), [
        'a[href*="caf%C3%A9%22.html"]', 'a[href*="café\\".html"]', 'a[href=""]', 'a[href^="#"]',
        'a[href^="?"]'
    ]);
    assert.deepEqual(f.pageLinkSelectors('http://example.test/site/'), ['a[href]']);

    assert.deepEqual(
        ['_blank', 'content', ' _NEW ', '_self', '_parent', '_top', '', ' '].map(f.opensNewContext),
        [true, true, true, false, false, false, false, false]);
    // Names HTML does not allow open a new browsing context as "_blank" does.
    assert.deepEqual(
        ['_new', '_', '_Parent', 'content', 'a\t<b', 'my <frame>', ''].map(f.htmlTarget),
        ['_blank', '_blank', '_Parent', 'content', '_blank', 'my <frame>', '']);
    assert.equal(f.uniqueLabel('Main', new Set()), 'Main');
    assert.equal(f.uniqueLabel('  ', new Set()), 'Menu');
    assert.equal(f.uniqueLabel('Main', new Set(['Main', 'Main 2'])), 'Main 3');
});

test('menu rules: items grow from their height, lines meet their items, both mirror', () => {
    const look = f.readMenuData({
        Indent: 20,
        ItemWidth: 150,
        ItemHeight: 24,
        ItemGap: 4,
        ItemBorder: 1,
        TopOffset: 6,
        BackStyle: 2,
        BackColor: '#eeeeee'
    });
    const lines = {LineIndent: 8, LineThick: 2, LineColor: '#808080'};
    const css = f.menuRules('m', look, lines, 20, false).join('\n');
    assert.match(
        css, /ul\.m\{margin-block-start:6px;margin-inline-start:20px;background-color:#eeeeee;\}/);
    assert.match(
        css,
        /\.m>\.furlin-entry>\.furlin-item\{inline-size:150px;min-block-size:24px;margin-block-end:4px;border-width:1px\}/);
    assert.doesNotMatch(css, /[^-]block-size:24px/, 'the encoded height is a minimum');
    // No item is smaller than a pointer's target, or than a finger's in the compact layout.
    const low = f.menuRules('m', f.readMenuData({ItemHeight: 20, ItemWidth: 90}), null, 0, false)
                    .join('\n');
    assert.match(low, /\.m>\.furlin-entry>\.furlin-item\{inline-size:90px;min-block-size:24px;/);
    assert.match(
        low,
        /\.furlin-compact \.m>\.furlin-entry>\.furlin-item\{inline-size:100%;min-block-size:44px\}/);
    assert.match(low, /\.m>\.furlin-split>\.furlin-toggle\{inline-size:24px;/);
    assert.doesNotMatch(css, /\b(left|right):/, 'only logical sides');
    // The trunk runs 12px before the items, through every entry but the last; the last item
    // draws it to its middle, every item its branch, both from behind its 1px border.
    assert.match(
        css,
        /\.m>\.furlin-entry:not\(:last-child\)::before\{[^}]*background-color:#808080;inline-size:2px;inset-inline-start:-12px;inset-block:0\}/);
    assert.match(
        css, /\.m>\.furlin-entry:first-child:not\(:last-child\)::before\{inset-block-start:-6px\}/);
    assert.match(
        css,
        /:last-child>\.furlin-item::after\{[^}]*inset-inline-start:-13px;inset-block:-1px 50%\}/);
    assert.match(
        css,
        /\.furlin-item::before\{[^}]*inline-size:10px;block-size:2px;inset-inline-start:-11px;inset-block-start:calc\(50% - 1px\)\}/);
    assert.doesNotMatch(f.menuRules('m', look, null, 20, false).join('\n'), /::before|::after/);
    assert.doesNotMatch(
        f.menuRules('m', look, {...lines, LineThick: 0}, 20, false).join('\n'), /::before/);
    // Lines at or beyond the items' edge have nowhere to go.
    assert.doesNotMatch(
        f.menuRules('m', look, {...lines, LineIndent: 30}, 20, false).join('\n'),
        /::before|::after/);
    // A narrowed indent keeps the trunk at its share of the room.
    assert.match(
        f.menuRules('m', look, lines, 10, false).join('\n'),
        /::before\{[^}]*inset-inline-start:-6px;inset-block:0\}/);
    // The three looks, the clicked one as a vertical gradient; labels align with the menu's
    // direction, not their own, and a horizontal gradient starts at the inline start.
    const looks = f.readMenuData({
        Normal: {TextAlign: 0, TextOffset: 5, BackKind: 2, BackColor: '#102030'},
        Over: {BackColor: '#ffcc00', FontStyle: 1},
        Click: {BackKind: 6, GradientDir: 0, BackColor: '#008000'}
    });
    const rules = f.menuRules('m', looks, null, 40, false).join('\n');
    assert.match(rules, /\[data-state=over\]\{background:#ffcc00;[^}]*font-weight:bold/);
    assert.match(
        rules, /\[data-state=click\]\{background:linear-gradient\(to bottom, #000000, #008000\)/);
    assert.match(
        rules,
        /\.furlin-item>\.furlin-label\{text-align:left;align-self:auto;padding-inline:5px 0px\}/);
    const mirrored = f.menuRules('m', looks, null, 40, true).join('\n');
    assert.match(mirrored, /\.furlin-item>\.furlin-label\{text-align:right;/);
    assert.match(
        mirrored,
        /\.furlin-item\{background:linear-gradient\(to left, #000000, #102030 50%, #000000\)/);
});

test('images stand beside or above the label, never over it', () => {
    const rules = (align, offset = 3) =>
        f.menuRules(
             'm', f.readMenuData({Normal: {ImageAlign: align, ImageOffset: offset}}), null, 0,
             false)
            .join('\n');
    assert.match(rules(0), /\.furlin-item>img\{order:0;margin-inline:3px 0px\}/);
    assert.match(rules(2), /\.furlin-item>img\{order:1;margin-inline:0px 3px\}/);
    assert.match(rules(1), /\.furlin-item\{[^}]*flex-direction:column\}/);
    assert.match(rules(1), /\.furlin-item>img\{order:0;margin:3px 0 0\}/);
    assert.doesNotMatch(rules(0, 5), /position:absolute/);
});

test('deeper menus indent less once their ancestors took the room a width can spare', () => {
    assert.equal(f.indentBudget({Width: 240}), 96);
    assert.equal(f.indentBudget({Width: 100}), 48);
    assert.equal(f.indentBudget({Width: 2000}), 160);
    const budget = f.indentBudget({Width: 200});
    let used = 0;
    const indents = [];
    for (let depth = 0; depth < 6; ++depth) {
        const indent = f.effectiveIndent(40, used, budget);
        indents.push(indent);
        used += indent;
    }
    assert.deepEqual(indents, [40, 40, 0, 0, 0, 0]);
    assert.equal(f.effectiveIndent(-5, 0, budget), 0);
});

test('styles never go through style attributes or style elements with text', () => {
    const source = fs.readFileSync(path.join(__dirname, '..', 'furlin.js'), 'utf8');
    assert.doesNotMatch(source, /setAttribute\(\s*['"]style['"]/);
    assert.doesNotMatch(source, /\.cssText\s*=|textContent\s*=\s*(CSS|rules|BASE)/);
    // Forced colours keep lines, the selection and the focus.
    const forced = f.BASE_RULES.find((r) => r.startsWith('@media (forced-colors: active)'));
    for (const part of ['furlin-entry::before', 'data-state=click', 'focus-visible'])
        assert.ok(forced.includes(part), part);
});
