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

// The check against today's rules from the same core functions as the
// desktop's dialog: the window's fields and the check's own controls through
// one controls object, the date passed in.
describe('the check against today\'s rules', () => {
  const checked = { year: 2026, month: 12, day: 8 };

  test('a rope at M6 and a drum of 19 · d at M7, the lines the desktop shows', () => {
    const window = memoryControls({ Text1: '1000', Text3: '54936', Text4: '228', Text6: '12', rulesGroup: '6' });
    const { lines, summary } = core.rulesCheck(window, checked);
    assert.deepEqual(lines.slice(0, 10), [
      'Канат',
      '  S = (Q + m) · 9.81 / (a · u · η) = (1000 + 0) · 9.81 / (1 · 1 · 1) = 9810 Н',
      '  Zp = Fр / S = 54936 / 9810 = 5.6',
      '  Группа M7, канат бегучий: Zp = 5.6 < 7.10 — требование не выполнено; требуется Fр ≥ 7.10 · S = 69651 Н',
      '  Наивысшая группа, требованию которой канат отвечает: M6',
      'Барабан',
      '  h1 = (D + d) / d = (228 + 12) / 12 = 20',
      '  Группа M7: h1 = 20 < 22.4 — требование не выполнено; требуется D ≥ (22.4 − 1) · d = 256.8 мм',
      '  Наивысшая группа, требованию которой барабан отвечает: M6',
      'Исходные данные',
    ]);
    assert.equal(summary, 'Проверка по действующим правилам, группа M7: канат: не выполнено, Zp 5.6 < 7.10, '
      + 'требуется Fр ≥ 69651 Н, наивысшая группа M6; барабан: не выполнено, h1 20 < 22.4, требуется D ≥ 256.8 мм, '
      + 'наивысшая группа M6');
    // It only reads: no caption is written.
    assert.deepEqual(window.writes, []);
  });

  test('the check\'s own controls: a standing rope, two falls on plain bearings', () => {
    const window = memoryControls({
      Text1: '1000', Text3: '30000', rulesGroup: '7', rulesStanding: 'on', rulesReevingRatio: '2', rulesPlain: 'on',
    });
    assert.deepEqual(core.rulesCheck(window, checked).lines.slice(1, 6), [
      '  η = (1 − ηб^u) / (u · (1 − ηб)) = (1 − 0.95^2) / (2 · (1 − 0.95)) = 0.975 (подшипники блоков скольжения, ηб = 0.95)',
      '  S = (Q + m) · 9.81 / (a · u · η) = (1000 + 0) · 9.81 / (1 · 2 · 0.975) = 5030.769 Н',
      '  Zp = Fр / S = 30000 / 5030.769 = 5.963',
      '  Группа M8, канат стоячий: Zp = 5.963 ≥ 5.00 — требование выполнено',
      '  Наивысшая группа, требованию которой канат отвечает: M8',
    ]);
  });

  test('after the stored date the rule is said to have expired', () => {
    const window = memoryControls({ Text1: '1000', Text3: '54936' });
    assert.equal(core.rulesCheck(window, checked).lines[0], 'Канат');
    assert.equal(core.rulesCheck(window, { year: 2027, month: 1, day: 1 }).lines[0],
      'Внимание: срок действия ФНП по сохранённым сведениям истёк 01.01.2027: проверьте действующую редакцию');
  });

  test('its dialog is built from the desktop\'s controls', () => {
    const words = core.rulesCheckWords();
    assert.equal(words.title, 'Проверка по действующим правилам');
    assert.deepEqual(words.controls.map(control => [control.kind, control.names[0], control.spoken]), [
      ['list', 'rulesGroup', 'Группа классификации механизма, M1–M8'],
      ['options', 'rulesRunning', 'Канат бегучий или стоячий'],
      ['field', 'rulesReevingRatio', 'Кратность полиспаста u, пустое поле — 1'],
      ['field', 'rulesWoundBranches', 'Ветвей каната, навиваемых на барабан, a, пустое поле — 1'],
      ['field', 'rulesEfficiency', 'КПД полиспаста η, пустое поле — по кратности и подшипникам блоков'],
      ['options', 'rulesRolling', 'Подшипники блоков'],
      ['field', 'rulesHookMass', 'Масса крюковой подвески m, кг, пустое поле — 0'],
    ]);
    assert.deepEqual(words.groups, ['M1', 'M2', 'M3', 'M4', 'M5', 'M6', 'M7', 'M8']);
  });
});
