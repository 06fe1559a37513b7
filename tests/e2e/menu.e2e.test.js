'use strict';
// The runtime in headless Chromium upgrading the applet fragment of a three-level widget, as
// pages made with earlier versions hold it.
//
// The fragment is the hand-written one beside the fixture document; when the build holds the
// component, it is checked against the component's GetHTMLBody kind 1 for that document. The
// page references the runtime as a file.
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const {
    FIXTURES,
    pageHtml,
    item,
    colours,
    labels,
    saveShot,
    keyboardScenario,
    useBrowser,
    componentHtml
} = require('./browser.js');

const FRAGMENT = path.join(FIXTURES, 'three-level.html');

let widgetHtml = '';
const pageErrors = [];

const DAMAGED = `<applet code="furlin.class" width="120" height="80">
<param name="ApStyle" value="zz,,,,">
<param name="MStyle-0" value="ffffff">
<param name="I0-0" value="Survivor">
<param name="I0-2" value="~@^">
<param name="Misc" value="3,3,-1,-0,0-0,0-2,9-9,x">
</applet>`;

// The same widget with every branch shown and the selection not kept.
function withOptions(html) {
    return html.replace(/(name="ApStyle" value=")([^"]*)"/, (all, head, value) => {
        const fields = value.split(',');
        fields[7] = '0';
        fields[10] = '1';
        return `${head}${fields.join(',')}"`;
    });
}

function route(pathname) {
    if (pathname === '/damaged.html') return pageHtml(DAMAGED + widgetHtml);
    if (pathname === '/options.html') return pageHtml(withOptions(widgetHtml));
    if (/^\/[\w-]+\.html$/.test(pathname)) return pageHtml(widgetHtml);
    return null;
}

const env = useBrowser(route);

test.before(() => {
    const fragment = fs.readFileSync(FRAGMENT, 'utf8');
    const fromComponent = componentHtml(env.scratch, [1]);
    if (fromComponent) {
        // Keeps the hand-written fragment true to the real one.
        assert.equal(fromComponent[0], fragment, 'fixtures/three-level.html is out of date');
    }
    console.log(`applet fragment checked against the component: ${fromComponent ? 'yes' : 'no'}`);
    widgetHtml = `${fragment}<script src="res/furlin.js" defer></script>\r\n`;
});

async function open(name, options = {}) {
    const p = await env.open(name, options);
    p.on('pageerror', (error) => pageErrors.push(`${name}: ${error.message}`));
    return p;
}

test('renders the visible items with their labels as text, and nothing hidden', async () => {
    env.server.imageDelayMs = 1500;
    const p = await open('menu.html');
    env.server.imageDelayMs = 0;
    const loading = p.locator('nav.furlin [role=status]');
    assert.equal(await loading.innerText(), 'Loading, please wait...');
    assert.equal(await loading.locator('[role=progressbar]').count(), 1);
    assert.equal(await p.locator('applet').count(), 0);
    assert.equal(
        await p.locator('nav.furlin').count(), 1, 'one widget despite two copies of the runtime');
    const box = await p.locator('nav.furlin').boundingBox();
    assert.deepEqual([box.width, box.height], [240, 360]);

    assert.deepEqual(await labels(p), [
        'Home',
        'Products',
        'Widgets',
        'Blue widget',
        'Gadgets',
        'Say "hi" <b>bold</b>',
        'News,\nand more',
        'About',
    ]);
    for (const label of ['Home', 'Products', 'Say "hi"', 'News,', 'About'])
        assert.ok(await item(p, label).isVisible(), label);
    for (const label of ['Widgets', 'Blue widget', 'Gadgets'])
        assert.ok(!(await item(p, label).isVisible()), `${label} starts closed`);
    assert.equal(await p.locator('nav.furlin b').count(), 0, 'a label is never markup');
    const newsLines = await item(p, 'News,').evaluate((el) => el.innerText);
    assert.equal(newsLines, 'News,\nand more');
    const html = await p.locator('nav.furlin').innerHTML();
    for (const hidden of ['Hidden gadget', 'Secret', 'Invisible menu item'])
        assert.ok(!html.includes(hidden), hidden);

    // The item image is found through the codebase and the loading message goes once it loads.
    const image = p.locator('nav.furlin img').first();
    await p.waitForFunction(() => {
        const img = document.querySelector('nav.furlin img');
        return img && img.complete && img.naturalWidth === 1;
    });
    assert.match(await image.getAttribute('src'), /\/res\/dot\.png$/);
    await p.locator('.furlin-loading').waitFor({state: 'detached'});
    await p.close();
});

test('hover shows the mouse-over look', async () => {
    const p = await open('menu.html');
    const home = item(p, 'Home');
    assert.deepEqual(
        await colours(home).then((c) => [c.back, c.text]),
        ['rgb(32, 64, 128)', 'rgb(255, 255, 255)']);
    await home.hover();
    assert.deepEqual(
        await colours(home).then((c) => [c.back, c.text]), ['rgb(255, 204, 0)', 'rgb(0, 0, 0)']);
    assert.equal(await home.evaluate((el) => getComputedStyle(el).fontWeight), '700');
    assert.deepEqual(
        await p.evaluate(() => window.played), [`${env.server.baseUrl}/res/hover.wav`]);
    await p.mouse.move(700, 500);
    assert.equal((await colours(home)).back, 'rgb(32, 64, 128)');
    await p.close();
});

