'use strict';
// Parser and layout rules of the runtime, outside any browser.
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const f = require('../furlin.js');

const DEFAULT_APSTYLE = '000000,000000,,0,0,0,,1,5,5,0,1,160,0,5,050000,1,Loading Image...';
const DEFAULT_GROUP = '000000,ffffff,111,0,0,14,0,00,0,0,,,';

// Applet parameters as the runtime reads them: names in lower case, values as written.
function lookupOf(params) {
    return new Map(Object.entries(params).map(([name, value]) => [name.toLowerCase(), value]));
}

test('text escapes and field splitting', () => {
    // A two-line label "a,b" / "c" as the encoder writes it.
    assert.equal(f.unescapeField('a~@^`b|_#`c'), 'a,b\nc');
    assert.deepEqual(f.splitFields('a,,b', 4), ['a', '', 'b', '']);
    assert.deepEqual(f.splitFields('a,b,', 2), ['a', 'b']);
    assert.deepEqual(f.splitFields('a,b,', 3), ['a', 'b', '']);
    assert.deepEqual(f.splitFields('', 2), ['', '']);
    assert.deepEqual(f.splitFields(undefined, 1), ['']);
    const item = f.parseItem('One~@^` two|_#`three,desc,,,,,,,');
    assert.equal(item.Label, 'One, two\nthree');
    assert.equal(item.TargetFrame, '_self');
});

test('numbers and colours read leniently', () => {
    assert.equal(f.toInt(' -12px'), -12);
    assert.equal(f.toInt('abc', 7), 7);
    assert.equal(f.toInt('99999999999'), 100000);
    assert.equal(f.hexColor('0080FF', '#000000'), '#0080ff');
    assert.equal(f.hexColor('0080f', '#123456'), '#123456');
    assert.equal(f.hexColor('"><x', '#123456'), '#123456');
});

test('ApStyle: defaults, the run-together field and damaged values', () => {
    // Values come back in the model's terms, as the markup's data holds them.
    const a = f.parseApStyle(DEFAULT_APSTYLE);
    assert.deepEqual(
        [
            a.BackColor, a.OpenSpeed, a.CloseSpeed, a.ShowSelectionAlways, a.DisplayAllBranches,
            a.HasLines, a.GradientDir, a.BackKind, a.BackBorder, a.LineThick, a.LineColor,
            a.ProgressBar, a.LoadingMessage
        ],
        ['#000000', 5, 5, 1, 0, 1, 1, 1, 0, 5, '#050000', 1, 'Loading Image...']);

    const b = f.parseApStyle(
        'ff0000,ff0000,bg.gif,1,3,4,snd.au,0,0,50,1,0,092,2,3,00ff00,0,Wait~@^` please');
    assert.deepEqual(
        [
            b.BackImage, b.ImageTile, b.ImageX, b.ImageY, b.Audio, b.ShowSelectionAlways,
            b.OpenSpeed, b.CloseSpeed, b.DisplayAllBranches, b.HasLines
        ],
        ['bg.gif', 1, 3, 4, 'snd.au', 0, 0, 50, 1, 0]);
    // "092": single direction, the last vertical gradient (applet code 9), sunken border.
    assert.deepEqual([b.GradientDir, b.BackKind, b.BackBorder], [0, 4, 2]);
    assert.deepEqual([b.LineIndent, b.LineThick, b.LineColor], [2, 3, '#00ff00']);
    assert.equal(b.LoadingMessage, 'Wait, please');
    // The applet's plain fill is the model's 0.
    assert.equal(f.parseApStyle('0,0,,0,0,0,,1,5,5,0,1,010').BackKind, 0);

    // Speeds outside 0..50 are held at the ends; unreadable values are the model's defaults.
    const c = f.parseApStyle('zz,zz,,x,,,,,90,-3,,,7,,,,,');
    assert.deepEqual(
        [c.BackColor, c.ImageTile, c.OpenSpeed, c.CloseSpeed, c.BackKind, c.LoadingMessage],
        ['#000000', 0, 50, 0, 1, '']);
    // A flag is on for any number but 0; a choice out of its range is its default. The
    // settings for today's browsers are not in the applet's parameters.
    const d = f.parseApStyle('0,0,,5,0,0,,x,5,5,-3,1,153');
    assert.deepEqual([d.ImageTile, d.ShowSelectionAlways, d.DisplayAllBranches], [1, 1, 1]);
    assert.deepEqual([d.GradientDir, d.BackKind, d.BackBorder], [1, 1, 0]);
    assert.deepEqual([d.FixedBox, d.CompactBelow, d.Direction], [0, 640, 0]);
});

