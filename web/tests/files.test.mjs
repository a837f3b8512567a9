// Calculation files in the browser edition, in Debian's Chromium: the file
// the page saves against the one the core writes of the same state, a file
// opened and saved again byte for byte, the files it refuses with the page
// left as it was, the notices and result differences it reports, and the
// calculation kept for the next visit once saved.

import assert from 'node:assert/strict';
import { mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, describe, test } from 'node:test';

import { launchChromium, loadTestCore, openWindow, root, serveSite, windowTables } from './support.mjs';

const tables = windowTables();
const rows = new Map(tables.controls.map(row => [row.name, row]));

let site;
let browser;
let context;
let page;
let core;
let checkWords;
let downloads;

before(async () => {
  core = await loadTestCore();
  checkWords = core.rulesCheckWords();
  downloads = mkdtempSync(join(tmpdir(), 'kalventa-files-'));
  site = await serveSite();
  browser = await launchChromium();
  // A context of its own: what the page keeps in the browser's storage stays here.
  context = await browser.createBrowserContext();
  page = await openWindow(browser, site.url, await context.newPage());
});

after(async () => {
  await context?.close();
  await browser?.close();
  await site?.close();
  if (downloads)
    rmSync(downloads, { recursive: true, force: true });
});

// ---- The state of a window, as the core sees it -----------------------------

// A window the test describes: field texts, options on, list indexes, label
// texts, as the core's FileWindow and Controls reach it. Runs of the core on
// it write its labels, as a button press writes the page's.
function modelWindow({ fields = {}, on = [], lists = {} } = {}) {
  const labels = {};
  return {
    labels,
    text: name => {
      const row = rows.get(name);
      if (row.kind === 'TextField')
        return fields[name] ?? '';
      return row.kind === 'Label' ? labels[name] ?? row.text : row.text;
    },
    value: name => (on.includes(name) ? -1 : 0),
    listIndex: name => lists[name] ?? -1,
    listItems: name => tables.lists.find(list => list.list === name).items,
    setCaption: (name, caption) => {
      labels[name] = caption;
    },
    run(button) {
      assert.equal(core.runButton(button, this), undefined);
      return this;
    },
  };
}

// The check's dialog as it stands when opened, but for what `entries` set:
// field texts by name, the option on in each pair, the group's index.
function modelCheck({ fields = {}, on = [], group = -1 } = {}) {
  const options = new Map();
  for (const control of checkWords.controls)
    if (control.kind === 'options')
      control.names.forEach((name, index) => options.set(name, { index, control }));
  const isOn = name => {
    const { index, control } = options.get(name);
    const chosen = control.names.find(other => on.includes(other));
    return chosen ? chosen === name : index === 0;
  };
  return {
    text: name => (options.has(name) ? options.get(name).control.options[options.get(name).index] : fields[name] ?? ''),
    value: name => (isOn(name) ? -1 : 0),
    listIndex: () => group,
    listItems: () => checkWords.groups,
  };
}

// ---- The page ----------------------------------------------------------------

// The page loaded anew, with nothing kept from an earlier save.
async function freshWindow() {
  await page.evaluate(() => localStorage.clear());
  await openWindow(browser, site.url, page);
}

// Waits for the event `name` that `action` makes the window send.
async function windowEvent(name, action) {
  await page.evaluate(type => {
    window.lastEvent = new Promise(done =>
      document.getElementById('Form1').addEventListener(type, event => done(event.detail), { once: true }));
  }, name);
  await action();
  return page.evaluate(() => window.lastEvent);
}

async function press(button) {
  const ran = await windowEvent('calculationrun', () => page.click(`#${button}`));
  assert.equal(ran.message, null);
}

// Ctrl+S: the downloaded file's name, bytes and media type, and whether the
// page kept the key from the browser.
async function save() {
  for (const name of readdirSync(downloads))
    rmSync(join(downloads, name));
  const session = await page.createCDPSession();
  const done = new Promise(resolve => session.on('Browser.downloadProgress', event => {
    if (event.state === 'completed')
      resolve();
  }));
  const named = new Promise(resolve => session.on('Browser.downloadWillBegin', event => resolve(event.suggestedFilename)));
  await session.send('Browser.setDownloadBehavior',
    { behavior: 'allow', downloadPath: downloads, eventsEnabled: true, browserContextId: context.id });
  await page.evaluate(() => {
    window.saved = { types: [] };
    const made = URL.createObjectURL;
    URL.createObjectURL = blob => {
      window.saved.types.push(blob.type);
      return made.call(URL, blob);
    };
    window.addEventListener('keydown', event => {
      if (event.code === 'KeyS')
        window.saved.prevented = event.defaultPrevented;
    });
  });
  await page.keyboard.down('Control');
  await page.keyboard.press('KeyS');
  await page.keyboard.up('Control');
  const name = await named;
  await done;
  await session.detach();
  const shown = await page.evaluate(() => window.saved);
  return { name, bytes: readFileSync(join(downloads, name)), ...shown };
}

