'use strict';
// The menu on every screen and in every language, in headless Chromium: fluid at 320, 360 and
// 1280 px, folded behind "Menu" on narrow containers, targets a finger or pointer can hit, images
// beside their labels and loaded when shown, mirrored right to left, every link in the full
// accessibility tree, and the page's own item marked with scripts on and off.
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const {STRICT_CSP, openPage, item, useBrowser, componentHtml} = require('./browser.js');
const {look, widget, tree, itemCount} = require('./widgets.js');

const page = (body, dir = 'ltr') => `<!DOCTYPE html>
<html lang="en" dir="${dir}"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1"><title>Menu</title></head>
<body>
${body}
</body></html>`;

// A menu five levels deep under its second item, with long labels, a linked parent, an
// unlinked one and a described link.
const DEEP = {
    menus: [{
        items: [
            {label: 'Home', link: 'index.html', title: 'Start page'},
            {
                label: 'Products',
                sub: {
                    items: [
                        {
                            label: 'Gadgets',
                            link: 'gadgets.html',
                            sub: {
                                items: [{
                                    label: 'Level three',
                                    sub: {
                                        items: [{
                                            label: 'Level four',
                                            sub: {
                                                items: [{
                                                    label:
                                                        'A label long enough to wrap at any width',
                                                    link: 'deepest.html'
                                                }]
                                            }
                                        }]
                                    }
                                }]
                            }
                        },
                        {label: 'Widgets', link: 'widgets.html'},
                    ]
                }
            },
            {label: 'Supercalifragilisticexpialidocious', link: 'long.html'},
        ]
    }]
};
// Small items as two shipped templates had them: 20 px tall, 2 px apart.
const SMALL = look({ItemHeight: 20, ItemGap: 2, ItemWidth: 90, Indent: 12});
const SMALL_LOOKS = [{...SMALL, TopOffset: 4}, SMALL];

const pages = {
    '/deep.html': page(widget(DEEP)),
    '/deep-rtl.html': page(widget(DEEP), 'rtl'),
    '/deep-direction.html': page(widget({...DEEP, applet: {Direction: 2}, dir: 'rtl'})),
    '/small.html': page(widget({...DEEP, looks: SMALL_LOOKS})),
    '/short.html':
        page(widget({applet: {Height: 300}, menus: [{items: [{label: 'One', link: 'one.html'}]}]})),
    '/fixed.html': page(widget({...DEEP, applet: {FixedBox: 1, Width: 200, Height: 120}})),
    '/never.html': page(widget({...DEEP, applet: {CompactBelow: 0}})),
    '/column.html': page(`<div id="column">${widget(DEEP)}</div>`),
    // A container as wide as its content: folded, the open menu is wider than the breakpoint.
    '/shrink.html': page(`<div style="display:inline-block">${widget({
        menus: [{
            items: [
                {label: 'Home', link: 'index.html'},
                {
                    label: 'A label that runs on and on, far wider than any phone could show on ' +
                        'one line, and then some more, so that it passes the breakpoint',
                    link: 'a.html'
                },
            ].map((i) => ({...i, label: i.label.replace(/ /g, '\u00a0')}))
        }]
    })}</div>`),
    '/current.html': page(widget({
        menus: [{
            items: [
                {label: 'Home', link: 'index.html'},
                {
                    label: 'Guides',
                    sub: {items: [{label: 'Install', link: 'install.html', current: true}]}
                },
            ]
        }]
    })),
};

function route(pathname, url) {
    const body = pages[pathname];
    if (body === undefined) return null;
    return url.searchParams.has('strict') ? {body, csp: STRICT_CSP} : body;
}

const env = useBrowser(route);

async function openAt(width, name, options = {}) {
    const context = await env.browser.newContext({
        viewport: {width, height: 640},
        javaScriptEnabled: options.scripts !== false,
        hasTouch: !!options.touch,
        isMobile: !!options.touch,
    });
    const p = await openPage(
        context, `${env.server.baseUrl}${name}`, {waitForWidget: options.scripts !== false});
    p.closeAll = async () => {
        assert.deepEqual(p.errors, [], 'script errors');
        if (options.scripts !== false)
            assert.deepEqual(await p.evaluate(() => window.reported), [], 'reported errors');
        await context.close();
    };
    return p;
}

