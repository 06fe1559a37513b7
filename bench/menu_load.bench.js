'use strict';
// How the browser runtime (runtime/furlin.js) holds up on large menus, in headless Chromium.
//
//   node bench/menu_load.bench.js [--runs=5] [--runtime=path/to/furlin.js] [--build=build/test]
//
// Needs playwright-core in tests/e2e/node_modules (scripts/setup.sh installs it) and Chromium
// at /usr/bin/chromium (or $CHROMIUM). It reports, as medians and maxima over the runs:
// - the longest main-thread task while a page with a 50 x 20 x 10 menu (11,050 items) loads,
//   for the modern markup and for the applet fragment of earlier pages;
// - the time from a click on an item with a 2,000-item sub-menu to the next frame;
// - the runtime's start-up (evaluating the script, which draws the widget) on the three-level
//   fixture of the end-to-end tests, as markup and as an applet fragment.
// --runtime measures another copy of the runtime, e.g. an earlier version, on the same pages
// (one that reads no markup measures only the applet form). --build takes the markup pages from
// the component of that build tree (GetHTMLBody kind 3 through tessel-call, for widget documents
// holding the same trees) instead of writing them here.
const fs = require('node:fs');
const path = require('node:path');
const http = require('node:http');

const ROOT = path.join(__dirname, '..');
const E2E = path.join(ROOT, 'tests', 'e2e');
const {chromium} = require(require.resolve('playwright-core', {paths: [E2E]}));

const args = Object.fromEntries(process.argv.slice(2).map((a) => a.replace(/^--/, '').split('=')));
const RUNS = Number(args.runs || 5);
const RUNTIME = path.resolve(args.runtime || path.join(ROOT, 'runtime', 'furlin.js'));
if (args.build) process.env.FOLDLINE_BUILD_DIR = path.resolve(args.build);
const fixture = (name) => fs.readFileSync(path.join(E2E, 'fixtures', name), 'utf8');
const FIXTURE = fixture('three-level.markup.html');
const {FIXTURE_DATA, attr, itemCount} = require(path.join(E2E, 'widgets.js'));

// ---- widgets as the component writes them -------------------------------------------------

// The look of the three-level fixture, so that the pages are drawn as real ones are: the nav's
// data with its table of looks, the first for the first list and the second for the others.
const NAV_DATA = {...FIXTURE_DATA, Height: 600, Width: 320};
const TOP_MENU = 0;
const SUB_MENU = 1;

// A tree of sizes [a, b, c]: a items, each with b items, each with c items.
function tree(sizes, prefix = '') {
    const [count, ...rest] = sizes;
    return Array.from({length: count}, (_, i) => {
        const label = `${prefix}${i + 1}`;
        return {
            label: `Item ${label}`,
            link: `page-${label}.html`,
            sub: rest.length ? tree(rest, `${label}.`) : null
        };
    });
}

function markupList(items, look) {
    const lines = [`<ul data-furlin="${look}">`];
    for (const item of items) {
        const control =
            item.sub ? `<span>${item.label}</span>` : `<a href="${item.link}">${item.label}</a>`;
        if (!item.sub) {
            lines.push(`<li>${control}</li>`);
            continue;
        }
        lines.push(`<li>${control}`, markupList(item.sub, SUB_MENU), '</li>');
    }
    lines.push('</ul>');
    return lines.join('\r\n');
}

function markupWidget(items) {
    return [
        '<link rel="stylesheet" href="furlin.css">',
        '<div class="furlin-block" data-align="left">',
        `<nav class="furlin" aria-label="Bench" data-furlin="${attr(NAV_DATA)}">`,
        markupList(items, TOP_MENU),
        '</nav>',
        '</div>',
        '<script src="furlin.js" defer></script>',
    ].join('\r\n');
}

// The menus of a tree numbered in pre-order; each item with a sub-menu learns its number.
function numberedMenus(items) {
    const menus = [];
    const visit = (list) => {
        const menu = {items: list, number: menus.length};
        menus.push(menu);
        for (const item of list)
            if (item.sub) item.subNumber = visit(item.sub).number;
        return menu;
    };
    visit(items);
    return menus;
}

