'use strict';
// The markup of the modern HTML kinds is valid HTML inside a page's body: the hand-written
// fixtures, the component's kinds 2 and 3 for the fixture document and for a widget of hostile
// texts, and the widget as the runtime has drawn it. Kinds 0 and 1 keep their historical form:
// only the widget the runtime builds from them is checked.
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const {HtmlValidate} = require('html-validate');
const {FIXTURES, pageHtml, useBrowser, componentHtml} = require('./browser.js');

const validator = new HtmlValidate({extends: ['html-validate:recommended']});

async function faults(fragment, rules = {}) {
    const report = await validator.validateString(pageHtml(fragment), {rules});
    return report.results.flatMap(
        (r) => r.messages.map((m) => `${m.line}:${m.column} ${m.ruleId}: ${m.message}`));
}

const read = (name) => fs.readFileSync(path.join(FIXTURES, name), 'utf8');

// The href and src values (and file references in the data) that are not valid URL strings:
// only ASCII URL code points, "%" before two hex digits, one "#" at most, no backslash.
function badAddresses(html) {
    const unquote = (v) => v.replace(/&quot;/g, '"')
                               .replace(/&lt;/g, '<')
                               .replace(/&gt;/g, '>')
                               .replace(/&amp;/g, '&');
    const values = [...html.matchAll(/\s(?:href|src)="([^"]*)"/g)].map((m) => unquote(m[1]));
    for (const m of html.matchAll(/data-furlin="(\{[^"]*\})"/g)) {
        const data = JSON.parse(unquote(m[1]));
        for (const key
                 of ['NormalImage', 'OverImage', 'ClickImage', 'OverAudio', 'ClickAudio',
                     'BackImage', 'Audio'])
            if (typeof data[key] === 'string') values.push(data[key]);
    }
    return values.filter(
        (url) =>
            !/^[A-Za-z0-9\-._~!$&'()*+,;=:@/?\[\]]*(#[A-Za-z0-9\-._~!$&'()*+,;=:@/?\[\]%]*)?$/.test(
                url.replace(/%[0-9A-Fa-f]{2}/g, '')) ||
            /%(?![0-9A-Fa-f]{2})/.test(url));
}
const FIXTURE_TSL = read('three-level.tsl');

// A widget document in the stored format. A menu is {items, hidden}; an item is {label,
// description, link, target, image, hidden, sub}. Only labels may hold commas and line breaks.
function widgetDocument(applet, topMenus, previewPath = '') {
    const menus = [];
    const number = (menu) => menus.push(menu) - 1;
    const links = topMenus.map((menu) => `-${number(menu)},`);
    const lines = [];
    const itemStyle = /IStyle-0 = (.*)\r\n/.exec(FIXTURE_TSL)[1];
    for (let m = 0, j = 0; m < menus.length; ++m) {
        const items = menus[m].items;
        lines.push(`MStyle-${m} = 15658734,0,0,0,20,15,150,24,4,1,Menu,${menus[m].hidden ? 0 : 1}`);
        lines.push(`IStyle-${m} = ${itemStyle}`);
        items.forEach((it, k) => {
            const label = it.label.replaceAll('\r\n', '|_#`').replaceAll(',', '~@^`');
            const fields = [label, it.description, it.link, it.target, it.image];
            lines.push(
                `I${m}-${k + 1} = ${fields.map((f) => f || '').join(',')},,,,,` +
                `${it.hidden ? 0 : 1},,,,,`);
            links.push(`${j++}-${number(it.sub || {items: []})},`);
        });
    }
    const misc =
        `${menus.length},${menus.map((m) => `${m.items.length},`).join('')}${links.join('')}`;
    const parameters = [`ApStyle = ${applet}`, ...lines, `Misc = ${misc}`, ''].join('\r\n');
    return FIXTURE_TSL.replace(/PreviewPath = .*/, () => `PreviewPath = ${previewPath}`)
        .replace(/ApStyle = [\s\S]*?(?========== Parameter Part End)/, () => parameters);
}