// Opens the menu button when the menu is folded, then every branch.
async function openEverything(p) {
    const button = p.locator('.furlin-menu-button');
    if (await button.isVisible()) await button.click();
    for (let round = 0; round < 8; round++) {
        const closed = p.locator('nav.furlin li>[aria-expanded=false]:visible');
        if ((await closed.count()) === 0) break;
        await closed.first().click();
    }
    await p.waitForFunction(() => !document.querySelector('.furlin-sub[style*="px"]'));
}

// The page's and the menu's overflow: neither may scroll sideways, the menu not at all.
const overflow = (p) => p.evaluate(() => {
    const nav = document.querySelector('nav.furlin');
    return {
        page: document.documentElement.scrollWidth - document.documentElement.clientWidth,
        across: nav.scrollWidth - nav.clientWidth,
        down: nav.scrollHeight - nav.clientHeight,
    };
});

// Every link and button shown in the menu, with its box.
const targets = (p) =>
    p.locator('nav.furlin :is(a[href], button)')
        .evaluateAll((all) => all.filter((el) => el.checkVisibility()).map((el) => {
            const r = el.getBoundingClientRect();
            return {
                name: el.textContent.trim() || el.getAttribute('aria-label'),
                w: r.width,
                h: r.height
            };
        }));

test(
    'at 320, 360 and 1280 px nothing scrolls sideways and the menu never scrolls inside',
    async () => {
        for (const width of [320, 360, 1280]) {
            for (const name of ['/deep.html', '/deep-rtl.html', '/never.html']) {
                const p = await openAt(width, name);
                await openEverything(p);
                assert.ok(await item(p, 'A label long enough').isVisible(), `${name} at ${width}`);
                assert.deepEqual(
                    await overflow(p), {page: 0, across: 0, down: 0}, `${name} at ${width}`);
                // No label is clipped: each item holds its text.
                const clipped =
                    await p.locator('nav.furlin .furlin-label')
                        .evaluateAll(
                            (all) => all.filter((el) => el.checkVisibility())
                                         .filter((el) => el.scrollWidth > el.clientWidth + 1)
                                         .map((el) => el.textContent));
                assert.deepEqual(clipped, [], `${name} at ${width}`);
                await p.closeAll();
            }
        }
    });

test(
    'Width is the wide menu\'s width, Height its least height; Fixed Box keeps the box',
    async () => {
        const wide = await openAt(1280, '/deep.html');
        const box = async (p) => p.locator('nav.furlin').boundingBox();
        assert.deepEqual([(await box(wide)).width, (await box(wide)).height], [240, 360]);
        await openEverything(wide);
        assert.equal((await box(wide)).width, 240);
        await wide.closeAll();
        // A short menu keeps the least height; it never shrinks below it.
        const short = await openAt(1280, '/short.html');
        assert.equal((await box(short)).height, 300);
        await short.closeAll();
        // Growing with its open branches, past Height.
        const grown = await openAt(1280, '/deep.html');
        await grown.locator('nav.furlin').evaluate((nav) => {
            nav.style.minBlockSize = '60px';
        });
        await openEverything(grown);
        assert.ok((await box(grown)).height > 200);
        assert.deepEqual(await overflow(grown), {page: 0, across: 0, down: 0});
        await grown.closeAll();
        // The fixed box stays Width x Height and scrolls inside, as before.
        const fixed = await openAt(1280, '/fixed.html');
        await openEverything(fixed);
        assert.deepEqual([(await box(fixed)).width, (await box(fixed)).height], [200, 120]);
        assert.ok((await overflow(fixed)).down > 0);
        await fixed.closeAll();
    });