test('MStyle and IStyle fields', () => {
    const m = f.parseMenu('000000,01,0,0,40,0,80,20,5,0', '');
    assert.deepEqual(
        [m.BackStyle, m.Indent, m.TopOffset, m.ItemWidth, m.ItemHeight, m.ItemGap, m.ItemBorder],
        [0, 40, 0, 80, 20, 5, 0]);
    // "02" bordered, "11" filled, "12" both.
    assert.deepEqual(
        ['02', '11', '12', '3x'].map((code) => f.parseMenu(`0,${code}`, '').BackStyle),
        [1, 2, 3, 0]);
    const filled = f.parseMenu('102030,12,0,0,10,7,90,22,3,2', '');
    assert.deepEqual([filled.BackColor, filled.TopOffset], ['#102030', 7]);

    const looks = f.parseMenu(
        '',
        DEFAULT_GROUP + 'ff0000,00ff00,163,1,1,12,1,12,3,4,,,' +
            '0000ff,ffffff,093,4,2,10,2,21,5,6,,,');
    assert.equal(looks.Normal.FontColor, '#ffffff');
    assert.equal(looks.Normal.Border, 0);
    assert.equal(looks.Normal.FontSize, 14);
    const over = looks.Over;
    assert.deepEqual(
        [over.BackColor, over.BackKind, over.Border, over.Effect, over.FontName],
        ['#ff0000', 6, 2, 1, 1]);
    assert.deepEqual(
        [over.ImageAlign, over.TextAlign, over.ImageOffset, over.TextOffset], [1, 2, 3, 4]);
    const click = looks.Click;
    assert.deepEqual(
        [click.GradientDir, click.BackKind, click.Border, click.FontStyle, click.TextOffset],
        [0, 9, 2, 2, 6]);
    // A short IStyle leaves the missing groups at their defaults.
    const short = f.parseMenu('', 'ff00ff,000000,101,0,2,9,1,00,0,0,,,');
    assert.equal(short.Normal.BackKind, 0);
    assert.equal(short.Click.FontSize, 14);
    assert.equal(short.Click.BackColor, '#000000');
});

test('item links keep commas and never take a script address', () => {
    const item = f.parseItem('Shop,,,,,,,_top,shop.html?a=1,2');
    assert.equal(item.Link, 'shop.html?a=1,2');
    assert.equal(item.TargetFrame, '_top');
    assert.equal(f.parseItem('Bare,,,,,,,,').TargetFrame, '_self');
    const base = 'http://example.test/site/index.html';
    assert.equal(f.safeLink('shop.html', base), 'http://example.test/site/shop.html');
    assert.equal(f.safeLink(' JavaScript:alert(1)', base), '');
    assert.equal(f.safeLink('data:text/html,x', base), '');
    assert.equal(f.safeLink('', base), '');
});

test('Misc and the menu tree', () => {
    // One top-level menu with two items, the second owning a one-item sub-menu.
    const model = f.buildModel(lookupOf({
        ApStyle: DEFAULT_APSTYLE,
        'MStyle-0': '000000,01,0,0,40,0,80,20,5,0',
        'IStyle-0': DEFAULT_GROUP.repeat(3),
        'I0-0': 'A,,,,,,,,a.html',
        'I0-1': 'B,,,,,,,,',
        'MStyle-1': '000000,01,0,0,40,0,80,20,5,0',
        'IStyle-1': DEFAULT_GROUP.repeat(3),
        'I1-0': 'C,,,,,,,_blank,c.html',
        Misc: '2,2,1,-0,1-1,',
    }));
    assert.equal(model.tops.length, 1);
    const [a, b] = model.tops[0].items;
    assert.deepEqual([a.Label, b.Label], ['A', 'B']);
    assert.equal(a.sub, null);
    assert.equal(b.sub.items[0].Label, 'C');
    assert.equal(b.sub.owner, b);
    assert.deepEqual(f.branchOf(b.sub.items[0]), [b]);

    const misc = f.parseMisc('3,1,1,1,-0,-2,0-1,');
    assert.deepEqual(misc.counts, [1, 1, 1]);
    assert.deepEqual(misc.tops, [0, 2]);
    assert.deepEqual(misc.links, [{item: 0, menu: 1}]);
    assert.equal(f.buildModel(lookupOf({Misc: '0,'})).tops.length, 0);
    assert.equal(f.buildModel(lookupOf({})).tops.length, 0);
});

