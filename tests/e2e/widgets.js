'use strict';
// Widgets in the markup of the modern HTML kinds, written as the component writes them
// (runtime/README.md), for pages the tests and the benchmark need beyond the fixtures.
//
// A widget is {name, applet, looks, menus, dir}: `applet` the nav's data over the three-level
// fixture's, `looks` the look table (by default the fixture's: 0 the first list's, 1 the
// others'), `menus` the top-level lists. A list is {look, items}; an item is {label, link,
// target, title, image, current, files, sub}, `sub` a list.
const fs = require('node:fs');
const path = require('node:path');

const FIXTURE =
    fs.readFileSync(path.join(__dirname, 'fixtures', 'three-level.markup.html'), 'utf8');
const FIXTURE_DATA = JSON.parse(/<nav\b[^>]*data-furlin="([^"]*)"/.exec(FIXTURE)[1]
                                    .replace(/&quot;/g, '"')
                                    .replace(/&amp;/g, '&'));

const escape = (text) => String(text)
                             .replace(/&/g, '&amp;')
                             .replace(/"/g, '&quot;')
                             .replace(/</g, '&lt;')
                             .replace(/>/g, '&gt;');
const attr = (value) => escape(JSON.stringify(value));

// The fixture's look with some fields changed; the three state looks take `all` and then their
// own changes.
function look(changes = {}, all = {}, base = FIXTURE_DATA.Looks[1]) {
    const result = {...base, ...changes};
    for (const state of ['Normal', 'Over', 'Click'])
        result[state] = {...base[state], ...all, ...(changes[state] || {})};
    return result;
}

function itemMarkup(item, lines) {
    const data = item.files ? ` data-furlin="${attr(item.files)}"` : '';
    const attributes = [
        item.link !== undefined ? ` href="${escape(item.link)}"` : '',
        item.target ? ` target="${escape(item.target)}"` : '',
        item.current ? ' aria-current="page"' : '',
        item.title ? ` title="${escape(item.title)}"` : '',
    ].join('');
    const tag = item.link !== undefined ? 'a' : 'span';
    const image = item.image ?
        `<img src="${escape(item.image)}" alt="${escape(item.alt || '')}" loading="lazy">` :
        '';
    const label = String(item.label).split('\n').map(escape).join('<br>');
    const control = `<${tag}${attributes}>${image}${label}</${tag}>`;
    if (!item.sub) {
        lines.push(`<li${data}>${control}</li>`);
        return;
    }
    lines.push(`<li${data}>${control}`);
    listMarkup(item.sub, lines);
    lines.push('</li>');
}

function listMarkup(list, lines) {
    lines.push(`<ul data-furlin="${list.look === undefined ? 1 : list.look}">`);
    for (const item of list.items) itemMarkup(item, lines);
    lines.push('</ul>');
}

function widget({
    name = 'Test',
    applet = {},
    looks = FIXTURE_DATA.Looks,
    menus,
    dir,
    align = 'left',
    runtime = 'res/'
}) {
    const lines = [];
    lines.push(`<link rel="stylesheet" href="${runtime}furlin.css">`);
    lines.push(`<div class="furlin-block" data-align="${align}"${dir ? ` dir="${dir}"` : ''}>`);
    const data = {...FIXTURE_DATA, ...applet, Looks: looks};
    lines.push(`<nav class="furlin" aria-label="${escape(name)}" data-furlin="${attr(data)}">`);
    menus.forEach((list, i) => listMarkup({look: i === 0 ? 0 : 1, ...list}, lines));
    lines.push('</nav>', '</div>', `<script src="${runtime}furlin.js" defer></script>`);
    return lines.join('\r\n') + '\r\n';
}

// A tree of sizes [a, b, c]: a items, each with b items, each with c items; leaves link to
// pages, parents have no link.
function tree(sizes, prefix = '') {
    const [count, ...rest] = sizes;
    return Array.from({length: count}, (_, i) => {
        const label = `${prefix}${i + 1}`;
        return rest.length ? {label: `Item ${label}`, sub: {items: tree(rest, `${label}.`)}} :
                             {label: `Item ${label}`, link: `page-${label}.html`};
    });
}

// How many items a tree of these sizes holds.
const itemCount = (sizes) =>
    sizes
        .reduce(
            (all, n) => ({count: all.count + all.level * n, level: all.level * n}),
            {count: 0, level: 1})
        .count;

module.exports = {
    FIXTURE_DATA,
    look,
    widget,
    tree,
    itemCount,
    escape,
    attr
};