test(
    'below Compact Below a "Menu" button folds the menu; above it, and without scripts, none',
    async () => {
        const phone = await openAt(360, '/deep.html');
        const button = phone.getByRole('button', {name: 'Menu', exact: true});
        assert.ok(await button.isVisible());
        assert.equal(await button.getAttribute('aria-expanded'), 'false');
        // Described by the widget's name.
        const description = await button.evaluate(
            (b) => document.getElementById(b.getAttribute('aria-describedby')).textContent);
        assert.equal(description, 'Test');
        assert.ok(!(await item(phone, 'Home').isVisible()));
        await button.click();
        assert.equal(await button.getAttribute('aria-expanded'), 'true');
        assert.ok(await item(phone, 'Home').isVisible());
        // Open, the tree takes the container's width.
        const [nav, block] = await phone.evaluate(
            () =>
                [document.querySelector('nav.furlin').getBoundingClientRect().width,
                 document.querySelector('.furlin-block').getBoundingClientRect().width,
        ]);
        assert.equal(nav, block);
        await button.click();
        assert.ok(!(await item(phone, 'Home').isVisible()));
        await phone.closeAll();

        const desk = await openAt(1280, '/deep.html');
        assert.ok(!(await desk.locator('.furlin-menu-button').isVisible()));
        assert.ok(await item(desk, 'Home').isVisible());
        // A narrow column of a wide page folds too: the container's width counts, not the window's.
        await desk.close();
        const column = await openAt(1280, '/column.html');
        assert.ok(!(await column.locator('.furlin-menu-button').isVisible()));
        await column.locator('#column').evaluate((el) => {
            el.style.width = '300px';
        });
        await column.locator('.furlin-menu-button').waitFor({state: 'visible'});
        await column.closeAll();
        // Compact Below 0 never folds.
        const never = await openAt(320, '/never.html');
        assert.equal(await never.locator('.furlin-menu-button').count(), 0);
        assert.ok(await item(never, 'Home').isVisible());
        await never.closeAll();

        const plain = await openAt(360, '/deep.html', {scripts: false});
        assert.equal(await plain.locator('nav.furlin button').count(), 0);
        const links = await plain.locator('nav.furlin a[href]')
                          .evaluateAll((all) => all.map((a) => a.checkVisibility()));
        assert.deepEqual(links, [true, true, true, true, true]);
        await plain.closeAll();
    });

test('folding by width never loops: no resize observer loop, no folding back and forth', async () => {
    // Every fold and unfold of the nav, frame by frame.
    const watch = (p) => p.evaluate(() => {
        const nav = document.querySelector('nav.furlin');
        window.folds = [];
        new MutationObserver(() => window.folds.push(nav.classList.contains('furlin-compact')))
            .observe(nav, {attributes: true, attributeFilter: ['class']});
    });
    const frames = (p, n) => p.evaluate(
        (count) => new Promise((done) => {
            const step = (left) => (left ? requestAnimationFrame(() => step(left - 1)) : done());
            step(count);
        }),
        n);
    // Folded as it loads, then across the breakpoint and back: each crossing folds once.
    const p = await openAt(360, '/deep.html');
    assert.ok(await p.locator('.furlin-menu-button').isVisible());
    await watch(p);
    await p.setViewportSize({width: 1280, height: 640});
    await frames(p, 5);
    await p.setViewportSize({width: 360, height: 640});
    await frames(p, 5);
    assert.deepEqual(await p.evaluate(() => window.folds), [false, true]);
    await p.closeAll();  // no error reported to the page

    // Opening the folded menu in a container as wide as its content widens the container past the
    // breakpoint: the menu unfolds once and stays so.
    const shrink = await openAt(1280, '/shrink.html');
    await shrink.locator('.furlin-menu-button').click();
    await watch(shrink);
    await frames(shrink, 20);
    const folds = await shrink.evaluate(() => window.folds);
    assert.ok(folds.length <= 1, `folded and unfolded ${folds.length} times`);
    await shrink.closeAll();
});

