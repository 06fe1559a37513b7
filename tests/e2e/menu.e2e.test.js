'use strict';
// The runtime in headless Chromium on the kind 3 HTML of a three-level widget.
//
// The page HTML comes from the component when the build holds it: the fixture document is read
// with tessel-call (registered in a temporary classes root) and asked for GetHTMLBody kind 3.
// Without a built component, the hand-written applet fragment beside the fixture is used with the
// runtime inlined after it, which is the same shape.
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const http = require('node:http');
const {spawnSync} = require('node:child_process');
const {chromium} = require('playwright-core');

const HERE = __dirname;
const RUNTIME = path.join(HERE, '..', '..', 'runtime', 'furlin.js');
const FIXTURE = path.join(HERE, 'fixtures', 'three-level.tsl');
const FRAGMENT = path.join(HERE, 'fixtures', 'three-level.html');
const ARTIFACTS = path.join(HERE, 'artifacts');
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
// A 1x1 PNG for the item image.
const DOT_PNG = Buffer.from(
    'iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNkYPhfDwAChwGA60e6kgAAAABJRU5ErkJggg==',
    'base64');

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'foldline-e2e-'));
let widgetHtml = '';
let htmlSource = '';
let server;
let baseUrl;
let context;
const pageErrors = [];
let imageDelayMs = 0;

function componentTools() {
    const build = process.env.FOLDLINE_BUILD_DIR;
    if (!build) return null;
    const tools = {
        call: path.join(build, 'bin', 'tessel-call'),
        regsvr: path.join(build, 'bin', 'tessel-regsvr'),
        library: path.join(build, 'component', 'libTesselFoldline.so'),
    };
    return Object.values(tools).every((p) => fs.existsSync(p)) ? tools : null;
}

function htmlFromComponent(tools) {
    const env = {
        ...process.env,
        TESSEL_CLASSES_ROOT: path.join(scratch, 'classes.reg'),
        XDG_CONFIG_HOME: path.join(scratch, 'config'),
        QT_QPA_PLATFORM: 'offscreen',
    };
    const run = (program, args, input) => {
        const r = spawnSync(program, args, {env, input, encoding: 'utf8'});
        assert.equal(r.status, 0, `${path.basename(program)}: ${r.stderr}${r.stdout}`);
        return r.stdout;
    };
    run(tools.regsvr, [tools.library], '');
    const site = path.join(scratch, 'document');
    fs.mkdirSync(site);
    const document = path.join(site, 'three-level.tsl');
    fs.copyFileSync(FIXTURE, document);
    // The stored table names its support files by file name in the document's own folder.
    fs.writeFileSync(path.join(site, 'dot.png'), DOT_PNG);
    for (const clip of ['hover.wav', 'click.wav']) fs.writeFileSync(path.join(site, clip), 'RIFF');
    const calls = [['ReadConfigFile', document], ['GetHTMLBody', 0, 3], ['GetHTMLBody', 0, 1]];
    const output = run(tools.call, [], calls.map((c) => JSON.stringify(c) + '\n').join(''))
                       .trim()
                       .split('\n')
                       .map((line) => JSON.parse(line));
    assert.equal(output[0], true, 'ReadConfigFile of the fixture');
    const [body, web] = output.slice(1);
    assert.equal(typeof body, 'string', `GetHTMLBody kind 3 answered ${JSON.stringify(body)}`);
    // Kind 3 is the web fragment followed by one inline script holding the runtime.
    assert.ok(body.startsWith(web), 'kind 3 starts with the kind 1 fragment');
    // Keeps the hand-written fragment, used where no component is built, true to the real one.
    assert.equal(
        web, fs.readFileSync(FRAGMENT, 'utf8'), 'fixtures/three-level.html is out of date');
    const lf = (t) => t.replace(/\r\n/g, '\n');
    assert.equal(body.match(/<script\b/g)?.length, 1, 'one script element');
    assert.ok(lf(body).includes(lf(fs.readFileSync(RUNTIME, 'utf8')).trim()), 'the runtime inline');
    return body;
}

function handWrittenHtml() {
    const fragment = fs.readFileSync(FRAGMENT, 'utf8');
    return `${fragment}<script>\r\n${fs.readFileSync(RUNTIME, 'utf8')}</script>\r\n`;
}

function page(body) {
    // A second copy of the runtime on the same page must not draw the widget twice.
    return `<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Menu</title></head>
<body style="margin:8px;background:#fff">
${body}
<script src="/furlin.js"></script>
</body></html>`;
}

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

function serve(req, res) {
    const url = new URL(req.url, 'http://localhost');
    const send = (type, data) => {
        res.writeHead(200, {'Content-Type': type, 'Cache-Control': 'no-store'});
        res.end(data);
    };
    if (url.pathname === '/furlin.js') return send('text/javascript', fs.readFileSync(RUNTIME));
    if (url.pathname === '/res/dot.png') {
        // Held back for a moment so the loading message can be seen.
        setTimeout(() => send('image/png', DOT_PNG), imageDelayMs);
        return;
    }
    if (url.pathname === '/damaged.html')
        return send('text/html; charset=utf-8', page(DAMAGED + widgetHtml));
    if (url.pathname === '/options.html')
        return send('text/html; charset=utf-8', page(withOptions(widgetHtml)));
    if (/^\/[\w-]+\.html$/.test(url.pathname))
        return send('text/html; charset=utf-8', page(widgetHtml));
    res.writeHead(404);
    res.end();
}