// Drops a file of `bytes` named `name` on the window; what the page said of it.
function drop(name, bytes) {
  return windowEvent('calculationopened', () => page.evaluate((fileName, content) => {
    const carried = new DataTransfer();
    carried.items.add(new File([new Uint8Array(content)], fileName));
    document.getElementById('Label31').dispatchEvent(
      new DragEvent('drop', { dataTransfer: carried, bubbles: true, cancelable: true }));
  }, name, [...bytes]));
}

// The message box's text, closed after reading.
async function messageShown() {
  const text = await page.waitForSelector('dialog.message[open] .text').then(box => box.evaluate(t => t.textContent));
  await page.click('dialog.message button');
  await page.waitForFunction(() => document.querySelector('dialog.message') === null);
  return text;
}

// Everything the window shows and holds, for comparing before and after.
function windowState() {
  return page.evaluate(() => ({
    html: document.getElementById('Form1').outerHTML,
    fields: [...document.querySelectorAll('#Form1 input[type=text]')].map(field => field.value),
    on: [...document.querySelectorAll('#Form1 input[type=radio]')].map(option => option.checked),
    lists: [...document.querySelectorAll('#Form1 select')].map(list => list.selectedIndex),
    balloons: [...document.querySelectorAll('.balloon')].map(balloon => balloon.textContent),
    check: document.getElementById('RulesCheck')?.open ?? null,
  }));
}

const today = () => {
  const now = new Date();
  const two = number => String(number).padStart(2, '0');
  return `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`;
};

// The example of the three calculations, on the page and as the core's model.
const example = {
  fields: { Text1: '1000', Text3: '50000', Text2: '12', Text4: '400', Text5: '800', Text6: '15', Text7: '5000' },
  on: ['Option2', 'Option5'],
  lists: { Combo1: 2, Combo2: 0 },
};

async function enterOnPage({ fields, on, lists }) {
  for (const [name, text] of Object.entries(fields))
    await page.type(`#${name}`, text);
  for (const name of on)
    await page.click(`#${name}`);
  for (const [name, index] of Object.entries(lists))
    await page.select(`#${name}`, tables.lists.find(list => list.list === name).items[index]);
}

// ---- The tests ---------------------------------------------------------------

describe('saving', () => {
  test('Ctrl+S downloads the file the core writes of the same window, runs and check', async () => {
    await freshWindow();
    await enterOnPage(example);
    await press('Command3');
    await press('Command1');
    await page.keyboard.press('F9');
    await page.waitForSelector('#RulesCheck[open]');
    await page.select('#rulesGroup', 'M6');
    await page.type('#rulesHookMass', '250');
    await page.click('#rulesPlain');

    const saved = await save();
    const expected = core.writeFileOf(modelWindow(example).run('Command1').run('Command3'), ['Command1', 'Command3'],
      modelCheck({ fields: { rulesHookMass: '250' }, on: ['rulesPlain'], group: 5 }));
    assert.equal(saved.bytes.toString('utf8'), expected);
    assert.equal(saved.name, `Кальвента ${today()}.kalventa`);
    assert.deepEqual(saved.types, ['application/x-kalventa+json']);
    assert.equal(saved.prevented, true);
  });

  test('a new window saves every calculation as not run and no check', async () => {
    await freshWindow();
    const saved = await save();
    assert.equal(saved.bytes.toString('utf8'), core.writeFileOf(modelWindow(), [], null));
  });
});

