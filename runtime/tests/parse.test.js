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
    assert.equal(item.label, 'One, two\nthree');
    assert.equal(item.target, '_self');
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
    const a = f.parseApStyle(DEFAULT_APSTYLE);
    assert.equal(a.backColor, '#000000');
    assert.equal(a.openSpeed, 5);
    assert.equal(a.closeSpeed, 5);
    assert.equal(a.showSelectionAlways, true);
    assert.equal(a.displayAllBranches, false);
    assert.equal(a.hasLines, true);
    assert.equal(a.gradientDir, 1);
    assert.equal(a.backKind, 6);
    assert.equal(a.backBorder, 0);
    assert.equal(a.lineThick, 5);
    assert.equal(a.lineColor, '#050000');
    assert.equal(a.progressBar, true);
    assert.equal(a.loadingMessage, 'Loading Image...');

    const b = f.parseApStyle(
        'ff0000,ff0000,bg.gif,1,3,4,snd.au,0,0,50,1,0,092,2,3,00ff00,0,Wait~@^` please');
    assert.equal(b.backImage, 'bg.gif');
    assert.equal(b.imageTile, true);
    assert.equal(b.audio, 'snd.au');
    assert.equal(b.openSpeed, 0);
    assert.equal(b.closeSpeed, 50);
    assert.equal(b.gradientDir, 0);
    assert.equal(b.backKind, 9);
    assert.equal(b.backBorder, 2);
    assert.equal(b.loadingMessage, 'Wait, please');

    // Speeds outside 0..50 are held at the ends; an unreadable background is a plain fill.
    const c = f.parseApStyle('zz,zz,,x,,,,,90,-3,,,7,,,,,');
    assert.equal(c.backColor, '#000000');
    assert.equal(c.openSpeed, 50);
    assert.equal(c.closeSpeed, 0);
    assert.equal(c.backKind, 1);
    assert.equal(c.loadingMessage, '');
});

test('MStyle and IStyle fields', () => {
    const m = f.parseMStyle('000000,01,0,0,40,0,80,20,5,0');
    assert.deepEqual(
        [
            m.filled, m.bordered, m.indent, m.topOffset, m.itemWidth, m.itemHeight, m.itemGap,
            m.itemBorder
        ],
        [false, false, 40, 0, 80, 20, 5, 0]);
    const filled = f.parseMStyle('102030,12,0,0,10,7,90,22,3,2');
    assert.equal(filled.backColor, '#102030');
    assert.equal(filled.filled, true);
    assert.equal(filled.bordered, true);
    assert.equal(filled.topOffset, 7);

    const looks = f.parseIStyle(
        DEFAULT_GROUP + 'ff0000,00ff00,163,1,1,12,1,12,3,4,,,' +
        '0000ff,ffffff,093,4,2,10,2,21,5,6,,,');
    assert.equal(looks.normal.fontColor, '#ffffff');
    assert.equal(looks.normal.border, 0);
    assert.equal(looks.normal.fontSize, 14);
    assert.deepEqual(
        [
            looks.over.backColor, looks.over.backKind, looks.over.border, looks.over.effect,
            looks.over.fontName
        ],
        ['#ff0000', 6, 2, 1, 1]);
    assert.deepEqual(
        [
            looks.over.imageAlign, looks.over.textAlign, looks.over.imageOffset,
            looks.over.textOffset
        ],
        [1, 2, 3, 4]);
    assert.deepEqual(
        [
            looks.click.gradientDir, looks.click.backKind, looks.click.border,
            looks.click.fontStyle, looks.click.textOffset
        ],
        [0, 9, 2, 2, 6]);
    // A short IStyle leaves the missing groups at their defaults.
    const short = f.parseIStyle('ff00ff,000000,101,0,2,9,1,00,0,0,,,');
    assert.equal(short.normal.backKind, 0);
    assert.equal(short.click.fontSize, 14);
    assert.equal(short.click.backColor, '#000000');
});

test('item links keep commas and never take a script address', () => {
    const item = f.parseItem('Shop,,,,,,,_top,shop.html?a=1,2');
    assert.equal(item.link, 'shop.html?a=1,2');
    assert.equal(item.target, '_top');
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
    assert.deepEqual([a.label, b.label], ['A', 'B']);
    assert.equal(a.sub, null);
    assert.equal(b.sub.items[0].label, 'C');
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
    assert.equal(a.sub.items[0].label, 'D');
    assert.equal(b.sub, null);
    assert.equal(model.menus[1].owner, null);
    // Menu 1 has no owner and no top-level entry: it stays unreachable rather than drawn twice.
    assert.equal(model.tops.length, 1);

    // A missing item parameter drops that item but keeps later global indexes in line.
    const gap =
        f.buildModel(lookupOf({'I0-1': 'B,,,,,,,,', 'I1-0': 'C,,,,,,,,', Misc: '2,2,1,-0,1-1,'}));
    assert.deepEqual(gap.tops[0].items.map((i) => i.label), ['B']);
    assert.equal(gap.tops[0].items[0].sub.items[0].label, 'C');

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
    const look = (backKind, gradientDir = 0) => ({backKind, backColor: '#112233', gradientDir});
    assert.equal(f.itemBackground(look(0)), 'transparent');
    assert.equal(f.itemBackground(look(1)), '#112233');
    assert.equal(f.itemBackground(look(2)), 'linear-gradient(to right, #000000, #112233)');
    assert.equal(f.itemBackground(look(3)), 'linear-gradient(to right, #ffffff, #112233)');
    assert.equal(f.itemBackground(look(4)), 'linear-gradient(to right, #112233, #000000)');
    assert.equal(f.itemBackground(look(9)), 'linear-gradient(to bottom, #112233, #ffffff)');
    assert.equal(
        f.itemBackground(look(6, 1)), 'linear-gradient(to bottom, #000000, #112233 50%, #000000)');
    assert.equal(
        f.appletBackground({backKind: 1, backColor: '#445566', gradientDir: 1}), '#445566');
    assert.equal(
        f.appletBackground({backKind: 8, backColor: '#445566', gradientDir: 0}),
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
    assert.equal(hit.label, 'Leaf');
    assert.deepEqual(f.branchOf(hit).map((i) => i.label), ['Deeper', 'More']);
    assert.equal(f.findCurrentItem(model, 'http://example.test/site/other.html', base), null);
    assert.equal(f.findCurrentItem(model, base, base).label, 'Home');
});

test('the file can be embedded in an inline script element', () => {
    const source = fs.readFileSync(path.join(__dirname, '..', 'furlin.js'), 'utf8');
    assert.doesNotMatch(source, /<\/script/i);
    assert.doesNotMatch(source, /<!--/);
});