test(
    'every link and button is at least 24 x 24 CSS px, and 44 px tall in the compact layout',
    async () => {
        for (const width of [320, 360, 1280]) {
            const p = await openAt(width, '/small.html');
            await openEverything(p);
            const compact = width < 640;
            const found = await targets(p);
            assert.ok(found.length >= 9, `${found.length} controls at ${width}`);
            for (const t of found) {
                assert.ok(t.w >= 24, `${t.name} is ${t.w} px wide at ${width}`);
                assert.ok(t.h >= (compact ? 44 : 24), `${t.name} is ${t.h} px tall at ${width}`);
            }
            await p.closeAll();
        }
        const plain = await openAt(360, '/small.html', {scripts: false});
        for (const t of await targets(plain)) {
            assert.ok(t.w >= 24 && t.h >= 24, `${t.name} without scripts: ${t.w} x ${t.h}`);
        }
        await plain.closeAll();
    });

test('a tap opens a sub-menu; nothing needs hover', async () => {
    const p = await openAt(360, '/deep.html', {touch: true});
    await p.locator('.furlin-menu-button').tap();
    await item(p, 'Products').tap();
    await item(p, 'Gadgets').waitFor({state: 'visible'});
    assert.equal(await item(p, 'Products').getAttribute('aria-expanded'), 'true');
    const toggle = p.getByRole('button', {name: 'Show sub-menu of Gadgets'});
    await toggle.tap();
    await item(p, 'Level three').waitFor({state: 'visible'});
    assert.equal(await toggle.getAttribute('aria-expanded'), 'true');
    assert.equal(p.url(), `${env.server.baseUrl}/deep.html`);
    await p.closeAll();
});

test('right to left: the tree mirrors, by the page or by the widget\'s Direction', async () => {
    for (const name of ['/deep-rtl.html', '/deep-direction.html']) {
        const p = await openAt(1280, name);
        await openEverything(p);
        const geometry = await p.evaluate(() => {
            const box = (text) => [...document.querySelectorAll('.furlin-item')]
                                      .find((el) => el.textContent === text)
                                      .getBoundingClientRect();
            const gadgets = [...document.querySelectorAll('.furlin-item')].find(
                (el) => el.textContent === 'Gadgets');
            const label = box('Products');
            const chevron = [...document.querySelectorAll('.furlin-item')]
                                .find((el) => el.textContent === 'Products')
                                .querySelector('.furlin-chevron')
                                .getBoundingClientRect();
            return {
                nav: document.querySelector('nav.furlin').getBoundingClientRect().toJSON(),
                home: box('Home').toJSON(),
                gadgets: box('Gadgets').toJSON(),
                level: box('Level three').toJSON(),
                chevronRight: chevron.right,
                labelLeft: label.left,
                // The branch of a sub-menu item reaches out from its right edge.
                branch: getComputedStyle(gadgets, '::before').right,
                text: getComputedStyle(gadgets.querySelector('.furlin-label')).textAlign,
            };
        });
        // Items start at the right, each sub-menu further left.
        assert.ok(geometry.nav.right - geometry.home.right < 40, JSON.stringify(geometry));
        assert.ok(geometry.gadgets.right < geometry.home.right, 'a sub-menu indents to the left');
        assert.ok(geometry.level.right < geometry.gadgets.right);
        // The chevron sits at the item's end, which is its left.
        assert.ok(geometry.chevronRight < geometry.labelLeft + 30, JSON.stringify(geometry));
        assert.match(geometry.branch, /^-\d+px$/, 'the branch starts right of the item');
        assert.equal(geometry.text, 'right');
        // The arrow keys mirror: left opens, right closes.
        await item(p, 'Products').click();
        await item(p, 'Products').focus();
        await p.keyboard.press('ArrowLeft');
        assert.equal(await item(p, 'Products').getAttribute('aria-expanded'), 'true');
        await p.keyboard.press('ArrowRight');
        assert.equal(await item(p, 'Products').getAttribute('aria-expanded'), 'false');
        await p.closeAll();
    }
});