// The same tree as the applet fragment: menus numbered in pre-order, items by menu number.
function appletWidget(items) {
    const menus = numberedMenus(items);
    const style = '204080,ffffff,111,0,1,13,0,00,0,4,,,'.repeat(3);
    const params = [['ApStyle', 'f4f0e8,f4f0e8,,0,0,0,,1,5,5,0,1,072,8,2,808080,1,Loading...']];
    const links = [];
    let global = 0;
    for (const menu of menus) {
        params.push(
            [`MStyle-${menu.number}`, `eeeeee,01,0,0,20,${menu.number ? 0 : 10},150,24,4,1`],
            [`IStyle-${menu.number}`, style]);
        menu.items.forEach((item, k) => {
            params.push(
                [`I${menu.number}-${k}`, `${item.label},,,,,,,_self,${item.sub ? '' : item.link}`]);
            if (item.sub) links.push(`${global}-${item.subNumber},`);
            global++;
        });
    }
    const misc =
        `${menus.length},${menus.map((m) => `${m.items.length},`).join('')}-0,${links.join('')}`;
    params.push(['Misc', misc]);
    return [
        '<p align="Left">',
        '<applet codebase="" code="furlin.class" align="baseline" width="320" height="600">',
        ...params.map(([n, v]) => `\t<param name="${n}" value="${v}">`), '</applet>', '</p>',
        '<script src="furlin.js" defer></script>'
    ].join('\r\n');
}

// A widget document holding the tree, with the look of the three-level fixture document.
function widgetDocument(items) {
    const text = fixture('three-level.tsl');
    const stored = (name) => new RegExp(`^${name} = ([^\r\n]*)`, 'm').exec(text)[1];
    const applet = stored('ApStyle').split(',');
    Object.assign(applet, {0: 'Bench', 2: '320', 3: '600', 25: ''}); // name, size, web path
    const lines = ['Version = 1.1', `ApStyle = ${applet.join(',')}`];
    const links = ['-0,'];
    let global = 0;
    const menus = numberedMenus(items);
    for (const menu of menus) {
        lines.push(`MStyle-${menu.number} = ${stored('MStyle-0')}`,
                   `IStyle-${menu.number} = ${stored('IStyle-0')}`);
        menu.items.forEach((item, k) => {
            lines.push(`I${menu.number}-${k + 1} = ${item.label},,${item.sub ? '' : item.link}` +
                       ',,,,,,,1,,,,,');
            if (item.sub) links.push(`${global}-${item.subNumber},`);
            global++;
        });
    }
    lines.push(`Misc = ${menus.length},${menus.map((m) => `${m.items.length},`).join('')}` +
               links.join(''));
    return text.replace(/(Parameter Part Begin =+\r\n)[^]*?(=+ Parameter Part End)/,
                        (all, begin, end) => `${begin}${lines.join('\r\n')}\r\n${end}`);
}

// The component's web markup of each tree (null without a built component).
function componentMarkup(trees) {
    const {componentAnswers} = require(path.join(E2E, 'browser.js'));
    const scratch = fs.mkdtempSync(path.join(require('node:os').tmpdir(), 'foldline-bench-'));
    try {
        return trees.map((items, i) => {
            const document = path.join(scratch, `widget-${i}.tsl`);
            fs.writeFileSync(document, widgetDocument(items));
            const answer = componentAnswers(scratch, document, [['GetHTMLBody', 0, 3]]);
            return answer && answer[0];
        });
    } finally {
        fs.rmSync(scratch, {recursive: true, force: true});
    }
}

const page = (body) => `<!DOCTYPE html>\n<html lang="en"><head><meta charset="utf-8">` +
    `<title>Bench</title></head><body>\n${body}\n</body></html>`;

const big = tree([50, 20, 10]);
const wide = [{label: 'Big section', sub: tree([2000])}, ...tree([5])];
const [bigMarkup, wideMarkup] =
    args.build ? componentMarkup([big, wide]) : [markupWidget(big), markupWidget(wide)];
if (!bigMarkup || !wideMarkup) throw new Error(`no component and tessel-call in ${args.build}`);
const PAGES = {
    '/markup.html': page(bigMarkup),
    '/applet.html': page(appletWidget(big)),
    '/wide.html': page(wideMarkup),
    '/wide-applet.html': page(appletWidget(wide)),
    '/fixture.html': page(FIXTURE.replace(/res\/furlin\./g, 'furlin.')),
    '/fixture-applet.html':
        page(`${fixture('three-level.html')}<script src="furlin.js" defer></script>`),
};

// ---- measuring ----------------------------------------------------------------------------

