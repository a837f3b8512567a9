// The core's own test tables (tests/core/tables) against the core compiled to
// WebAssembly, through the same controls interface the page uses: the same
// rows and the same expected texts as the desktop's Qt tests. They run on the
// tests' module, the page's core with the conversions of number texts besides.

import assert from 'node:assert/strict';
import { describe, test } from 'node:test';

import { loadCore, loadTestCore, readJson } from './support.mjs';

const core = await loadTestCore();
const calculations = readJson('tests/core/tables/calculations.json');
const numberTexts = readJson('tests/core/tables/number_texts.json');

// The controls as a plain table, as the desktop's tests keep them: what the
// user entered (a text, "on" for an option, a list's index), every control
// read and every caption written, in order.
function memoryControls(entries) {
  const window = {
    reads: [],
    writes: [],
    captions: {},
    text(name) {
      window.reads.push(name);
      return entries[name] ?? '';
    },
    value(name) {
      window.reads.push(name);
      return entries[name] === 'on' ? -1 : 0;
    },
    listIndex(name) {
      window.reads.push(name);
      return name in entries ? Number(entries[name]) : -1;
    },
    setCaption(name, caption) {
      window.writes.push([name, caption]);
      window.captions[name] = caption;
    },
  };
  return window;
}

describe('calculations', () => {
  const sections = { ropeCheck: 'Command1', drumSizeLimits: 'Command2', ropeCapacity: 'Command3' };
  for (const [section, button] of Object.entries(sections)) {
    for (const row of calculations[section]) {
      test(`${section}: ${row.name}`, () => {
        const window = memoryControls(row.entries);
        assert.equal(core.runButton(button, window), undefined);
        assert.deepEqual(window.writes, row.writes);
        assert.deepEqual(window.reads, calculations.reads[button]);
      });
    }
  }

  for (const row of calculations.errors) {
    test(`error: ${row.name}`, () => {
      const window = memoryControls(row.entries);
      for (const label of calculations.resultLabels)
        window.captions[label] = 'previous';
      assert.equal(core.runButton(row.button, window), row.message);
      assert.deepEqual(window.writes, row.writes);
      const written = new Set(row.writes.map(([label]) => label));
      for (const label of calculations.resultLabels)
        if (!written.has(label))
          assert.equal(window.captions[label], 'previous', label);
    });
  }

  test('the buttons are those of the window', () => {
    assert.deepEqual(core.buttonNames(), ['Command1', 'Command2', 'Command3']);
    assert.throws(() => core.runButton('Command4', memoryControls({})));
  });
});

// A value of the number tables: a decimal that reads as exactly that value.
function tableFloat(text) {
  if (text === 'inf')
    return Infinity;
  if (text === '-inf')
    return -Infinity;
  return Number(text);
}

describe('number texts', () => {
  for (const row of numberTexts.single) {
    test(`Single: ${row.name}`, () => {
      const value = tableFloat(row.value);
      assert.equal(Math.fround(value), value, 'the table holds Singles exactly');
      assert.equal(core.signedSingle(value), row.text);
    });
  }
  for (const row of numberTexts.double)
    test(`Double: ${row.name}`, () => assert.equal(core.signedDouble(tableFloat(row.value)), row.text));
  for (const row of numberTexts.currency)
    test(`Currency: ${row.name}`, () => assert.equal(core.signedCurrency(row.units), row.text));
  for (const row of numberTexts.integer) {
    test(`Integer: ${row.name}`, () => {
      assert.equal(core.signedInteger(row.value), row.signed);
      assert.equal(core.plainInteger(row.value), row.plain);
    });
  }
});

describe('text to number', () => {
  // The leading number of a text, as the desktop reads it; the digits of a
  // text of any length round correctly.
  const rows = [
    ['12.5abc', 12.5, false],
    ['5,5', 5, false],
    ['  -1.5e3', -1500, false],
    ['', 0, false],
    ['вес', 0, false],
    ['1e309', Infinity, true],
    [`0.${'3'.repeat(100000)}`, 1 / 3, false],
  ];
  for (const [text, value, overflow] of rows) {
    test(`"${text.slice(0, 12)}" (${text.length} characters)`, () => {
      assert.deepEqual(core.readNumber(text), { value, overflow });
    });
  }
});

test('the page\'s module carries none of the conversions exported for these tests', async () => {
  const shipped = await loadCore();
  for (const name of ['signedSingle', 'signedDouble', 'signedCurrency', 'signedInteger', 'plainInteger', 'readNumber']) {
    assert.equal(typeof core[name], 'function', name);
    assert.equal(shipped[name], undefined, name);
  }
});