test('an override character in a label reorders nothing outside it', async () => {
    pages['/override.html'] = page(widget({
        menus: [{
            items: [
                {label: '\u202Eevil', link: 'evil.html', image: 'res/icon.png'},
                {label: 'Next', link: 'next.html'},
            ]
        }]
    }));
    for (const scripts of [true, false]) {
        const p = await openAt(1280, '/override.html', {scripts});
        const [image, evil, next] = await p.evaluate(() => {
            const a = document.querySelectorAll('nav.furlin a');
            const text = (el) => {
                const range = document.createRange();
                range.selectNodeContents(el);
                return range.getBoundingClientRect().toJSON();
            };
            return [
                a[0].querySelector('img').getBoundingClientRect().toJSON(), text(a[0]), text(a[1])
            ];
        });
        assert.ok(image.right <= evil.right, `the image stays first (scripts ${scripts})`);
        assert.ok(next.top >= evil.bottom - 1, 'the next item stays below');
        await p.closeAll();
    }
});

test('images take their own place beside or above the label, in either direction', async () => {
    const icon = (label, files) => ({label, link: `${label}.html`, image: 'res/icon.png', files});
    for (const [align, offset] of [[0, 0], [0, 6], [1, 3], [2, 6]]) {
        const looks = [look(
            {ItemWidth: 150, TopOffset: 0},
            {ImageAlign: align, ImageOffset: offset, TextOffset: 2})];
        const body = widget({
            looks,
            menus: [{items: [icon('Home'), icon('Rather long products label'), icon('')]}]
        });
        pages['/images.html'] = page(body);
        pages['/images-rtl.html'] = page(body, 'rtl');
        for (const name of ['/images.html', '/images-rtl.html']) {
            const p = await openAt(1280, name);
            await p.waitForFunction(
                () => [...document.querySelectorAll('nav img')].every((i) => i.complete));
            const faults =
                await p.locator('nav.furlin .furlin-item')
                    .evaluateAll((all) => all.flatMap((el) => {
                        const img = el.querySelector('img').getBoundingClientRect();
                        const label = el.querySelector('.furlin-label');
                        const range = document.createRange();
                        range.selectNodeContents(label);
                        const text = range.getBoundingClientRect();
                        const item = el.getBoundingClientRect();
                        const out = [];
                        if (img.width !== 16)
                            out.push(`${label.textContent}: image ${img.width} wide`);
                        if (text.width > 0 && img.left < text.right && text.left < img.right &&
                            img.top < text.bottom && text.top < img.bottom)
                            out.push(`${label.textContent}: image over the text`);
                        if (img.left < item.left || img.right > item.right)
                            out.push(`${label.textContent}: image outside`);
                        return out;
                    }));
            assert.deepEqual(faults, [], `${name} align ${align} offset ${offset}`);
            await p.closeAll();
        }
    }
});

test(
    'only the shown items\' images load at first; over and click images on first use', async () => {
        pages['/lazy.html'] = page(widget({
            menus: [{
                items: [
                    {
                        label: 'Shown',
                        link: 'shown.html',
                        image: 'res/shown.png',
                        files: {
                            NormalImage: 'res/shown.png',
                            OverImage: 'res/shown-over.png',
                            ClickImage: 'res/shown-click.png'
                        }
                    },
                    {
                        label: 'Closed',
                        sub: {
                            items: [{
                                label: 'Inside',
                                link: 'in.html',
                                image: 'res/inside.png',
                                files: {NormalImage: 'res/inside.png'}
                            }]
                        }
                    },
                ]
            }]
        }));
        env.server.requests.length = 0;
        const p = await openAt(1280, '/lazy.html');
        await p.waitForLoadState('load');
        await p.waitForTimeout(300);
        const images = () => env.server.requests.filter((r) => r.endsWith('.png')).sort();
        assert.deepEqual(images(), ['/res/shown.png']);
        await item(p, 'Shown').hover();
        await p.waitForTimeout(200);
        assert.deepEqual(images(), ['/res/shown-over.png', '/res/shown.png']);
        await item(p, 'Closed').click();
        await item(p, 'Inside').waitFor({state: 'visible'});
        await p.waitForTimeout(200);
        assert.ok(images().includes('/res/inside.png'));
        await p.closeAll();
    });