function serve() {
    const server = http.createServer((req, res) => {
        const name = new URL(req.url, 'http://localhost').pathname;
        const file = {
            '/furlin.js': RUNTIME,
            '/furlin.css': path.join(path.dirname(RUNTIME), 'furlin.css')
        }[name];
        const body = file ? (fs.existsSync(file) ? fs.readFileSync(file) : '') : PAGES[name];
        if (body === undefined) {
            res.writeHead(404);
            return res.end();
        }
        const type = {'.js': 'text/javascript', '.css': 'text/css'}[path.extname(name)] ||
            'text/html';
        res.writeHead(200, {'Content-Type': type, 'Cache-Control': 'no-store'});
        res.end(body);
    });
    return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// The main thread of the page's renderer: the one that parsed the page or took the click.
function mainThread(buffer, url) {
    const events = JSON.parse(buffer.toString()).traceEvents;
    const data = (e) => (e.args || {}).data || (e.args || {}).beginData || {};
    const score = new Map();
    for (const e of events) {
        const ours = (e.name === 'ParseHTML' && data(e).url === url) ||
            (e.name === 'EventDispatch' && data(e).type === 'click');
        if (ours) score.set(`${e.pid}/${e.tid}`, (score.get(`${e.pid}/${e.tid}`) || 0) + 1);
    }
    const main = [...score.entries()].sort((x, y) => y[1] - x[1])[0];
    return events.filter((e) => main && `${e.pid}/${e.tid}` === main[0] && e.ph === 'X');
}

const isTask = (e) => /(^|::)RunTask$/.test(e.name);
const within = (outer, e) => e.ts >= outer.ts && e.ts + e.dur <= outer.ts + outer.dur;
// What a task mostly did, for the report.
const KINDS = [
    ['EvaluateScript', 'script'],
    ['FunctionCall', 'script'],
    ['UpdateLayoutTree', 'style'],
    ['Layout', 'layout'],
    ['Paint', 'paint'],
    ['ParseHTML', 'parsing'],
    ['v8.compile', 'compiling'],
];
function kindOf(task, events) {
    const inside = events.filter((e) => e !== task && within(task, e));
    const busy = KINDS.map(
        ([name,
          kind]) => [kind, inside.filter((e) => e.name === name).reduce((t, e) => t + e.dur, 0)]);
    const [kind, time] = busy.sort((x, y) => y[1] - x[1])[0];
    return time > task.dur / 4 ? kind : 'browser';
}

// Longest tasks of a page load, and the runtime's own start (evaluating it, which draws).
function loadFigures(events) {
    const tasks = events.filter(isTask).sort((x, y) => y.dur - x.dur);
    const script = events.filter(
        (e) => e.name === 'EvaluateScript' &&
            /furlin\.js/.test(((e.args || {}).data || {}).url || ''));
    return {
        longestTask: tasks.length ? tasks[0].dur / 1000 : 0,
        longestKind: tasks.length ? kindOf(tasks[0], events) : '',
        script: script.reduce((t, e) => t + e.dur / 1000, 0),
    };
}

// From the start of the task that handles the click to the end of the next rendering task:
// the wall time and the main thread's work in it.
function clickFigures(events) {
    const click = events.find(
        (e) => e.name === 'EventDispatch' && ((e.args || {}).data || {}).type === 'click');
    const tasks = events.filter(isTask).sort((x, y) => x.ts - y.ts);
    const first = click && tasks.find((t) => within(t, click));
    if (!first) return {wall: NaN, busy: NaN, after: NaN};
    const renders = (t) => events.some((e) => e.name === 'Paint' && within(t, e));
    const frame = tasks.find((t) => t.ts > first.ts + first.dur && renders(t)) || first;
    const span = tasks.filter((t) => t.ts >= first.ts && t.ts + t.dur <= frame.ts + frame.dur);
    const later = tasks.filter((t) => t.ts > frame.ts + frame.dur);
    return {
        wall: (frame.ts + frame.dur - first.ts) / 1000,
        busy: span.reduce((t, e) => t + e.dur, 0) / 1000,
        after: Math.max(0, ...later.map((t) => t.dur)) / 1000,
    };
}

// The action answers how to check what it did; the check runs once the trace has stopped, since
// the work of looking (the driver's own script set up in the page) is no part of the page's.
async function traced(browser, url, prepare, action, figures) {
    const context = await browser.newContext({viewport: {width: 1000, height: 800}});
    const p = await context.newPage();
    if (prepare) await prepare(p, url);
    await browser.startTracing(p, {categories: ['devtools.timeline', 'toplevel', 'v8']});
    const check = await action(p, url);
    const events = mainThread(await browser.stopTracing(), url);
    const result = await check();
    await context.close();
    return {...result, ...figures(events)};
}

async function load(p, url) {
    await p.goto(url, {waitUntil: 'load'});
    await p.waitForTimeout(500);  // let whatever the load started finish
    return async () => ({drawn: await p.locator('nav.furlin.furlin-live').count()});
}

// Prepares the page for openWide: loaded, and the item to click found by the driver.
async function loadWide(p, url) {
    await (await load(p, url))();
    await p.locator('.furlin-item', {hasText: 'Big section'}).count();
}

async function openWide(p) {
    const section = p.locator('.furlin-item', {hasText: 'Big section'});
    // A runtime that does not read the markup has no such item.
    if ((await section.count()) === 0) return async () => ({opened: 0});
    await section.click();
    await p.waitForTimeout(1500);  // the rest of the entries are set up in later tasks
    return async () => ({opened: await p.locator('.furlin-item', {hasText: 'Item 2000'}).count()});
}

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const ms = (x) => `${x.toFixed(1)} ms`;

function report(name, runs, key, goal) {
    const values = runs.map((r) => r[key]);
    const line = `${name.padEnd(68)} median ${ms(median(values)).padStart(10)}  max ${
        ms(Math.max(...values)).padStart(10)}`;
    console.log(goal ? `${line}  (goal <= ${goal} ms)` : line);
}

async function main() {
    const server = await serve();
    const base = `http://127.0.0.1:${server.address().port}`;
    const browser = await chromium.launch({
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
        args:
            ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--no-first-run'],
    });
    try {
        await measure(browser, base);
    } finally {
        await browser.close();
        server.close();
    }
}

async function measure(browser, base) {
    const repeat = async (url, prepare, action, figures) => {
        const runs = [];
        for (let i = 0; i < RUNS; i++)
            runs.push(await traced(browser, `${base}${url}`, prepare, action, figures));
        return runs;
    };
    const items = itemCount([50, 20, 10]);
    console.log(
        `runtime ${path.relative(process.cwd(), RUNTIME) || RUNTIME}, ${RUNS} runs, ` +
        `${(PAGES['/markup.html'].length / 1e6).toFixed(2)} MB markup page; the fragment is ` +
        `${bigMarkup.length} bytes, ${(bigMarkup.length / items).toFixed(1)} bytes an item of ` +
        `${items} (goal <= 60), markup ` +
        (args.build ? `from the component (the same as written here: ${
                          bigMarkup.trim() === markupWidget(big).trim() ? 'yes' : 'no'})` :
                      'written here'));
    const kinds = (runs) => `  longest tasks were: ${runs.map((r) => r.longestKind).join(', ')}`;
    const markup = await repeat('/markup.html', null, load, loadFigures);
    if (markup.every((r) => r.drawn === 1)) {
        report('50 x 20 x 10 markup: longest main-thread task on load', markup, 'longestTask', 50);
        console.log(kinds(markup));
    } else {
        console.log('50 x 20 x 10 markup: not drawn by this runtime');
    }
    const applet = await repeat('/applet.html', null, load, loadFigures);
    report('50 x 20 x 10 applet fragment: longest task on load', applet, 'longestTask');
    console.log(kinds(applet));
    for (const [url, form] of [['/wide.html', 'markup'], ['/wide-applet.html', 'applet']]) {
        const wide = await repeat(url, loadWide, openWide, clickFigures);
        if (!wide.every((r) => r.opened === 1)) {
            console.log(`2,000-item sub-menu (${form}): not opened by this runtime`);
            continue;
        }
        const goal = form === 'markup' ? 16 : undefined;
        report(
            `2,000-item sub-menu (${form}): click to next frame, main-thread work`, wide, 'busy',
            goal);
        report(`2,000-item sub-menu (${form}): click to next frame, wall time`, wide, 'wall');
        report(`2,000-item sub-menu (${form}): longest task after that frame`, wide, 'after');
    }
    for (const [url, form] of [['/fixture.html', 'markup'], ['/fixture-applet.html', 'applet']]) {
        const runs = await repeat(url, null, load, loadFigures);
        if (runs.every((r) => r.script > 0))
            report(
                `three-level fixture (${form}): runtime start-up (script evaluation)`, runs,
                'script');
    }
}

main().catch((error) => {
    console.error(error);
    process.exitCode = 1;
});