test('damaged trees draw what they can', () => {
    const base = {
        'I0-0': 'A,,,,,,,,',
        'I0-1': 'B,,,,,,,,',
        'I1-0': 'C,,,,,,,,',
        'I2-0': 'D,,,,,,,,',
    };
    // Item 2 (C, in menu 1) claims menu 1, its own menu: a cycle. Item 0 claims menu 2 and item 1
    // claims it again: a second owner. Item 9 does not exist.
    const model = f.buildModel(lookupOf({...base, Misc: '3,2,1,1,-0,2-1,0-2,1-2,9-1,1-7,'}));
    const [a, b] = model.tops[0].items;
    assert.equal(a.sub.items[0].Label, 'D');
    assert.equal(b.sub, null);
    assert.equal(model.menus[1].owner, null);
    // Menu 1 has no owner and no top-level entry: it stays unreachable rather than drawn twice.
    assert.equal(model.tops.length, 1);

    // A missing item parameter drops that item but keeps later global indexes in line.
    const gap =
        f.buildModel(lookupOf({'I0-1': 'B,,,,,,,,', 'I1-0': 'C,,,,,,,,', Misc: '2,2,1,-0,1-1,'}));
    assert.deepEqual(gap.tops[0].items.map((i) => i.Label), ['B']);
    assert.equal(gap.tops[0].items[0].sub.items[0].Label, 'C');

    // Without top-level entries every unowned menu is drawn.
    const noTops = f.buildModel(lookupOf({...base, Misc: '2,1,1,'}));
    assert.equal(noTops.tops.length, 2);

    // Arbitrary garbage never throws.
    let seed = 7;
    const rnd = () => ((seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648);
    const alphabet = '0123456789,-~@^`|_#abcf ';
    const junk = () => Array
                           .from(
                               {length: Math.floor(rnd() * 40)},
                               () => alphabet[Math.floor(rnd() * alphabet.length)])
                           .join('');
    for (let n = 0; n < 300; n++) {
        const params = {
            ApStyle: junk(),
            Misc: junk(),
            'MStyle-0': junk(),
            'IStyle-0': junk(),
            'I0-0': junk(),
            'I0-1': junk(),
            'I1-0': junk()
        };
        assert.doesNotThrow(() => f.buildModel(lookupOf(params)));
    }
});

test('slide speeds and reduced motion', () => {
    assert.equal(f.slideDuration(0, false), 0);
    assert.ok(f.slideDuration(5, false) > 0);
    assert.ok(f.slideDuration(50, false) > f.slideDuration(5, false));
    assert.equal(f.slideDuration(80, false), f.slideDuration(50, false));
    assert.equal(f.slideDuration(50, true), 0);
});

test('backgrounds', () => {
    const look = (BackKind, GradientDir = 0) => ({BackKind, BackColor: '#112233', GradientDir});
    assert.equal(f.itemBackground(look(0)), 'transparent');
    assert.equal(f.itemBackground(look(1)), '#112233');
    assert.equal(f.itemBackground(look(2)), 'linear-gradient(to right, #000000, #112233)');
    assert.equal(f.itemBackground(look(3)), 'linear-gradient(to right, #ffffff, #112233)');
    assert.equal(f.itemBackground(look(4)), 'linear-gradient(to right, #112233, #000000)');
    assert.equal(f.itemBackground(look(9)), 'linear-gradient(to bottom, #112233, #ffffff)');
    assert.equal(
        f.itemBackground(look(6, 1)), 'linear-gradient(to bottom, #000000, #112233 50%, #000000)');
    // A horizontal gradient runs from the inline start.
    assert.equal(f.itemBackground(look(2), true), 'linear-gradient(to left, #000000, #112233)');
    assert.equal(
        f.appletBackground({BackKind: 0, BackColor: '#445566', GradientDir: 1}), '#445566');
    assert.equal(
        f.appletBackground({BackKind: 3, BackColor: '#445566', GradientDir: 0}),
        'linear-gradient(to bottom, #445566, #000000)');
});

test('file references follow the codebase', () => {
    const page = 'http://example.test/site/page.html';
    assert.equal(
        f.resolveFile('img/x.gif', f.fileBase('', page)), 'http://example.test/site/img/x.gif');
    assert.equal(
        f.resolveFile('x.gif', f.fileBase('tmp', page)), 'http://example.test/site/tmp/x.gif');
    assert.equal(
        f.resolveFile('x.gif', f.fileBase('/res/', page)), 'http://example.test/res/x.gif');
    assert.equal(
        f.resolveFile('pics\\x.gif', f.fileBase('', page)), 'http://example.test/site/pics/x.gif');
    assert.equal(f.resolveFile('', f.fileBase('tmp', page)), '');
    assert.equal(
        f.resolveFile('x.gif', f.fileBase('D:\\site\\tmp\\', page)), 'file:///D:/site/tmp/x.gif');
});

test('the current page selects its item, ignoring the fragment', () => {
    const model = f.buildModel(lookupOf({
        'I0-0': 'Home,,,,,,,,index.html',
        'I0-1': 'More,,,,,,,,',
        'I1-0': 'Deeper,,,,,,,,',
        'I2-0': 'Leaf,,,,,,,,docs/leaf.html#top',
        Misc: '3,2,1,1,-0,1-1,2-2,',
    }));
    const base = 'http://example.test/site/index.html';
    const hit = f.findCurrentItem(model, 'http://example.test/site/docs/leaf.html#intro', base);
    assert.equal(hit.Label, 'Leaf');
    assert.deepEqual(f.branchOf(hit).map((i) => i.Label), ['Deeper', 'More']);
    assert.equal(f.findCurrentItem(model, 'http://example.test/site/other.html', base), null);
    assert.equal(f.findCurrentItem(model, base, base).Label, 'Home');
});

test('the file can be embedded in an inline script element', () => {
    const source = fs.readFileSync(path.join(__dirname, '..', 'furlin.js'), 'utf8');
    assert.doesNotMatch(source, /<\/script/i);
    assert.doesNotMatch(source, /<!--/);
});
