'use strict';
// What the end-to-end tests share: headless Chromium, a small web server and page helpers.
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
const FIXTURES = path.join(HERE, 'fixtures');
const ARTIFACTS = path.join(HERE, 'artifacts');
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
// A 1x1 PNG for the item image.
const DOT_PNG = Buffer.from(
    'iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNkYPhfDwAChwGA60e6kgAAAABJRU5ErkJggg==',
    'base64');
// A 16 x 16 icon, for images that take room beside a label.
const ICON_PNG = Buffer.from(
    'iVBORw0KGgoAAAANSUhEUgAAABAAAAAQCAYAAAAf8/9hAAAAM0lEQVR4nGNgGJTgWYXcf2yYIs1EGUJIM15DiNWM05BR' +
        'A6hgAMXRSKwheDUTMoQozXQHAMg4KbjMHF9PAAAAAElFTkSuQmCC',
    'base64');
const STRICT_CSP = "default-src 'self'";

// A whole page around a widget. A second copy of the runtime on the same page must not draw
// the widget twice.
function pageHtml(body) {
    return `<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Menu</title></head>
<body>
${body}
<script src="/furlin.js"></script>
</body></html>`;
}

// Serves the runtime, the support files and whatever pages route(pathname) answers with:
// a text (an HTML page) or {body, csp}.
async function startServer(route) {
    // requests: every path asked for, in order.
    const server = {imageDelayMs: 0, requests: []};
    const handle = (req, res) => {
        const url = new URL(req.url, 'http://localhost');
        server.requests.push(url.pathname);
        const send = (type, data, headers = {}) => {
            res.writeHead(200, {'Content-Type': type, 'Cache-Control': 'no-store', ...headers});
            res.end(data);
        };
        // Support files answer in any folder, as pages in sub-folders reference them.
        if (url.pathname.endsWith('/furlin.js'))
            return send('text/javascript', fs.readFileSync(RUNTIME));
        if (url.pathname.endsWith('/furlin.css'))
            return send('text/css', fs.readFileSync(RUNTIME.replace(/\.js$/, '.css')));
        if (/\/res\/[\w-]+\.png$/.test(url.pathname)) {
            // Held back when asked, so the loading message can be seen.
            const image = url.pathname.includes('/icon') ? ICON_PNG : DOT_PNG;
            setTimeout(() => send('image/png', image), server.imageDelayMs);
            return;
        }
        if (/\/res\/\w+\.wav$/.test(url.pathname)) return send('audio/wav', 'RIFF');
        const answer = route(url.pathname, url);
        if (answer === null || answer === undefined) {
            res.writeHead(404);
            res.end();
            return;
        }
        const page = typeof answer === 'string' ? {body: answer} : answer;
        send(
            'text/html; charset=utf-8', page.body,
            page.csp ? {'Content-Security-Policy': page.csp} : {});
    };
    const http_ = http.createServer(handle);
    await new Promise((resolve) => http_.listen(0, '127.0.0.1', resolve));
    server.baseUrl = `http://127.0.0.1:${http_.address().port}`;
    server.close = () => new Promise((resolve) => http_.close(resolve));
    return server;
}

async function launch() {
    return chromium.launch({
        executablePath: CHROMIUM,
        headless: true,
        args: [
            '--no-sandbox',
            '--disable-gpu',
            '--disable-quic',
            '--no-first-run',
            '--disable-background-networking',
            '--disable-component-update',
            '--disable-sync',
        ],
    });
}

// Opens a page that records the clips it plays instead of playing them, its script errors, the
// errors the browser reports to the page's window without throwing (such as a resize observer's
// loop, in `window.reported`) and any content-security-policy violation.
async function openPage(context, url, options = {}) {
    const p = await context.newPage();
    p.errors = [];
    p.on('pageerror', (error) => p.errors.push(error.message));
    if (options.reducedMotion) await p.emulateMedia({reducedMotion: 'reduce'});
    await p.addInitScript(() => {
        window.played = [];
        window.violations = [];
        window.reported = [];
        window.addEventListener('error', (event) => window.reported.push(String(event.message)));
        HTMLMediaElement.prototype.play = function() {
            window.played.push(this.src);
            return Promise.resolve();
        };
        document.addEventListener('securitypolicyviolation', (event) => {
            window.violations.push(`${event.violatedDirective} ${event.blockedURI}`);
        });
    });
    await p.goto(url, {waitUntil: options.waitUntil || 'domcontentloaded'});
    if (options.waitForWidget !== false)
        await p.locator('nav.furlin.furlin-live').first().waitFor();
    return p;
}