describe('opening', () => {
  // A file with texts of every kind, a long field, title data and a key of a
  // later version, its results those of the core's runs.
  function richFile() {
    const state = {
      fields: { Text1: '1000 кг «брутто» 😀', Text3: '5E4', Text2: '12,5', Text4: '400', Text5: '800', Text6: '15',
        Text7: `5000${' я'.repeat(60000)}` },
      on: ['Option3'],
      lists: { Combo1: 5, Combo2: 1 },
    };
    const text = core.writeFileOf(modelWindow(state).run('Command1').run('Command2').run('Command3'),
      ['Command1', 'Command2', 'Command3'], modelCheck({ fields: { rulesEfficiency: '0,9 — по паспорту' }, group: 7 }));
    return text.replace('"object": ""', '"object": "Кран «Ока» № 3\\t\\u0001"')
      .replace('"version": 1,\n', '"version": 1,\n  "future": {\n    "kept": [\n      1,\n      "два"\n    ]\n  },\n');
  }

  test('Ctrl+O opens a file over a window that held another calculation; saving gives the same bytes', async () => {
    const file = richFile();
    assert.match(file, /"future"[\s\S]*"object": "Кран/);
    await freshWindow();
    // Before: an option the file leaves unchosen, a misread field with its balloon.
    await enterOnPage({ fields: { Text1: '7,5', Text2: '3' }, on: ['Option4', 'Option6'], lists: {} });
    await press('Command1');
    const path = join(downloads, 'Кран «Ока».kalventa');
    writeFileSync(path, file);
    const [chooser] = await Promise.all([
      page.waitForFileChooser(),
      page.keyboard.down('Control').then(() => page.keyboard.press('KeyO')).then(() => page.keyboard.up('Control')),
    ]);
    assert.equal(await page.$eval('#openCalculation', input => input.accept), '.kalventa,application/x-kalventa+json');
    const opened = await windowEvent('calculationopened', () => chooser.accept([path]));
    assert.deepEqual(opened, { name: 'Кран «Ока».kalventa', opened: true, message: null });
    const state = await windowState();
    assert.deepEqual(state.on, [false, false, true, false, false, false]);
    // The balloons are those of the runs again, as after pressing the buttons.
    assert.deepEqual(state.balloons, ['Прочитано как 1000: «кг «брутто» 😀» после числа не учтено.',
      'Прочитано как 12: запятая не входит в число. Для 12,5 введите 12.5',
      'Прочитано как 5000: «я я я я я я я я я я …» после числа не учтено.']);
    assert.equal(state.check, true);
    const saved = await save();
    assert.equal(saved.bytes.toString('utf8'), file);
  });

  test('the desktop\'s sample file opens without a word and saves as the same bytes', async () => {
    const sample = readFileSync(join(root, 'tests', 'files', 'sample.kalventa'));
    await freshWindow();
    const opened = await drop('sample.kalventa', sample);
    assert.deepEqual(opened, { name: 'sample.kalventa', opened: true, message: null });
    assert.deepEqual((await save()).bytes, sample);
  });

  test('the file of a new window puts a window that had runs, notices and the check back as newly loaded', async () => {
    await freshWindow();
    const loaded = await windowState();
    await enterOnPage({ ...example, fields: { ...example.fields, Text1: '1000,5' } });
    await press('Command1');
    await press('Command3');
    await page.keyboard.press('F9');
    await page.waitForSelector('#RulesCheck[open]');
    const opened = await drop('новый.kalventa', Buffer.from(core.writeFileOf(modelWindow(), [], null)));
    assert.deepEqual(opened, { name: 'новый.kalventa', opened: true, message: null });
    assert.deepEqual(await windowState(), loaded);
    assert.equal(await page.$('#RulesCheck'), null);
  });

  test('a missing value is a notice and stays as in a new calculation', async () => {
    const document = JSON.parse(core.writeFileOf(modelWindow(example).run('Command1'), ['Command1'], null));
    delete document.rope_check.inputs.load_weight_kg;
    delete document.drum_size_limits;
    await freshWindow();
    await page.type('#Text1', '5');
    const opened = await drop('неполный.kalventa', Buffer.from(JSON.stringify(document)));
    const { Text1, ...others } = example.fields;
    const now = modelWindow({ ...example, fields: others }).run('Command1').labels;
    const message = 'Файл «неполный.kalventa» открыт.\n'
      + 'В файле нет значения «вес груза» расчёта «Расчёт каната» (load_weight_kg): поле оставлено как в новом расчёте.\n'
      + 'В файле нет сведений о расчёте «Допустимые размеры барабана»: его поля оставлены как в новом расчёте.\n'
      + `Результаты отличаются от сохранённых: минимальное допустимое натяжение каната: сохранено « 55000», теперь «${now.Label3}»; `
      + `заключение о канате: сохранено «Не допустимо», теперь «${now.Label6}»`;
    assert.deepEqual(opened, { name: 'неполный.kalventa', opened: true, message: `${message}.` });
    assert.equal(await messageShown(), `${message}.`);
    assert.equal(await page.$eval('#Text1', field => field.value), '');
  });

  test('a result that differs from the saved one is reported after the runs', async () => {
    const model = modelWindow(example).run('Command3');
    const document = JSON.parse(core.writeFileOf(model, ['Command3'], null));
    document.rope_capacity.results.rope_capacity_m = '1';
    await freshWindow();
    const opened = await drop('старый.kalventa', Buffer.from(JSON.stringify(document)));
    assert.equal(opened.message, 'Файл «старый.kalventa» открыт.\nРезультаты отличаются от сохранённых: '
      + `канатоёмкость: сохранено «1», теперь «${model.labels.Label20}».`);
    assert.equal(await messageShown(), opened.message);
    assert.equal(await page.$eval('#Label20', label => label.textContent), model.labels.Label20);
  });
});

describe('a file that cannot be opened leaves the window as it was', () => {
  const valid = () => JSON.parse(core.writeFileOf(modelWindow(example).run('Command3'), ['Command3'], null));
  const json = document => Buffer.from(JSON.stringify(document));
  const changed = change => {
    const document = valid();
    change(document);
    return json(document);
  };
  const layers = tables.lists.find(list => list.list === 'Combo1').items.length;
  const cases = [
    ['not JSON', () => Buffer.from('Кальвента'), 'это не JSON: ошибка в тексте (строка 1, столбец 1)'],
    ['JSON cut short', () => json(valid()).subarray(0, 40), 'файл обрывается, не закончив JSON'],
    ['another format', () => json({ format: 'other', version: 1 }),
      'это не файл расчёта Кальвенты: нет метки «"format": "kalventa-calculation"»'],
    ['a newer version', () => changed(document => { document.version = 2; }),
      'файл записан более новой версией программы (формат версии 2); эта версия читает формат версии 1: обновите программу'],
    ['a number for a text', () => changed(document => { document.rope_capacity.inputs.drum_length_mm = 800; }),
      'значение «rope_capacity → inputs → drum_length_mm» должно быть текстом, а в файле число'],
    ['a list item the list lacks', () => changed(document => { document.rope_capacity.choices.rope_layers.index = layers; }),
      `выбор «число слоёв каната» расчёта «Расчёт канатоёмкости»: пункта ${layers} в списке нет (в нём пункты 0 … ${layers - 1})`],
    ['a check group the list lacks', () => changed(document => {
      document.rules_check = { inputs: {}, choices: { rules_group: { index: 8, text: 'M9' } } };
    }), 'выбор «группа классификации механизма» расчёта «Проверка по действующим правилам»: пункта 8 в списке нет (в нём пункты 0 … 7)'],
    ['bytes that are not UTF-8', () => {
      const bytes = Buffer.from(core.writeFileOf(modelWindow(example), [], null));
      const at = bytes.indexOf('"400"') + 1;
      bytes[at] = 0xff;
      return bytes;
    }, 'текст файла не в кодировке UTF-8 (строка 39, столбец 28)'],
  ];

  for (const [name, bytes, reason] of cases) {
    test(name, async () => {
      await freshWindow();
      await enterOnPage({ fields: { Text2: '12', Text1: '7,5' }, on: ['Option1'], lists: { Combo2: 1 } });
      await press('Command2');
      await press('Command1');
      const before = await windowState();
      const savedBefore = await save();
      const opened = await drop('плохой.kalventa', bytes());
      const message = `Файл «плохой.kalventa» не открыт: ${reason}.`;
      assert.deepEqual(opened, { name: 'плохой.kalventa', opened: false, message });
      assert.equal(await messageShown(), message);
      assert.deepEqual(await windowState(), before);
      assert.deepEqual((await save()).bytes, savedBefore.bytes);
    });
  }

  test('a file over 64 MB is refused unread', async () => {
    await freshWindow();
    await page.type('#Text2', '12');
    await press('Command2');
    const before = await windowState();
    const opened = await windowEvent('calculationopened', () => page.evaluate(() => {
      const file = new File([new Uint8Array(64 * 1024 * 1024 + 1)], 'огромный.kalventa');
      file.arrayBuffer = file.text = file.stream = () => {
        throw new Error('read');
      };
      const carried = new DataTransfer();
      carried.items.add(file);
      // The copy DataTransfer hands on is another object: its reading is stopped too.
      for (const reading of ['arrayBuffer', 'text', 'stream'])
        Blob.prototype[reading] = () => Promise.reject(new Error('read'));
      document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: carried, bubbles: true, cancelable: true }));
    }));
    const message = 'Файл «огромный.kalventa» не открыт: файл больше 64 МБ.';
    assert.deepEqual(opened, { name: 'огромный.kalventa', opened: false, message });
    assert.equal(await messageShown(), message);
    assert.deepEqual(await windowState(), before);
  });
});

describe('the calculation kept in the browser', () => {
  test('nothing is kept until the user saves; the saved calculation is opened again on the next visit', async () => {
    await freshWindow();
    await enterOnPage(example);
    await press('Command2');
    assert.equal(await page.evaluate(() => localStorage.length), 0);
    await save();
    // Typed after the save: not kept.
    await page.type('#Text2', '5');

    const next = await openWindow(browser, site.url, await context.newPage());
    try {
      const texts = await next.evaluate(() => ({
        Text2: document.getElementById('Text2').value, Label8: document.getElementById('Label8').textContent,
        Label3: document.getElementById('Label3').textContent, message: document.querySelector('dialog.message'),
      }));
      const model = modelWindow(example).run('Command2');
      assert.deepEqual(texts, { Text2: '12', Label8: model.labels.Label8, Label3: '', message: null });
    } finally {
      await next.close();
    }
  });
});