test('clicking an item with a sub-menu slides it open and sets aria-expanded', async () => {
    const p = await open('menu.html');
    const products = item(p, 'Products');
    assert.equal(await products.evaluate((el) => el.tagName), 'BUTTON');
    assert.equal(await products.getAttribute('aria-expanded'), 'false');
    const sub = p.locator(`#${await products.getAttribute('aria-controls')}`);
    await sub.evaluate((el) => {
        window.slide = [];
        new MutationObserver(() => window.slide.push(el.style.transition))
            .observe(el, {attributes: true, attributeFilter: ['style']});
    });
    await products.click();
    assert.equal(await products.getAttribute('aria-expanded'), 'true');
    assert.ok(
        (await p.evaluate(() => window.played)).includes(`${env.server.baseUrl}/res/click.wav`));
    // The slide runs at open speed 5 and ends at the full height of the sub-menu.
    await p.waitForFunction(() => window.slide.length > 0);
    assert.match(await p.evaluate(() => window.slide[0]), /height 100ms/);
    await item(p, 'Widgets').waitFor({state: 'visible'});
    await p.waitForFunction(
        (id) => document.getElementById(id).style.height === 'auto',
        await products.getAttribute('aria-controls'));
    const height = (await sub.boundingBox()).height;
    assert.ok(height >= 2 * 24, `sub-menu height ${height}`);
    // The chosen item keeps its clicked look (a vertical gradient into green).
    await p.mouse.move(700, 500);
    const look = await colours(products);
    assert.match(look.image, /linear-gradient\(rgb\(0, 0, 0\), rgb\(0, 128, 0\)\)/);

    await item(p, 'Widgets').click();
    await item(p, 'Blue widget').waitFor({state: 'visible'});
    await products.click();
    assert.equal(await products.getAttribute('aria-expanded'), 'false');
    await item(p, 'Widgets').waitFor({state: 'hidden'});
    await p.close();
});

test('keyboard: Tab, Enter, Space, arrows and Escape with a visible focus', async () => {
    const p = await open('menu.html');
    await keyboardScenario(p);
    await p.close();
});

test('link items are real links with their target frames', async () => {
    const p = await open('menu.html');
    const link = async (label) => {
        const el = p.locator('nav.furlin a', {hasText: label}).first();
        return el.evaluate((a) => ({tag: a.tagName, href: a.href, target: a.target}));
    };
    assert.deepEqual(
        await link('Home'), {tag: 'A', href: `${env.server.baseUrl}/index.html`, target: '_self'});
    assert.deepEqual(
        await link('Gadgets'),
        {tag: 'A', href: `${env.server.baseUrl}/gadgets.html`, target: 'content'});
    assert.deepEqual(
        await link('News,'), {tag: 'A', href: `${env.server.baseUrl}/news.html`, target: '_top'});
    assert.deepEqual(
        await link('About'),
        {tag: 'A', href: `${env.server.baseUrl}/about.html`, target: '_blank'});
    await p.close();
});

test('the current page opens with its item selected and its branch open', async () => {
    const p = await open('blue.html#section');
    const blue = item(p, 'Blue widget');
    assert.ok(await blue.isVisible());
    assert.equal(await blue.getAttribute('aria-current'), 'page');
    assert.equal(await blue.getAttribute('data-state'), 'click');
    assert.equal(await item(p, 'Products').getAttribute('aria-expanded'), 'true');
    assert.equal(await item(p, 'Widgets').getAttribute('aria-expanded'), 'true');
    assert.equal(await item(p, 'Home').getAttribute('data-state'), 'normal');
    await saveShot(p.locator('nav.furlin'), 'opened-menu.png');
    await p.close();
});

test(
    'DisplayAllBranches opens every branch; without ShowSelectionAlways the choice is not kept',
    async () => {
        const p = await open('options.html');
        for (const label of ['Widgets', 'Blue widget', 'Gadgets']) {
            assert.ok(await item(p, label).isVisible(), label);
        }
        assert.equal(await item(p, 'Widgets').getAttribute('aria-expanded'), 'true');
        await item(p, 'Widgets').click();
        await p.mouse.move(700, 500);
        assert.equal((await colours(item(p, 'Widgets'))).back, 'rgb(32, 64, 128)');
        await p.close();
    });

test('reduced motion opens sub-menus without sliding', async () => {
    const p = await open('menu.html', {reducedMotion: true});
    await item(p, 'Products').click();
    const id = await item(p, 'Products').getAttribute('aria-controls');
    assert.equal(await p.evaluate((i) => document.getElementById(i).style.height, id), 'auto');
    await p.close();
});

test('a damaged widget draws what it can and breaks nothing else', async () => {
    const p = await open('damaged.html');
    assert.equal(await p.locator('applet').count(), 0);
    assert.equal(await p.locator('nav.furlin').count(), 2);
    assert.ok(await p.locator('nav.furlin')
                  .first()
                  .locator('.furlin-item', {hasText: 'Survivor'})
                  .isVisible());
    assert.ok(await item(p, 'Products').isVisible());
    await p.close();
    assert.deepEqual(pageErrors, []);
});