const item = (p, label) => p.locator('.furlin-item', {hasText: label}).first();
const colours = (locator) => locator.evaluate((el) => {
    const s = getComputedStyle(el);
    return {back: s.backgroundColor, image: s.backgroundImage, text: s.color};
});
// Every item's label as shown, closed sub-menus included.
const labels = (p) => p.locator('nav.furlin li')
                          .evaluateAll((lis) => lis.map((li) => li.firstElementChild.innerText));

async function saveShot(locator, name) {
    fs.mkdirSync(ARTIFACTS, {recursive: true});
    return locator.screenshot({path: path.join(ARTIFACTS, name), animations: 'disabled'});
}

// The disclosure keyboard model on the three-level widget, whatever its source.
async function keyboardScenario(p) {
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
}

// Starts the server and the browser before a test file's tests and stops them after; the
// returned object holds them once started.
function useBrowser(route) {
    const env = {scratch: fs.mkdtempSync(path.join(os.tmpdir(), 'foldline-e2e-'))};
    test.before(async () => {
        env.server = await startServer(route);
        env.browser = await launch();
        env.context = await env.browser.newContext({viewport: {width: 800, height: 600}});
    });
    test.after(async () => {
        if (env.browser) await env.browser.close();
        if (env.server) await env.server.close();
        fs.rmSync(env.scratch, {recursive: true, force: true});
    });
    env.open = (name, options) => openPage(env.context, `${env.server.baseUrl}/${name}`, options);
    return env;
}

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

// The built component's answers to calls after it has read the widget document at `document`
// (registered in a temporary classes root inside scratch); null without a built component.
function componentAnswers(scratch, document, calls) {
    const tools = componentTools();
    if (!tools) return null;
    const env = {
        ...process.env,
        TESSEL_CLASSES_ROOT: path.join(scratch, 'classes.reg'),
        XDG_CONFIG_HOME: path.join(scratch, 'config'),
        QT_QPA_PLATFORM: 'offscreen',
    };
    const run = (program, args, input) => {
        const r = spawnSync(program, args, {env, input, encoding: 'utf8', maxBuffer: 1 << 30});
        assert.equal(r.status, 0, `${path.basename(program)}: ${r.stderr}${r.stdout}`);
        return r.stdout;
    };
    run(tools.regsvr, [tools.library], '');
    const lines = [['ReadConfigFile', document], ...calls];
    const output = run(tools.call, [], lines.map((c) => JSON.stringify(c) + '\n').join(''))
                       .trim()
                       .split('\n')
                       .map((line) => JSON.parse(line));
    assert.equal(output[0], true, `ReadConfigFile of ${document}`);
    return output.slice(1);
}

// GetHTMLBody for each kind of a widget document, by default the three-level fixture's, from
// the built component; null without a built component.
function componentHtml(
    scratch, kinds, tsl = fs.readFileSync(path.join(FIXTURES, 'three-level.tsl'))) {
    if (!componentTools()) return null;
    const site = fs.mkdtempSync(path.join(scratch, 'document-'));
    const document = path.join(site, 'widget.tsl');
    fs.writeFileSync(document, tsl);
    // The stored table names its support files by file name in the document's own folder.
    fs.writeFileSync(path.join(site, 'dot.png'), DOT_PNG);
    for (const clip of ['hover.wav', 'click.wav']) fs.writeFileSync(path.join(site, clip), 'RIFF');
    const calls = kinds.map((kind) => ['GetHTMLBody', 0, kind]);
    const output = componentAnswers(scratch, document, calls);
    output.forEach(
        (body, i) => assert.equal(
            typeof body, 'string',
            `GetHTMLBody kind ${kinds[i]} answered ${JSON.stringify(body)}`));
    return output;
}

module.exports = {
    RUNTIME,
    FIXTURES,
    ARTIFACTS,
    DOT_PNG,
    ICON_PNG,
    STRICT_CSP,
    pageHtml,
    startServer,
    launch,
    openPage,
    item,
    colours,
    labels,
    saveShot,
    keyboardScenario,
    useBrowser,
    componentAnswers,
    componentHtml,
};
