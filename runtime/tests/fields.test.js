'use strict';
// The runtime's field tables against the model's record tables (model/Records.h), as the build's
// field_tables program writes them: every field the markup's data or the applet encoding carries
// is read by its name, at its place, in its form and with the model's default. A new field the
// runtime should honour thus fails here until furlin.js reads it.
const test = require('node:test');
const assert = require('node:assert/strict');
const {spawnSync} = require('node:child_process');
const f = require('../furlin.js');

const EXPORTER = process.env.FOLDLINE_FIELD_TABLES;

function modelTables() {
    const run = spawnSync(EXPORTER, [], {encoding: 'utf8'});
    assert.equal(run.status, 0, `${EXPORTER}: ${run.stderr}`);
    return JSON.parse(run.stdout);
}

const RUNTIME_TABLES = {
    applet: f.APPLET_FIELDS,
    menu: f.MENU_FIELDS,
    look: f.LOOK_FIELDS,
    item: f.ITEM_FIELDS,
};

// Rows the runtime must read: what the markup's data carries and what the applet shows (the
// applet's "always 0" places aside).
const mustRead = (row) => row.inMarkup || (row.appletAt >= 0 && row.appletForm !== 'Zero');

test('the runtime reads every field of the model as the model describes it', (t) => {
    if (!EXPORTER) {
        t.skip('FOLDLINE_FIELD_TABLES names no field_tables program (CTest sets it)');
        return;
    }
    const model = modelTables();
    for (const [table, rows] of Object.entries(RUNTIME_TABLES)) {
        const byName = new Map(model[table].map((row) => [row.name, row]));
        for (const field of rows) {
            const where = `${table}.${field.name}`;
            const row = byName.get(field.name);
            assert.ok(row, `${where} is no field of the model`);
            assert.equal(field.kind, row.kind, `${where}: kind`);
            assert.ok(mustRead(row), `${where} reaches neither the markup nor the applet`);
            assert.deepEqual(
                field.applet, row.appletAt < 0 ? null : [row.appletAt, row.appletPart],
                `${where}: place in the applet's value`);
            if (field.applet) assert.equal(field.form, row.appletForm, `${where}: applet form`);
            if (row.kind !== 'Look')
                assert.deepEqual(field.fallback, row.default, `${where}: default`);
        }
        const read = new Set(rows.map((field) => field.name));
        for (const row of model[table].filter(mustRead))
            assert.ok(read.has(row.name), `furlin.js does not read ${table}.${row.name}`);
    }
});

test('each default is what the runtime reads for a missing value', () => {
    for (const rows of Object.values(RUNTIME_TABLES))
        for (const field of rows.filter((row) => row.kind !== 'Look'))
            assert.deepEqual(f.readValue(field, undefined), field.fallback, field.name);
});