test.before(async () => {
    const tools = componentTools();
    if (tools) {
        widgetHtml = htmlFromComponent(tools);
        htmlSource = 'component (tessel-call, kind 3)';
    } else {
        widgetHtml = handWrittenHtml();
        htmlSource = 'hand-written fixture fragment';
    }
    console.log(`page HTML from the ${htmlSource}`);
    server = http.createServer(serve);
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    baseUrl = `http://127.0.0.1:${server.address().port}`;
    context = await chromium.launchPersistentContext(path.join(scratch, 'profile'), {
        executablePath: CHROMIUM,
        headless: true,
        args: [
            '--headless',
            '--no-sandbox',
            '--disable-gpu',
            '--disable-quic',
            '--no-first-run',
            '--disable-background-networking',
            '--disable-component-update',
            '--disable-sync',
        ],
        viewport: {width: 800, height: 600},
    });
});

test.after(async () => {
    if (context) await context.close();
    if (server) await new Promise((resolve) => server.close(resolve));
    fs.rmSync(scratch, {recursive: true, force: true});
});

async function open(name, options = {}) {
    const p = await context.newPage();
    p.on('pageerror', (error) => pageErrors.push(`${name}: ${error.message}`));
    if (options.reducedMotion) await p.emulateMedia({reducedMotion: 'reduce'});
    // Record the clips the menu plays instead of playing them.
    await p.addInitScript(() => {
        window.played = [];
        HTMLMediaElement.prototype.play = function() {
            window.played.push(this.src);
            return Promise.resolve();
        };
    });
    await p.goto(`${baseUrl}/${name}`, {waitUntil: 'domcontentloaded'});
    await p.locator('nav.furlin').first().waitFor();
    return p;
}

const item = (p, label) =>
    p.locator('.furlin-item', {has: p.locator('.furlin-label', {hasText: label})}).first();
const colours = (locator) => locator.evaluate((el) => {
    const s = getComputedStyle(el);
    return {back: s.backgroundColor, image: s.backgroundImage, text: s.color};
});

test('renders the visible items with their labels as text, and nothing hidden', async () => {
    imageDelayMs = 1500;
    const p = await open('menu.html');
    imageDelayMs = 0;
    const loading = p.locator('nav.furlin [role=status]');
    assert.equal(await loading.innerText(), 'Loading, please wait...');
    assert.equal(await loading.locator('[role=progressbar]').count(), 1);
    assert.equal(await p.locator('applet').count(), 0);
    assert.equal(
        await p.locator('nav.furlin').count(), 1, 'one widget despite two copies of the runtime');
    const box = await p.locator('nav.furlin').boundingBox();
    assert.deepEqual([box.width, box.height], [240, 360]);

    const labels = await p.locator('.furlin-label').allTextContents();
    assert.deepEqual(labels, [
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
    const image = p.locator('.furlin-image').first();
    await p.waitForFunction(() => {
        const img = document.querySelector('.furlin-image');
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
    assert.deepEqual(await p.evaluate(() => window.played), [`${baseUrl}/res/hover.wav`]);
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
    assert.ok((await p.evaluate(() => window.played)).includes(`${baseUrl}/res/click.wav`));
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
    await p.keyboard.press('Tab');
    const focused = () => p.evaluate(() => document.activeElement.textContent);
    assert.equal(await focused(), 'Home');
    assert.equal(
        await p.evaluate(() => getComputedStyle(document.activeElement).outlineStyle), 'solid');
    await p.keyboard.press('Tab');
    assert.equal(await focused(), 'Products');
    await p.keyboard.press('Enter');
    const products = item(p, 'Products');
    assert.equal(await products.getAttribute('aria-expanded'), 'true');
    await p.keyboard.press('ArrowDown');
    assert.equal(await focused(), 'Widgets');
    await p.keyboard.press(' ');
    assert.equal(await item(p, 'Widgets').getAttribute('aria-expanded'), 'true');
    await p.keyboard.press('ArrowDown');
    assert.equal(await focused(), 'Blue widget');
    await p.keyboard.press('Escape');
    assert.equal(await focused(), 'Widgets');
    assert.equal(await item(p, 'Widgets').getAttribute('aria-expanded'), 'false');
    // On an item whose own sub-menu is closed, Escape closes the menu it is in.
    await p.keyboard.press('Escape');
    assert.equal(await focused(), 'Products');
    assert.equal(await products.getAttribute('aria-expanded'), 'false');
    // Closed sub-menus are out of the tab order.
    await p.keyboard.press('Tab');
    assert.equal(await focused(), 'Say "hi" <b>bold</b>');
    await p.close();
});

test('link items are real links with their target frames', async () => {
    const p = await open('menu.html');
    const link = async (label) => {
        const el = item(p, label);
        return el.evaluate((a) => ({tag: a.tagName, href: a.href, target: a.target}));
    };
    assert.deepEqual(
        await link('Home'), {tag: 'A', href: `${baseUrl}/index.html`, target: '_self'});
    assert.deepEqual(
        await link('Gadgets'), {tag: 'A', href: `${baseUrl}/gadgets.html`, target: 'content'});
    assert.deepEqual(await link('News,'), {tag: 'A', href: `${baseUrl}/news.html`, target: '_top'});
    assert.deepEqual(
        await link('About'), {tag: 'A', href: `${baseUrl}/about.html`, target: '_blank'});
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
    fs.mkdirSync(ARTIFACTS, {recursive: true});
    await p.locator('nav.furlin').screenshot({path: path.join(ARTIFACTS, 'opened-menu.png')});
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
                  .locator('.furlin-label', {hasText: 'Survivor'})
                  .isVisible());
    assert.ok(await item(p, 'Products').isVisible());
    await p.close();
    assert.deepEqual(pageErrors, []);
});