test('in a page whose script never loads, an image that names its item still shows', async () => {
    pages['/no-runtime.html'] = page(widget({
        menus: [{
            items: [{
                label: 'Products',
                sub: {items: [{label: '', link: 'logo.html', image: 'res/icon.png', alt: 'Logo'}]}
            }]
        }]
    }).replace('src="res/furlin.js"', 'src="res/no-such-runtime.js"'));
    const context = await env.browser.newContext({viewport: {width: 1280, height: 640}});
    const p = await context.newPage();
    await p.goto(`${env.server.baseUrl}/no-runtime.html`, {waitUntil: 'load'});
    const image = p.locator('nav.furlin ul ul img');
    await image.scrollIntoViewIfNeeded();
    const box = await image.boundingBox();
    assert.ok(box && box.width > 0 && box.height > 0, JSON.stringify(box));
    const cdp = await context.newCDPSession(p);
    const {nodes} = await cdp.send('Accessibility.getFullAXTree');
    const names = nodes.filter((n) => !n.ignored && n.role && n.role.value === 'link')
                      .map((n) => n.name && n.name.value);
    assert.ok(names.includes('Logo'), JSON.stringify(names));
    await context.close();
});

test(
    'every link is in the full accessibility tree: a 2,000-item sub-menu open, 11k without scripts',
    async () => {
        pages['/wide.html'] = page(widget({
            menus: [{items: [{label: 'Big section', sub: {items: tree([2000])}}, ...tree([5])]}]
        }));
        pages['/large.html'] = page(widget({menus: [{items: tree([50, 20, 10])}]}));
        const links = async (p) => {
            const cdp = await p.context().newCDPSession(p);
            const {nodes} = await cdp.send('Accessibility.getFullAXTree');
            return nodes.filter((n) => !n.ignored && n.role && n.role.value === 'link').length;
        };
        const wide = await openAt(1280, '/wide.html');
        await item(wide, 'Big section').click();
        await wide.waitForFunction(
            () => !document.querySelector('nav .furlin-sub:not([hidden])>li:not(.furlin-entry)'));
        await item(wide, 'Item 2000').scrollIntoViewIfNeeded();
        assert.equal(await links(wide), 2005);
        await wide.closeAll();

        const plain = await openAt(1280, '/large.html', {scripts: false});
        assert.equal(await links(plain), 10000, `of ${itemCount([50, 20, 10])} items`);
        await plain.closeAll();
    });

test(
    'toggles have names of their own, chevrons follow the state, descriptions are exposed',
    async () => {
        const p = await openAt(1280, '/deep.html');
        const cdp = await p.context().newCDPSession(p);
        const ax = async () =>
            (await cdp.send('Accessibility.getFullAXTree')).nodes.filter((n) => !n.ignored);
        await item(p, 'Products').click();
        await p.getByRole('button', {name: 'Show sub-menu of Gadgets'}).waitFor();
        const names =
            (await ax()).filter((n) => n.role.value === 'button').map((n) => n.name.value);
        assert.ok(names.includes('Show sub-menu of Gadgets'), names.join(', '));
        assert.equal(
            names.filter((n) => n === 'Gadgets').length, 0,
            'the toggle is not named like its link');
        const home = (await ax()).find((n) => n.role.value === 'link' && n.name.value === 'Home');
        assert.equal(home.description && home.description.value, 'Start page');
        // An unlinked parent's chevron turns with aria-expanded.
        const turn = () =>
            item(p, 'Products')
                .evaluate((el) => getComputedStyle(el.querySelector('.furlin-chevron')).transform);
        const open = await turn();
        await item(p, 'Products').click();
        assert.notEqual(await turn(), open);
        await p.closeAll();
    });