const shown = (label, link = 'page.html') => ({label, link});
// Everything a user may type where a text goes, and every way a menu can end up empty.
const HOSTILE = widgetDocument(
    'Nav <"&\'> \u00fc\u2713,1,240,360,15266036,15266036,,0,0,0,,1,5,5,0,1,2,2,0,8,2,8421504,10,,,' +
        'my res/?a=1&b=<2>,1,<b>"Wait"</b> & see~@^` please',
    [
        {
            items: [
                {
                    label: 'a < b & "c" \'d\' &amp; <br> ]]> <!--',
                    description: '<i>"tip"</i> & \'more\'',
                    link: 'my page.html?a=1&b=<2>"x"',
                    target: '_blank',
                },
                {label: 'Line one\r\nline two\r\n\r\nthree, four', link: 'x.html', target: '_top'},
                {label: 'Ctl\x01\x08\x0b\x1b\x7f\u0085\u009fend', link: 'java\x01script:alert(1)'},
                {
                    label: 'W'.repeat(30000) + ' long'.repeat(3000),
                    description: 'd'.repeat(5000),
                    link: `${'l'.repeat(5000)}.html`
                },
                {label: '', image: 'dot.png', description: 'Picture <page>', link: 'pic.html'},
                {label: '', image: 'dot.png'},
                {label: '  ', image: 'dot.png', link: 'blank-label.html', target: 'my frame'},
                {
                    label: 'Hidden',
                    hidden: true,
                    link: 'h.html',
                    sub: {items: [shown('Under hidden')]}
                },
                {label: 'New window', link: 'n.html', target: '_new'},
                {label: 'Upper case', link: 'u.html', target: '_BLANK'},
                {label: 'Dangling', link: 'd.html', target: 'a\t<b'},
                {label: '', link: 'nameless.html'},
                {label: ' ', description: 'Described only', link: 'described.html'},
                {label: '', description: 'Plain described'},
                shown('Mail', 'mailto:a b@example.com?subject=a "b"'),
                shown('Script', '  JaVaScRiPt:alert(1)'),
                shown('VB', 'vbscript:msgbox'),
                shown('Data', 'data:text/html;base64'),
                shown('Telephone', 'tel:+1 555 0100'),
                shown('Share', '\\\\server\\share\\a b.html'),
                shown('Fragment', '#frag ment'),
                shown('Blank link', '   '),
                {label: 'Empty sub-menu', sub: {items: []}},
                {label: '', description: 'Described parent', sub: {items: [shown('Child')]}},
                {label: '', sub: {items: [shown('Orphan')]}},
                {label: 'Only hidden below', sub: {items: [{label: 'Gone', hidden: true}]}},
                {
                    label: 'Hidden sub-menu',
                    link: 'hs.html',
                    sub: {hidden: true, items: [shown('X')]}
                },
                {
                    label: 'Deep',
                    sub: {items: [{label: 'Deeper & <deeper>', sub: {items: [shown('Deepest')]}}]},
                },
            ],
        },
        {hidden: true, items: [shown('In a hidden menu')]},
        {items: [{label: 'All hidden', hidden: true}]},
        {items: []},
        {items: [shown('Last "menu"', 'last.html')]},
    ],
    'C:\\My & Preview <Files>\\');
const NOTHING_SHOWN =
    widgetDocument('Empty,0,100,100,0,0,,0,0,0,,0,5,5,0,0,0,0,0,8,2,0,0,,,,0,', [{items: []}]);

// The pages the browser is served: each a widget's markup by its path. The applet fragment is
// not checked itself, only the widget the runtime builds from it.
const pages = {
    '/applet.html': read('three-level.html'),
    '/fixture.html': read('three-level.markup.html'),
    '/edge.html': read('edge-cases.markup.html'),
};
const env = useBrowser((pathname) => (pages[pathname] ? pageHtml(pages[pathname]) : null));

test('the hand-written fixtures are valid', async () => {
    for (const name of ['three-level.markup.html', 'edge-cases.markup.html'])
        assert.deepEqual(await faults(read(name)), [], name);
});

test('the component writes valid kinds 2 and 3, whatever the texts', async (t) => {
    const documents = {fixture: FIXTURE_TSL, hostile: HOSTILE, 'nothing shown': NOTHING_SHOWN};
    for (const [name, tsl] of Object.entries(documents)) {
        const html = componentHtml(env.scratch, [2, 3, 1], tsl);
        if (!html) {
            t.skip('no built component');
            return;
        }
        for (const [i, kind] of [2, 3].entries()) {
            assert.match(html[i], /<nav class="furlin"/, `${name} kind ${kind}`);
            assert.deepEqual(await faults(html[i]), [], `${name} kind ${kind}`);
            assert.deepEqual(badAddresses(html[i]), [], `${name} kind ${kind}`);
        }
        if (name !== 'hostile') continue;
        // The Windows preview folder is a file address the browser can load.
        assert.ok(
            html[0].includes('src="file:///C:/My%20&amp;%20Preview%20%3CFiles%3E/furlin.js"'),
            html[0].slice(-200));
        // Every shown item is there, none of the hidden ones.
        assert.equal(html[1].match(/<li/g).length, 33);
        [, pages['/hostile.html'], pages['/hostile-applet.html']] = html;
    }
});

test('the widget stays valid once the runtime has drawn it and set up every branch', async () => {
    for (const page of Object.keys(pages)) {
        const p = await env.open(page.slice(1));
        await p.locator('.furlin-loading').waitFor({state: 'detached'});
        // Each branch is set up when first opened; opening one may close another.
        const toggles = p.locator('nav.furlin li>[aria-expanded]');
        for (let i = 0; i < (await toggles.count()); ++i)
            if ((await toggles.nth(i).getAttribute('aria-expanded')) === 'false')
                await toggles.nth(i).click();
        assert.equal(await p.locator('nav.furlin li:not(.furlin-entry)').count(), 0, page);
        const drawn = await p.locator('.furlin-block').evaluate((el) => el.outerHTML);
        // The runtime styles through the CSS object model, which shows as style attributes.
        assert.deepEqual(await faults(drawn, {'no-inline-style': 'off'}), [], page);
        assert.deepEqual(p.errors, [], page);
        await p.close();
    }
});
