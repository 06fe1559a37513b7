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
    const data = [
        ...fixture('three-level.markup.html').matchAll(/<(nav|ul)\b[^>]*data-furlin="([^"]*)"/g)
    ].map((m) => JSON.parse(unquote(m[2])));
    const [nav, ...menus] = data;
    assert.deepEqual(
        f.readAppletData(nav), {...f.parseApStyle(params.get('apstyle')), width: 240, height: 360});
    assert.equal(menus.length, 4);
    menus.forEach(
        (menu, n) => assert.deepEqual(
            f.readMenuData(menu), {
                style: f.parseMStyle(params.get(`mstyle-${n}`)),
                looks: f.parseIStyle(params.get(`istyle-${n}`)),
            },
            `menu ${n}`));
});

test('damaged data falls back to defaults and never reaches a style sheet', () => {
    const empty = f.readAppletData({});
    assert.deepEqual(
        [
            empty.width, empty.height, empty.openSpeed, empty.backKind, empty.lineColor,
            empty.hasLines
        ],
        [200, 400, 5, 6, '#050000', true]);
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
    });
    assert.deepEqual(
        [bad.width, bad.height, bad.backColor, bad.openSpeed, bad.closeSpeed, bad.backKind],
        [100000, 0, '#000000', 50, 5, 6]);
    assert.deepEqual([bad.lineThick, bad.loadingMessage, bad.backImage], [5, '', '7']);
    // The model's applet background 0..4: a plain fill, then the vertical gradients.
    assert.deepEqual([0, 1, 4].map((k) => f.readAppletData({BackKind: k}).backKind), [1, 6, 9]);

    const menu =
        f.readMenuData({BackStyle: 3, ItemHeight: '30px', ItemWidth: -5, Normal: [1], Over: null});
    assert.deepEqual(
        [menu.style.filled, menu.style.bordered, menu.style.itemHeight, menu.style.itemWidth],
        [true, true, 30, 0]);
    assert.deepEqual(menu.looks.normal, f.readMenuData({}).looks.normal);
    assert.deepEqual(
        [1, 2].map((s) => [f.readMenuData({BackStyle: s}).style.filled, f.readMenuData({
                                                                             BackStyle: s
                                                                         }).style.bordered]),
        [[false, true], [true, false]]);
    const look = f.readMenuData({
                      Click: {BackKind: 12, Border: 2, TextAlign: 1, FontColor: '#ABCDEF'}
                  }).looks.click;
    assert.deepEqual(
        [look.backKind, look.border, look.textAlign, look.fontColor], [1, 2, 1, '#abcdef']);
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
        model.tops[0].items.map((i) => [i.label, i.index]), [['Survivor', 0], ['Last', 9999]]);
    // Menu 9999 keeps its place: its first item is item 9999 * 10000.
    assert.equal(model.items.find((i) => i.label === 'Deep').index, 99990000);
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
            normalImage: 'http://example.test/site/res/a.png',
            overAudio: 'http://example.test/site/snd/o.wav'
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
    const selector = f.pageLinkSelector('http://example.test/site/caf%C3%A9%22.html?x=1');
    assert.equal(
        selector,
        'a[href*="caf%C3%A9%22.html" i],a[href*="café\\".html" i],' +
            'a[href=""],a[href^="#"],a[href^="?"]');
    assert.equal(f.pageLinkSelector('http://example.test/site/'), 'a[href]');

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

test('menu rules: items grow from their height, lines meet their items', () => {
    const menu = f.readMenuData({
        Indent: 20,
        ItemWidth: 150,
        ItemHeight: 24,
        ItemGap: 4,
        BackStyle: 2,
        BackColor: '#eeeeee'
    });
    const lines = {lineIndent: 8, lineThick: 2, lineColor: '#808080'};
    const css = f.menuRules('m', menu, lines).join('\n');
    assert.match(css, /\.m>\.furlin-entry>\.furlin-item\{width:150px;min-height:24px;margin:0 0 4px;/);
    assert.doesNotMatch(css, /[^-]height:24px/, 'the encoded height is a minimum');
    assert.match(css, /ul\.m\{margin:0px 0 0 20px;background-color:#eeeeee;\}/);
    // The entry takes in the indent; the trunk runs 12px left of the items (8px into the
    // entry) down to the middle of the last one, with a branch to each.
    assert.match(css, /\.m>\.furlin-entry\{margin-left:-20px;padding-left:20px;/);
    assert.match(
        css, /\.m>\.furlin-entry::before\{[^}]*background-color:#808080;left:8px;top:0;bottom:0;width:2px\}/);
    assert.match(css, /\.m>\.furlin-entry:last-child::before\{bottom:auto;height:13px\}/);
    assert.match(css, /\.m>\.furlin-entry::after\{[^}]*left:10px;top:11px;width:10px;height:2px\}/);
    assert.doesNotMatch(f.menuRules('m', menu, null).join('\n'), /::before|::after/);
    assert.doesNotMatch(f.menuRules('m', menu, {...lines, lineThick: 0}).join('\n'), /::before/);
    // Lines right of the items' left edge have no branch to draw.
    assert.doesNotMatch(f.menuRules('m', menu, {...lines, lineIndent: 30}).join('\n'), /::after/);
    // The three looks, the clicked one as a vertical gradient.
    const looks = f.readMenuData({
        Over: {BackColor: '#ffcc00', FontStyle: 1},
        Click: {BackKind: 6, GradientDir: 0, BackColor: '#008000'}
    });
    const rules = f.menuRules('m', looks, null).join('\n');
    assert.match(rules, /\[data-state=over\]\{background:#ffcc00;[^}]*font-weight:bold/);
    assert.match(
        rules, /\[data-state=click\]\{background:linear-gradient\(to bottom, #000000, #008000\)/);
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