test('the page\'s own item is marked: its branch open with scripts, its look without', async () => {
    const p = await openAt(1280, '/current.html');
    const install = item(p, 'Install');
    assert.ok(await install.isVisible());
    assert.equal(await install.getAttribute('aria-current'), 'page');
    assert.equal(await item(p, 'Guides').getAttribute('aria-expanded'), 'true');
    assert.equal(await install.getAttribute('data-state'), 'click');
    assert.equal(
        await install.evaluate(
            (el) => getComputedStyle(el.querySelector('.furlin-label')).textDecorationLine),
        'underline');
    await p.closeAll();
    const plain = await openAt(1280, '/current.html', {scripts: false});
    const weight = await plain.locator('nav.furlin [aria-current=page]')
                       .evaluate((el) => [el.checkVisibility(), getComputedStyle(el).fontWeight]);
    assert.deepEqual(weight, [true, '700']);
    await plain.closeAll();
});

test('on a phone under a strict Content-Security-Policy nothing is blocked', async () => {
    const p = await openAt(360, '/deep.html?strict');
    await p.locator('.furlin-menu-button').click();
    await item(p, 'Products').click();
    assert.ok(await item(p, 'Gadgets').isVisible());
    assert.deepEqual(await p.evaluate(() => window.violations), []);
    await p.closeAll();
});

// The templates designed for today's sites, as the component writes them: AA contrast in all
// three looks, hover and current-page looks that stand out, targets of at least 24 px, no box.
test('the Sidebar templates read well in every look and fit any screen', async (t) => {
    const folder = path.join(process.env.FOLDLINE_BUILD_DIR || '', 'component');
    for (const name of ['SidebarLight', 'SidebarDark']) {
        const file = path.join(folder, `${name}_TesselServer.Foldline.tsl`);
        const html = fs.existsSync(file) && componentHtml(env.scratch, [3], fs.readFileSync(file));
        if (!html) {
            t.skip('no built component and templates');
            return;
        }
        pages[`/${name}/about.html`] = page(html[0]);
        const p = await openAt(1280, `/${name}/about.html`);
        // Contrast of the text on its background, from what the browser paints.
        const contrast = (label) => item(p, label).evaluate((el) => {
            const luminance = (css) => {
                const [r, g, b] = css.match(/\d+/g).slice(0, 3).map((v) => {
                    const c = Number(v) / 255;
                    return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
                });
                return 0.2126 * r + 0.7152 * g + 0.0722 * b;
            };
            const s = getComputedStyle(el);
            const [a, b] = [luminance(s.color), luminance(s.backgroundColor)];
            return {
                ratio: (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05),
                back: s.backgroundColor
            };
        });
        const normal = await contrast('Blog');
        await item(p, 'Blog').hover();
        const over = await contrast('Blog');
        await p.mouse.move(1000, 600);
        // The page's own item (About us) shows the clicked look.
        const current = await contrast('About us');
        for (const [look, found] of Object.entries({normal, over, current}))
            assert.ok(found.ratio >= 4.5, `${name} ${look}: ${found.ratio.toFixed(2)}`);
        assert.notEqual(over.back, normal.back, `${name}: hover stands out`);
        assert.notEqual(current.back, normal.back, `${name}: the current page stands out`);
        assert.equal(await item(p, 'About us').getAttribute('aria-current'), 'page');
        assert.equal(await p.locator('nav.furlin.furlin-fixed').count(), 0, 'no fixed box');
        await openEverything(p);
        for (const target of await targets(p))
            assert.ok(
                target.w >= 24 && target.h >= 24,
                `${name}: ${target.name} ${target.w} x ${target.h}`);
        assert.deepEqual(await overflow(p), {page: 0, across: 0, down: 0});
        // The sans-serif look is the system's interface font.
        assert.match(
            await item(p, 'Blog').evaluate((el) => getComputedStyle(el).fontFamily), /^system-ui/);
        await p.closeAll();
    }
});
