// The browser edition in Debian's Chromium: the window against the window's
// tables, its initial state, every calculation example typed and clicked
// with the exact label texts, the error message boxes and the window after
// them, the Tab cycle, the option groups, and long and odd texts.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { join } from 'node:path';
import { after, before, describe, test } from 'node:test';
import { pathToFileURL } from 'node:url';

import { launchChromium, loadCore, openWindow, readJson, root, serveSite, siteDir, windowTables } from './support.mjs';

const tables = windowTables();
const calculations = readJson('tests/core/tables/calculations.json');
const rows = new Map(tables.controls.map(row => [row.name, row]));
const pixels = twips => Math.trunc(twips / tables.twipsPerPixel);

// A control's box in pixels from the window's top-left corner. On the sketch
// boxes count from the corner inside its two-pixel border.
function expectedBox(name) {
  const row = rows.get(name);
  let left = pixels(row.box.left);
  let top = pixels(row.box.top);
  for (let container = rows.get(row.container); container; container = rows.get(container.container)) {
    const border = container.kind === 'PictureArea' ? 2 : 0;
    left += pixels(container.box.left) + border;
    top += pixels(container.box.top) + border;
  }
  return { left, top, width: pixels(row.box.width), height: pixels(row.box.height) };
}

let site;
let browser;
let page;

before(async () => {
  site = await serveSite();
  browser = await launchChromium();
  page = await openWindow(browser, site.url);
});

after(async () => {
  await browser?.close();
  await site?.close();
});

// The texts of the result labels, by name.
function resultTexts() {
  return page.evaluate(names => Object.fromEntries(names.map(name => [name, document.getElementById(name).textContent])),
    calculations.resultLabels);
}

// Does `action` and waits for the calculation it starts to end: what the
// window reports of the run.
async function run(action) {
  await page.evaluate(() => {
    window.lastRun = new Promise(done =>
      document.getElementById('Form1').addEventListener('calculationrun', event => done(event.detail), { once: true }));
  });
  await action();
  return page.evaluate(() => window.lastRun);
}

// Presses a button with the mouse and waits for its calculation to end.
function press(button) {
  return run(() => page.click(`#${button}`));
}

// Enters what a row of the core's tables entered: types into text fields,
// clicks option buttons, chooses list items.
async function enter(entries) {
  for (const [name, entry] of Object.entries(entries)) {
    const row = rows.get(name);
    if (row.kind === 'TextField')
      await page.type(`#${name}`, entry);
    else if (row.kind === 'OptionButton')
      await page.click(`#${name}`);
    else
      await page.select(`#${name}`, tables.lists.find(list => list.list === name).items[Number(entry)]);
  }
}

// Whether the window can hold what a row entered: a list index among its
// items, at most one option on in each group.
function enterable(entries) {
  const groups = new Set();
  for (const [name, entry] of Object.entries(entries)) {
    const row = rows.get(name);
    if (row.kind === 'DropDownList') {
      const items = tables.lists.find(list => list.list === name).items;
      if (!(Number(entry) >= 0 && Number(entry) < items.length))
        return false;
    }
    if (row.kind === 'OptionButton') {
      if (groups.has(row.container))
        return false;
      groups.add(row.container);
    }
  }
  return true;
}

// The labels after the writes of a row, from labels that were all empty.
function textsAfter(writes) {
  const texts = Object.fromEntries(calculations.resultLabels.map(label => [label, '']));
  for (const [label, caption] of writes)
    texts[label] = caption;
  return texts;
}

describe('the window', () => {
  test('is Form1 in Russian, 690 by 483 pixels on the warm background, titled Кальвента', async () => {
    const window = await page.evaluate(() => {
      const form = document.getElementById('Form1');
      const box = form.getBoundingClientRect();
      return {
        lang: document.documentElement.lang,
        title: document.title,
        width: box.width,
        height: box.height,
        background: getComputedStyle(form).backgroundColor,
        controls: form.querySelectorAll('[data-kind]').length,
      };
    });
    assert.deepEqual(window, {
      lang: 'ru', title: 'Кальвента', width: 690, height: 483,
      background: 'rgb(255, 224, 192)', controls: 54,
    });
  });

  test('every control at its box, with its kind, text, font, colours and alignment', async () => {
    const shown = await page.evaluate(() => {
      const origin = document.getElementById('Form1').getBoundingClientRect();
      return [...document.querySelectorAll('#Form1 [data-kind]')].map(element => {
        const box = element.getBoundingClientRect();
        const style = getComputedStyle(element);
        const captionElement = element.querySelector(':scope > .caption, :scope > span');
        const inkStyle = getComputedStyle(captionElement ?? element);
        return {
          name: element.id,
          kind: element.dataset.kind,
          tag: element.tagName.toLowerCase(),
          type: element.type ?? null,
          radio: element.querySelector('input[type=radio]')?.name ?? null,
          box: { left: box.left - origin.left, top: box.top - origin.top, width: box.width, height: box.height },
          text: element.dataset.kind === 'TextField' || element.dataset.kind === 'DropDownList' ? element.value
            : element.dataset.kind === 'PictureArea' ? [...element.childNodes].filter(node => node.nodeType === Node.TEXT_NODE)
              .map(node => node.textContent).join('')
              : (captionElement ?? element).textContent,
          fontSize: style.fontSize,
          fontWeight: style.fontWeight,
          underlined: style.textDecorationLine === 'underline',
          family: style.fontFamily,
          ink: inkStyle.color,
          background: element.dataset.kind === 'Label' || element.dataset.kind === 'Button' ? style.backgroundColor : null,
          centred: style.textAlign === 'center',
        };
      });
    });
    const tags = { GroupBox: 'div', Label: 'div', TextField: 'input', OptionButton: 'label', DropDownList: 'select',
      Button: 'button', PictureArea: 'div' };
    assert.deepEqual(shown.map(control => control.name).sort(), tables.controls.map(row => row.name).sort());
    for (const control of shown) {
      const row = rows.get(control.name);
      const font = tables.fonts[row.font];
      assert.equal(control.kind, row.kind, control.name);
      assert.equal(control.tag, tags[row.kind], control.name);
      if (row.kind === 'TextField')
        assert.equal(control.type, 'text', control.name);
      if (row.kind === 'OptionButton')
        assert.equal(control.radio, row.container, `${control.name} is in the group of its container`);
      assert.deepEqual(control.box, expectedBox(control.name), control.name);
      assert.equal(control.text, row.text, control.name);
      assert.equal(control.fontSize, font.points === 8.25 ? '11px' : '13px', control.name);
      assert.equal(control.fontWeight, font.bold ? '700' : '400', control.name);
      assert.equal(control.underlined, font.underlined, control.name);
      assert.match(control.family, /^"Liberation Sans"/, control.name);
      if (row.kind !== 'TextField' && row.kind !== 'DropDownList' && row.kind !== 'PictureArea')
        assert.equal(control.ink, row.ink, control.name);
      if (row.kind === 'Label') {
        assert.equal(control.background, tables.colours.formBackground, control.name);
        assert.equal(control.centred, row.centred, control.name);
      }
      if (row.kind === 'Button')
        assert.equal(control.background, tables.colours.buttonFace, control.name);
    }
  });

  // A few controls as the layout gives them, written out here, so that the
  // generated tables themselves are checked too.
  test('the generated tables hold the layout', () => {
    const spot = name => ({ ...rows.get(name).box, text: rows.get(name).text, container: rows.get(name).container });
    assert.deepEqual(spot('Frame4'), { left: 120, top: 3120, width: 10095, height: 3735, text: 'Расчет канатоёмкости',
      container: 'Form1' });
    assert.deepEqual(spot('Label31'), { left: 8040, top: 6960, width: 2175, height: 255, text: '  Орвинск   V 1.3 ',
      container: 'Form1' });
    assert.deepEqual(spot('Label16'), { left: 840, top: 480, width: 495, height: 255, text: '', container: 'Picture1' });
    assert.deepEqual(expectedBox('Label16'), { left: 8 + 16 + 2 + 56, top: 208 + 24 + 2 + 32, width: 33, height: 17 });
    assert.equal(tables.controls.length, 54);
    assert.deepEqual([tables.sketchLines.length, tables.sketchCircles.length], [56, 12]);
    assert.deepEqual(tables.sketchLines[9], { name: 'Line10', x1: 1440, y1: 2160, x2: 1560, y2: 2160,
      colour: 'rgb(0, 0, 0)' });
    assert.deepEqual(tables.lists[1].items, ['Сталь. сварн.(1400 кг/см2)', 'Чугунный(1000 кг/см2)']);
  });

  test('the embedded Liberation Sans, regular and bold, is what the texts are set in', async () => {
    const faces = await page.evaluate(() => [...document.fonts].map(face => `${face.family} ${face.weight} ${face.status}`));
    assert.deepEqual(faces.sort(), ['Liberation Sans 400 loaded', 'Liberation Sans 700 loaded']);
  });

  test('the lists hold their items in order, none chosen', async () => {
    for (const list of tables.lists) {
      const shown = await page.$eval(`#${list.list}`, element => ({
        items: [...element.options].map(option => option.text),
        index: element.selectedIndex,
        shown: element.value,
      }));
      assert.deepEqual(shown, { items: list.items, index: -1, shown: '' });
    }
  });

  test('fields, lists, buttons, groups and the sketch lie above the labels; the turns per layer above "Витки"', async () => {
    const atPoints = await page.evaluate(() => {
      const at = (x, y) => document.elementFromPoint(x, y)?.closest('[data-kind]')?.id;
      const centre = (a, b) => {
        const one = document.getElementById(a).getBoundingClientRect();
        const two = document.getElementById(b).getBoundingClientRect();
        return at((Math.max(one.left, two.left) + Math.min(one.right, two.right)) / 2,
          (Math.max(one.top, two.top) + Math.min(one.bottom, two.bottom)) / 2);
      };
      return { turns: centre('Label24', 'Label16'), load: centre('Label28', 'Text7'), rope: centre('Label2', 'Label3') };
    });
    assert.deepEqual(atPoints, { turns: 'Label16', load: 'Text7', rope: 'Label3' });
  });

  test('the sketch draws its 56 lines and 12 circles in their colours', async () => {
    const sketch = await page.evaluate((lines, circles, twipsPerPixel) => {
      const canvas = document.querySelector('#Picture1 > canvas');
      const context = canvas.getContext('2d');
      const colour = (x, y) => {
        const [r, g, b] = context.getImageData(x, y, 1, 1).data;
        return `rgb(${r}, ${g}, ${b})`;
      };
      const px = twips => Math.trunc(twips / twipsPerPixel);
      return {
        size: [canvas.width, canvas.height],
        lineEnds: lines.map(line => [colour(px(line.x1), px(line.y1)), colour(px(line.x2), px(line.y2))]),
        // The top of each circle: ink, where the background is not.
        circleTops: circles.map(circle => context.getImageData(px(circle.box.left) + 4, px(circle.box.top), 1, 1).data[3]),
        empty: context.getImageData(5, 200, 1, 1).data[3],
      };
    }, tables.sketchLines, tables.sketchCircles, tables.twipsPerPixel);
    assert.deepEqual(sketch.size, [317, 213]);
    assert.equal(sketch.lineEnds.length, 56);
    // Where two lines cross the later one is drawn on top: compare each end
    // with the colour of the last line through it.
    const last = new Map();
    for (const line of tables.sketchLines)
      for (const [x, y] of [[line.x1, line.y1], [line.x2, line.y2]])
        last.set(`${pixels(x)},${pixels(y)}`, line.colour);
    tables.sketchLines.forEach((line, k) => {
      assert.equal(sketch.lineEnds[k][0], last.get(`${pixels(line.x1)},${pixels(line.y1)}`), line.name);
      assert.equal(sketch.lineEnds[k][1], last.get(`${pixels(line.x2)},${pixels(line.y2)}`), line.name);
    });
    assert.equal(sketch.circleTops.length, 12);
    for (const alpha of sketch.circleTops)
      assert.ok(alpha > 100, `circle outline alpha ${alpha}`);
    assert.equal(sketch.empty, 0);
  });

  test('starts with empty fields, no option on, no list item chosen, empty results and the focus in Text1', async () => {
    const state = await page.evaluate(() => ({
      fields: [...document.querySelectorAll('#Form1 input[type=text]')].map(field => field.value),
      on: [...document.querySelectorAll('#Form1 input[type=radio]')].filter(option => option.checked).length,
      lists: [...document.querySelectorAll('#Form1 select')].map(list => list.selectedIndex),
      focus: document.activeElement.closest('[data-kind]')?.id,
    }));
    assert.deepEqual(state, { fields: ['', '', '', '', '', '', ''], on: 0, lists: [-1, -1], focus: 'Text1' });
    assert.deepEqual(await resultTexts(), textsAfter([]));
  });

  test('asks for nothing outside its own folder', async () => {
    const fresh = await browser.newPage();
    const requests = [];
    fresh.on('request', request => requests.push(request.url()));
    const failures = [];
    fresh.on('requestfailed', request => failures.push(request.url()));
    fresh.on('response', response => {
      if (response.status() >= 400)
        failures.push(`${response.status()} ${response.url()}`);
    });
    await openWindow(browser, site.url, fresh);
    // The icon may still be on its way: closing the page would cancel it.
    await fresh.waitForNetworkIdle({ idleTime: 100 });
    const seen = [...failures];
    await fresh.close();
    assert.deepEqual(seen, []);
    assert.ok(requests.length >= 5, requests.join(' '));
    for (const url of requests)
      assert.ok(url.startsWith(site.url) || url.startsWith('data:'), url);
  });
});

describe('every calculation example, typed and clicked', () => {
  const sections = { ropeCheck: 'Command1', drumSizeLimits: 'Command2', ropeCapacity: 'Command3' };
  for (const [section, button] of Object.entries(sections)) {
    for (const row of calculations[section].filter(example => enterable(example.entries))) {
      test(`${section}: ${row.name}`, async () => {
        await openWindow(browser, site.url, page);
        await enter(row.entries);
        const ran = await press(button);
        assert.equal(ran.message, null);
        assert.deepEqual(ran.written, row.writes);
        assert.deepEqual(await resultTexts(), textsAfter(row.writes));
      });
    }
  }

  test('pressing a button twice gives the same texts; changing an input changes no label until a press', async () => {
    await openWindow(browser, site.url, page);
    await enter({ Text4: '400', Text5: '800', Text6: '15', Combo1: '2' });
    await press('Command3');
    const first = await resultTexts();
    await press('Command3');
    assert.deepEqual(await resultTexts(), first);
    await page.select('#Combo1', '6');
    await page.type('#Text6', '0');
    assert.deepEqual(await resultTexts(), first);
    await press('Command3');
    assert.equal(await page.$eval('#Label18', label => label.textContent), '6');
  });
});

describe('run-time errors', () => {
  for (const row of calculations.errors.filter(example => enterable(example.entries))) {
    test(row.name, async () => {
      await openWindow(browser, site.url, page);
      await enter(row.entries);
      const ran = await press(row.button);
      assert.equal(ran.message, row.message);
      const dialog = await page.waitForSelector('dialog[role=alertdialog][open]');
      const shown = await dialog.evaluate(box => ({
        modal: box.matches(':modal'),
        title: box.querySelector('.title').textContent,
        text: box.querySelector('.text').textContent,
        label: document.getElementById(box.getAttribute('aria-describedby')).textContent,
      }));
      assert.deepEqual(shown, { modal: true, title: tables.caption, text: row.message, label: row.message });
      assert.deepEqual(await resultTexts(), textsAfter(row.writes));
      await page.keyboard.press('Enter');
      await page.waitForSelector('dialog', { hidden: true });
    });
  }

  test('a stopped run empties the labels it did not reach, and the window works on after the message box is closed', async () => {
    await openWindow(browser, site.url, page);
    await enter({ Text4: '400', Text5: '800', Text6: '15', Text7: '5000', Combo1: '2', Combo2: '0', Option5: 'on' });
    await press('Command3');
    const before = await resultTexts();
    assert.equal(before.Label19, ' 222.2832');
    // Drum length 327675 with a rope of 10 mm: 32767.5 turns, one too many.
    await page.click('#Text5', { clickCount: 3 });
    await page.type('#Text5', '327675');
    await page.click('#Text6', { clickCount: 3 });
    await page.type('#Text6', '10');
    const ran = await press('Command3');
    assert.match(ran.message, /^Переполнение: число вышло за допустимые пределы\.\nВеличина: число витков в слое\./);
    const emptied = { Label18: '', Label21: '', Label16: '', Label23: '', Label12: '', Label19: '', Label20: '' };
    assert.deepEqual(await resultTexts(), { ...before, ...emptied });
    // While the box is open it lies over the whole window, which takes no click.
    const hit = await page.evaluate(() => {
      const box = document.getElementById('Command2').getBoundingClientRect();
      return document.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2).closest('dialog') !== null;
    });
    assert.equal(hit, true);
    await page.click('dialog button');
    await page.waitForSelector('dialog', { hidden: true });
    // The box hides at once; its close event, which gives the focus back,
    // follows: typing before it would lose keys to the button.
    await page.waitForFunction(() => document.querySelector('dialog') === null);
    assert.equal(await page.evaluate(() => document.activeElement.id), 'Command3');
    await page.type('#Text2', '12');
    await press('Command2');
    const after = await resultTexts();
    assert.deepEqual([after.Label8, after.Label10], [' 228', ' 684']);
    assert.equal(after.Label19, ''); // another calculation's run leaves it as it was
  });
});

describe('the keyboard', () => {
  const focused = () => page.evaluate(() => (document.activeElement.closest('[data-kind]') ?? document.activeElement).id);
  async function shiftTab() {
    await page.keyboard.down('Shift');
    await page.keyboard.press('Tab');
    await page.keyboard.up('Shift');
  }

  test('Tab visits the controls in the desktop\'s order, an option group as one stop, then the command bar', async () => {
    await openWindow(browser, site.url, page);
    const visited = [await focused()];
    for (let k = 0; k < 20; ++k) {
      await page.keyboard.press('Tab');
      visited.push(await focused());
    }
    assert.deepEqual(visited, ['Text1', 'Option1', 'Text3', 'Command1', 'Command2', 'Text2', 'Text6', 'Combo1',
      'Option5', 'Command3', 'Picture1', 'Text7', 'Combo2', 'Text4', 'Text5',
      'commandOpen', 'commandSave', 'commandPrint', 'commandCopy', 'commandRules', 'commandFormulas']);
    await page.focus('#commandOpen');
    await shiftTab();
    assert.equal(await focused(), 'Text5');
  });

  // The browser takes the focus out of the page; a headless one, with
  // nothing else to focus, may give it back to the page at once, from the
  // other end, as a browser's own Tab into a page does.
  for (const [from, backwards, otherEnd] of [['commandFormulas', false, 'Text1'], ['Text1', true, 'commandFormulas']]) {
    test(`${backwards ? 'Shift+Tab' : 'Tab'} from ${from} leaves the page`, async () => {
      await openWindow(browser, site.url, page);
      // A page the last test's Tab left has the focus in its window again.
      await page.bringToFront();
      await page.focus(`#${from}`);
      await page.waitForFunction(() => document.hasFocus(), { timeout: 3000 });
      await page.evaluate(() => {
        window.focusLog = [];
        document.addEventListener('focusin', event => focusLog.push(event.target.id));
        window.addEventListener('blur', () => focusLog.push('left the page'));
      });
      if (backwards)
        await shiftTab();
      else
        await page.keyboard.press('Tab');
      const log = (await page.evaluate(() => focusLog)).filter(id => id !== 'pageStart');
      assert.deepEqual(log.slice(0, 1), ['left the page']);
      assert.ok(log.length === 1 || (log.length === 2 && log[1] === otherEnd), log.join(', '));
    });
  }

  test('Tab enters an option group at its chosen option; the arrow keys move within it', async () => {
    await openWindow(browser, site.url, page);
    await page.click('#Option3');
    await page.focus('#Text1');
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.closest('[data-kind]').id), 'Option3');
    await page.keyboard.press('ArrowDown');
    const on = await page.$$eval('#Form1 input[type=radio]', options =>
      options.filter(option => option.checked).map(option => option.closest('[data-kind]').id));
    assert.deepEqual(on, ['Option4']);
  });

  test('Enter on a focused button runs its calculation', async () => {
    await openWindow(browser, site.url, page);
    await page.type('#Text2', '8.3');
    await page.focus('#Command2');
    const ran = await run(() => page.keyboard.press('Enter'));
    assert.deepEqual(ran.written, [['Label8', ' 157.7'], ['Label10', ' 473.1']]);
  });
});

describe('the command bar', () => {
  test('lies under the window, each command named over its key, ⌘ on a Mac', async () => {
    const bar = async on => page.evaluate(() => {
      const window_ = document.getElementById('Form1').getBoundingClientRect();
      return [...document.querySelectorAll('#commands > button')].map(button => {
        const box = button.getBoundingClientRect();
        return [button.id, button.querySelector('span').textContent, button.querySelector('kbd').textContent,
          button.getAttribute('aria-keyshortcuts'), box.top >= window_.bottom && box.right <= window_.right];
      });
    });
    await openWindow(browser, site.url, page);
    assert.deepEqual(await bar(), [
      ['commandOpen', 'Открыть…', 'Ctrl+O', 'Control+O', true],
      ['commandSave', 'Сохранить…', 'Ctrl+S', 'Control+S', true],
      ['commandPrint', 'Печать…', 'Ctrl+P', 'Control+P', true],
      ['commandCopy', 'Копировать результаты', 'Ctrl+Alt+C', 'Control+Alt+C Control+Shift+C', true],
      ['commandRules', 'Проверка по действующим правилам', 'F9', 'F9', true],
      ['commandFormulas', 'Формулы', 'Ctrl+Shift+F', 'Control+Shift+F', true],
    ]);
    const mac = await browser.newPage();
    try {
      await mac.evaluateOnNewDocument(() =>
        Object.defineProperty(Navigator.prototype, 'platform', { get: () => 'MacIntel' }));
      await openWindow(browser, site.url, mac);
      const keys = await mac.$$eval('#commands kbd', shown => shown.map(key => key.textContent));
      assert.deepEqual(keys, ['⌘O', '⌘S', '⌘P', '⌃⌘C', 'F9', '⇧⌘F']);
    } finally {
      await mac.close();
    }
  });

  // Each command and what shows that it ran: the file chooser, the download,
  // the report printed, the results copied, the check's dialog.
  const effects = {
    commandOpen: () => page.waitForFileChooser({ timeout: 3000 }).then(chooser => chooser.cancel()),
    commandSave: () => page.evaluate(() => new Promise(done => document.getElementById('Form1')
      .addEventListener('calculationsaved', event => done(event.detail.name), { once: true }))),
    commandPrint: async () => {
      await page.evaluate(() => {
        window.printed = new Promise(done => {
          window.print = () => done(document.getElementById('report').textContent);
        });
      });
      return page.evaluate(() => window.printed);
    },
    commandCopy: () => page.evaluate(() => new Promise(done => document.addEventListener('copy',
      event => done(event.clipboardData.getData('text/plain')), { once: true }))),
    commandFormulas: () => page.waitForSelector('#Formulas[open]', { timeout: 3000 }),
    commandRules: () => page.waitForSelector('#RulesCheck[open]', { timeout: 3000 }),
  };
  const keys = {
    commandOpen: ['Control', 'KeyO'],
    commandSave: ['Control', 'KeyS'],
    commandPrint: ['Control', 'KeyP'],
    commandCopy: ['Control', 'Alt', 'KeyC'],
    commandFormulas: ['Control', 'Shift', 'KeyF'],
    commandRules: ['F9'],
  };
  async function chord(pressed) {
    for (const key of pressed)
      await page.keyboard.down(key);
    for (const key of pressed.reverse())
      await page.keyboard.up(key);
  }

  for (const [way, act] of [
    ['a touch on its button', command => page.$(`#${command}`).then(button => button.tap())],
    ['its key', command => chord([...keys[command]])],
    ['Enter on its button', async command => {
      await page.focus(`#${command}`);
      await page.keyboard.press('Enter');
    }],
  ]) {
    test(`each command runs by ${way}`, async () => {
      await openWindow(browser, site.url, page);
      await page.setViewport({ width: 700, height: 540, hasTouch: true });
      const session = await page.createCDPSession();
      try {
        await session.send('Browser.setDownloadBehavior', { behavior: 'deny' });
        await page.type('#Text2', '12');
        await press('Command2');
        const outcomes = {};
        for (const command of Object.keys(effects)) {
          const effect = effects[command]();
          await act(command);
          outcomes[command] = await effect;
          if (command === 'commandRules')
            outcomes[command] = await page.$eval('#RulesCheck', dialog => dialog.open);
          if (command === 'commandFormulas')
            outcomes[command] = await page.evaluate(() => document.activeElement.id);
        }
        assert.match(outcomes.commandSave, /^Кальвента \d{4}-\d\d-\d\d\.kalventa$/);
        assert.match(outcomes.commandPrint, /Расчётная записка.*1 Методика.*2 Допустимые размеры барабана.*Dмин = 19 · d = 19 · 12 = 228 мм/s);
        assert.equal(outcomes.commandCopy, 'Величина\tЗначение\tЕд. изм.\nДопустимые размеры барабана\t\t\n'
          + 'Диаметр каната\t12\tмм\nМинимальный диаметр барабана\t228\tмм\nМаксимальная длина барабана\t684\tмм\n');
        assert.equal(outcomes.commandRules, true);
        assert.equal(outcomes.commandFormulas, 'Formulas');
      } finally {
        // The saved calculation would open again with the next page.
        await page.evaluate(() => localStorage.clear());
        await session.detach();
        await page.setViewport({ width: 700, height: 500 });
      }
    });
  }

  test('no command runs while the message box waits for its answer', async () => {
    await openWindow(browser, site.url, page);
    await page.type('#Text2', '2E+37');
    await press('Command2');
    await page.waitForSelector('dialog.message[open]');
    await page.evaluate(() => {
      window.copies = 0;
      document.addEventListener('copy', () => ++window.copies);
    });
    await chord(['F9']);
    await chord(['Control', 'Alt', 'KeyC']);
    assert.equal(await page.$('#RulesCheck'), null);
    assert.equal(await page.evaluate(() => window.copies), 0);
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => document.querySelector('dialog.message') === null);
  });
});

describe('the mouse and the focus marks', () => {
  test('a click on a field\'s or a list\'s caption puts the focus in it', async () => {
    await openWindow(browser, site.url, page);
    const focused = [];
    for (const { label } of tables.captions.filter(row => rows.get(row.control).kind !== 'Label')) {
      await page.focus('#Text5');
      await page.click(`#${label}`);
      focused.push([label, await page.evaluate(() => document.activeElement.id)]);
    }
    assert.deepEqual(focused, [['Label1', 'Text1'], ['Label5', 'Text3'], ['Label4', 'Text2'], ['Label13', 'Text6'],
      ['Label14', 'Combo1'], ['Label28', 'Text7'], ['Label11', 'Combo2']]);
  });

  test('a result is selected with the mouse as any text', async () => {
    await openWindow(browser, site.url, page);
    await page.type('#Text2', '12');
    await press('Command2');
    const box = await (await page.$('#Label8')).boundingBox();
    await page.mouse.move(box.x + 1, box.y + box.height / 2);
    await page.mouse.down();
    await page.mouse.move(box.x + box.width - 1, box.y + box.height / 2, { steps: 5 });
    await page.mouse.up();
    assert.equal(await page.evaluate(() => getSelection().toString()), ' 228');
  });

  // The pixels round a control, with the focus in it from the keyboard and
  // with the focus elsewhere.
  async function marked(name) {
    const box = await (await page.$(`#${name}`)).boundingBox();
    const clip = { x: box.x - 3, y: box.y - 3, width: box.width + 6, height: box.height + 6 };
    await page.focus('#Text1');
    const unfocused = await page.screenshot({ clip });
    await page.focus(`#${tables.tabOrder[tables.tabOrder.indexOf(name) - 1]}`);
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.id), name);
    return !unfocused.equals(await page.screenshot({ clip }));
  }

  test('the lists and the sketch show where the focus is; without it the window is as before', async () => {
    await openWindow(browser, site.url, page);
    const before = await page.screenshot({ clip: { x: 0, y: 0, width: 690, height: 483 } });
    const shown = {};
    for (const name of ['Combo1', 'Combo2', 'Picture1'])
      shown[name] = await marked(name);
    assert.deepEqual(shown, { Combo1: true, Combo2: true, Picture1: true });
    await page.focus('#Text1');
    assert.ok(before.equals(await page.screenshot({ clip: { x: 0, y: 0, width: 690, height: 483 } })));
  });
});

describe('for a screen reader, and a field read differently from what was typed', () => {
  const attributes = (name, keys) =>
    page.evaluate((id, names) => Object.fromEntries(names.map(key => [key, document.getElementById(id).getAttribute(key)])),
      name, keys);

  test('inputs and results are named by their meaning, results explain their formula, the sketch is a group round its picture', async () => {
    await openWindow(browser, site.url, page);
    assert.deepEqual(await attributes('Text1', ['aria-label']), { 'aria-label': 'Вес груза, кг, для расчёта каната' });
    assert.deepEqual(await attributes('Combo1', ['aria-label']), { 'aria-label': 'Количество слоёв каната' });
    assert.deepEqual(await attributes('Label8', ['aria-label', 'title']), {
      'aria-label': 'Минимальный диаметр барабана: нет результата',
      title: 'Dмин = 19 · d — минимальный диаметр барабана, мм',
    });
    assert.deepEqual(await attributes('Picture1', ['role', 'aria-label']), { role: 'group', 'aria-label': 'Эскиз барабана' });
    const drawing = await page.$eval('#Picture1 > canvas', canvas => [canvas.getAttribute('role'), canvas.getAttribute('aria-label')]);
    assert.deepEqual(drawing, ['img', 'Эскиз барабана']);
    assert.equal((await attributes('Command1', ['aria-description']))['aria-description'],
      'Расчёт каната: минимальное допустимое натяжение каната и заключение о канате');
  });

  test('a run is announced, its results renamed, a misread field says so until its text changes', async () => {
    await openWindow(browser, site.url, page);
    await enter({ Text1: '1000,5', Text3: '50000', Option2: 'on' });
    const ran = await press('Command1');
    assert.equal(ran.summary, 'Расчёт каната: натяжение 55000 Н; канат не допустим');
    await page.waitForFunction(() => document.getElementById('announcer').textContent.length > 0);
    assert.equal(await page.$eval('#announcer', element => element.textContent), ran.summary);
    const notice = 'Прочитано как 1000: запятая не входит в число. Для 1000,5 введите 1000.5';
    assert.deepEqual(await attributes('Text1', ['title', 'aria-description']), { title: notice, 'aria-description': notice });
    assert.deepEqual(await attributes('Text3', ['title']), { title: null });
    // On screen too: a balloon just under the field, and none for a field read whole.
    const balloon = await page.evaluate(() => {
      const shown = document.getElementById('notice-Text1');
      const field = document.getElementById('Text1').getBoundingClientRect();
      const box = shown?.getBoundingClientRect();
      return { text: shown?.textContent, below: box && box.top > field.bottom && box.top - field.bottom < 10,
        others: document.querySelectorAll('.balloon').length };
    });
    assert.deepEqual(balloon, { text: notice, below: true, others: 1 });
    assert.deepEqual(await attributes('Label3', ['aria-label', 'title']), {
      'aria-label': 'Минимальное допустимое натяжение каната: 55000 Н',
      title: 'Sмин = Q · k · 10 = 1000 · 5.5 · 10 = 55000 Н',
    });
    const snapshot = await page.accessibility.snapshot({ interestingOnly: false });
    const flat = [];
    const walk = node => { flat.push(node); (node.children ?? []).forEach(walk); };
    walk(snapshot);
    assert.ok(flat.some(node => node.name === 'Заключение о канате: Не допустимо'));
    await page.type('#Text1', '0');
    assert.deepEqual(await attributes('Text1', ['title', 'aria-description']), { title: null, 'aria-description': null });
    assert.equal(await page.$('#notice-Text1'), null);
  });
});

describe('the calculation report and the results copied', () => {
  test('printing gives the core\'s report of the runs, a run marked when its input changed afterwards', async () => {
    await openWindow(browser, site.url, page);
    await page.type('#Text2', '12');
    await press('Command2');
    await enter({ Text1: '1000', Text3: '50000', Option2: 'on' });
    await press('Command1');
    await page.type('#Text2', '5');
    await page.evaluate(() => window.dispatchEvent(new Event('beforeprint')));
    await page.waitForFunction(() => document.getElementById('report').textContent.includes('Расчётная записка'));
    await page.emulateMediaType('print');
    const text = await page.$eval('#report', report => report.innerText);
    // Each run says when it was made, day first.
    assert.match(text, /2 Допустимые размеры барабана\n+Расчёт выполнен \d\d\.\d\d\.\d{4} \d\d:\d\d\n+Внимание: исходные данные изменены после расчёта: диаметр каната\.\n/);
    assert.match(text, /Dмин = 19 · d = 19 · 12 = 228 мм\s*\(1\)/);
    assert.match(text, /3 Расчёт каната/);
    assert.match(text, /Sмин = Q · k · 10 = 1000 · 5,5 · 10 = 55000 Н\s*\(3\)/);
    assert.match(text, /Вывод: Fр = 50000 Н < Sмин = 55000 Н: канат не допустим/);
    assert.equal(await page.$eval('#Form1', form => getComputedStyle(form).display), 'none');
    assert.equal(await page.$eval('#report', report => getComputedStyle(report).display), 'block');
    await page.emulateMediaType('screen');
    assert.equal(await page.$eval('#report', report => getComputedStyle(report).display), 'none');
  });

  test('Ctrl+Shift+C puts the inputs and results on the clipboard as text and as a table', async () => {
    await page.emulateMediaType('screen');
    await openWindow(browser, site.url, page);
    await page.type('#Text2', '12');
    await press('Command2');
    const copied = await page.evaluate(() => new Promise(done => {
      // Heard after the page's own listener, which fills the clipboard.
      document.addEventListener('copy', event => done({
        text: event.clipboardData.getData('text/plain'), html: event.clipboardData.getData('text/html'),
      }), { once: true });
      document.getElementById('Text2').dispatchEvent(
        new KeyboardEvent('keydown', { code: 'KeyC', key: 'C', ctrlKey: true, shiftKey: true, bubbles: true }));
    }));
    assert.equal(copied.text, 'Величина\tЗначение\tЕд. изм.\nДопустимые размеры барабана\t\t\nДиаметр каната\t12\tмм\n'
      + 'Минимальный диаметр барабана\t228\tмм\nМаксимальная длина барабана\t684\tмм\n');
    assert.match(copied.html, /<td>Минимальный диаметр барабана<\/td><td sdval="228" sdnum="1033;0;General" x:num="228">228<\/td><td>мм<\/td>/);
  });
});

describe('the check against today\'s rules', () => {
  // The check's results as lines, once its dialog has shown `line`.
  async function resultsWith(line) {
    await page.waitForFunction(text => document.getElementById('rulesResults')?.value.split('\n').includes(text), {}, line);
    return page.$eval('#rulesResults', results => results.value.split('\n'));
  }

  test('F9 opens it beside a window that stays as it was; it follows the fields and its own controls', async () => {
    await page.emulateMediaType('screen');
    await openWindow(browser, site.url, page);
    await enter({ Text1: '1000', Text3: '54936' });
    const window = await page.$eval('#Form1', form => form.outerHTML);
    await page.keyboard.press('F9');
    await page.waitForSelector('#RulesCheck[open]');
    assert.equal(await page.$eval('#RulesCheck', dialog => dialog.matches(':modal')), false);
    assert.equal(await page.$eval('#rules-title', title => title.textContent), 'Проверка по действующим правилам');
    assert.equal(await page.$eval('#rules-advisory', advisory => advisory.textContent),
      'Справочная проверка по действующим правилам — не входит в исходную методику');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'rulesGroup');
    let lines = await resultsWith('  Группа механизма не выбрана: канат не оценивается');
    assert.equal(lines[2], '  Zp = Fр / S = 54936 / 9810 = 5.6');

    await page.select('#rulesGroup', 'M7');
    lines = await resultsWith('  Наивысшая группа, требованию которой канат отвечает: M6');
    assert.equal(lines[3],
      '  Группа M7, канат бегучий: Zp = 5.6 < 7.10 — требование не выполнено; требуется Fр ≥ 7.10 · S = 69651 Н');
    // A window field typed into afterwards.
    await page.type('#Text4', '228');
    await page.type('#Text6', '12');
    await resultsWith('  h1 = (D + d) / d = (228 + 12) / 12 = 20');
    await page.type('#rulesReevingRatio', '2');
    await page.click('#rulesPlain');
    await resultsWith('  η = (1 − ηб^u) / (u · (1 − ηб)) = (1 − 0.95^2) / (2 · (1 − 0.95)) = 0.975 '
      + '(подшипники блоков скольжения, ηб = 0.95)');
    // The summary is announced once typing pauses.
    const summary = await page.$eval('#RulesCheck', dialog => dialog.dataset.summary);
    assert.match(summary, /^Проверка по действующим правилам, группа M7: канат: /);
    await page.waitForFunction(text => document.getElementById('announcer').textContent === text, {}, summary);
    // The window itself is as it was, but for the fields typed into.
    const now = await page.$eval('#Form1', form => form.outerHTML);
    assert.equal(now, window);
    await page.keyboard.press('Escape');
    await page.waitForSelector('#RulesCheck:not([open])');
  });

  test('every control is named for a screen reader and reached by Tab', async () => {
    await openWindow(browser, site.url, page);
    await page.keyboard.press('F9');
    await page.waitForSelector('#RulesCheck[open]');
    const visited = [];
    for (let i = 0; i < 9; ++i) {
      visited.push(await page.evaluate(() => {
        const focused = document.activeElement;
        return `${focused.id}: ${focused.getAttribute('aria-label') ?? focused.textContent}`;
      }));
      await page.keyboard.press('Tab');
    }
    assert.deepEqual(visited, [
      'rulesGroup: Группа классификации механизма, M1–M8',
      'rulesRunning: Канат бегучий или стоячий: бегучий',
      'rulesReevingRatio: Кратность полиспаста u, пустое поле — 1',
      'rulesWoundBranches: Ветвей каната, навиваемых на барабан, a, пустое поле — 1',
      'rulesEfficiency: КПД полиспаста η, пустое поле — по кратности и подшипникам блоков',
      'rulesRolling: Подшипники блоков: качения, ηб = 0.985',
      'rulesHookMass: Масса крюковой подвески m, кг, пустое поле — 0',
      'rulesResults: Результаты проверки',
      'rulesClose: Закрыть',
    ]);
  });

  test('the report ends with its section and the copied results with its rows, once it was opened', async t => {
    await openWindow(browser, site.url, page);
    await enter({ Text1: '1000', Text3: '50000', Option2: 'on' });
    await press('Command1');
    const copy = () => page.evaluate(() => new Promise(done => {
      document.addEventListener('copy', event => done(event.clipboardData.getData('text/plain')), { once: true });
      document.getElementById('Text1').dispatchEvent(
        new KeyboardEvent('keydown', { code: 'KeyC', key: 'C', ctrlKey: true, shiftKey: true, bubbles: true }));
    }));
    const before = await copy();
    assert.doesNotMatch(before, /Проверка/);

    await page.keyboard.press('F9');
    await page.waitForSelector('#RulesCheck[open]');
    await page.select('#rulesGroup', 'M6');
    const after = await copy();
    assert.ok(after.startsWith(before));
    assert.deepEqual(after.slice(before.length).split('\n').slice(0, 4), [
      'Проверка по действующим правилам (справочно, не входит в исходную методику)\t\t',
      'Группа классификации механизма\tM6\t',
      'Канат\tбегучий\t',
      'Вес груза\t1000\tкг',
    ]);

    await page.evaluate(() => window.dispatchEvent(new Event('beforeprint')));
    await page.waitForFunction(() => document.querySelector('#report .rules-note'));
    await page.emulateMediaType('print');
    // Back to the screen whatever the assertions below find, for the tests after this one.
    t.after(() => page.emulateMediaType('screen'));
    const text = await page.$eval('#report', report => report.innerText);
    assert.match(text, /2 Расчёт каната[\s\S]*4 Проверка по действующим правилам\n+Справочная проверка по действующим правилам — не входит в исходную методику\./);
    assert.match(text, /S = \(Q \+ m\) · 9\.81 \/ \(a · u · η\) = \(1000 \+ 0\) · 9\.81 \/ \(1 · 1 · 1\) = 9810 Н\s*\(2\)/);
    assert.match(text, /Zp = Fр \/ S = 50000 \/ 9810 = 5\.096\s*\(3\)/);
    assert.match(text, /Группа M6, канат бегучий: Zp = 5\.096 < 5\.60 — требование не выполнено; требуется Fр ≥ 5\.60 · S = 54936 Н\./);
    assert.equal(await page.$eval('#report .rules-note', note => getComputedStyle(note).breakBefore), 'page');
    assert.equal(await page.$eval('#RulesCheck', dialog => getComputedStyle(dialog).display), 'none');
  });
});

describe('option groups', () => {
  test('choosing an option turns the others of its group off, and only those', async () => {
    await openWindow(browser, site.url, page);
    const on = () => page.$$eval('#Form1 input[type=radio]', options =>
      options.filter(option => option.checked).map(option => option.closest('[data-kind]').id));
    await page.click('#Option2');
    await page.click('#Option6');
    assert.deepEqual(await on(), ['Option2', 'Option6']);
    await page.click('#Option4');
    assert.deepEqual(await on(), ['Option4', 'Option6']);
    await page.click('#Option5');
    assert.deepEqual(await on(), ['Option4', 'Option5']);
  });
});

describe('long and odd texts', () => {
  let core;
  before(async () => {
    core = await loadCore();
  });

  // What the core makes of the same text, run on the same controls.
  function coreTexts(button, texts) {
    const written = [];
    core.runButton(button, {
      text: name => texts[name] ?? '', value: () => 0, listIndex: () => -1,
      setCaption: (name, caption) => written.push([name, caption]),
    });
    return written;
  }

  const odd = [
    ['a decimal comma, blanks and letters after the number', '  12,5 мм', [['Label8', ' 228'], ['Label10', ' 684']]],
    ['letters only', 'диаметр', [['Label8', ' 0'], ['Label10', ' 0']]],
    ['a sign and a point alone', '-.', [['Label8', ' 0'], ['Label10', ' 0']]],
    ['an emoji after the number', '7😀', [['Label8', ' 133'], ['Label10', ' 399']]],
    ['ten thousand characters', `7${' x'.repeat(5000)}`, [['Label8', ' 133'], ['Label10', ' 399']]],
    ['a hundred thousand digits', `0.${'3'.repeat(100000)}`, null],
  ];
  for (const [name, text, expected] of odd) {
    test(name, async () => {
      await openWindow(browser, site.url, page);
      await page.focus('#Text2');
      await page.keyboard.sendCharacter(text);
      assert.equal(await page.$eval('#Text2', field => field.value), text, 'the field keeps the text as typed');
      const ran = await press('Command2');
      assert.deepEqual(ran.written, expected ?? coreTexts('Command2', { Text2: text }));
      assert.equal(ran.message, null);
    });
  }

  test('a result wider than its label is cut off at the box, which does not grow', async () => {
    await openWindow(browser, site.url, page);
    await page.type('#Text2', '-1.2345678e-20');
    const ran = await press('Command2');
    assert.deepEqual(ran.written, [['Label8', '-2.345679E-19'], ['Label10', '-7.037036E-19']]);
    const label = await page.$eval('#Label8', element => {
      const box = element.getBoundingClientRect();
      return { width: box.width, height: box.height, overflows: element.scrollWidth > element.clientWidth
        || element.scrollHeight > element.clientHeight, clipped: getComputedStyle(element).overflow };
    });
    assert.deepEqual({ width: label.width, height: label.height, clipped: label.clipped },
      { width: expectedBox('Label8').width, height: expectedBox('Label8').height, clipped: 'hidden' });
  });
});

describe('a web app that says what stops it', () => {
  const coreMissing = 'Не удалось загрузить модуль расчёта (kalventa_core.wasm): расчёты недоступны.\n'
    + 'Обновите страницу; если это не поможет, проверьте, что все файлы сайта на месте.';

  test('once loaded it works offline, from its service worker; its manifest makes it installable', async () => {
    const context = await browser.createBrowserContext();
    try {
      const fresh = await openWindow(browser, site.url, await context.newPage());
      await fresh.waitForFunction(() => navigator.serviceWorker.controller !== null);
      const manifest = await fresh.evaluate(async () => {
        const response = await fetch(document.querySelector('link[rel=manifest]').href);
        const data = await response.json();
        const icons = await Promise.all(data.icons.map(async icon => (await fetch(icon.src)).ok));
        return { name: data.short_name, display: data.display, start: data.start_url, icons };
      });
      assert.deepEqual(manifest, { name: 'Кальвента', display: 'standalone', start: './', icons: [true, true, true] });

      await fresh.setOfflineMode(true);
      await fresh.reload({ waitUntil: 'load' });
      await fresh.waitForFunction(() => document.getElementById('Form1')?.dataset.ready === 'true');
      await fresh.type('#Text2', '12');
      await fresh.click('#Command2');
      assert.equal(await fresh.$eval('#Label8', label => label.textContent), ' 228');
    } finally {
      await context.close();
    }
  });

  test('the site, fonts included, is under 400 KB compressed', () => {
    const output = execFileSync(process.execPath, [join(root, 'bench', 'web', 'site_size.mjs'), siteDir],
      { encoding: 'utf8' });
    assert.match(output, /LiberationSans-Regular\.woff2/);
    assert.match(output, /^the site: \d+ bytes compressed \(budget 400000\)/m);
  });

  test('without its calculation module it says so, at once and at every press', async () => {
    const context = await browser.createBrowserContext();
    try {
      const fresh = await context.newPage();
      await fresh.setRequestInterception(true);
      fresh.on('request', request => request.url().endsWith('.wasm') ? request.abort() : request.continue());
      await fresh.goto(site.url, { waitUntil: 'load' });
      const message = () => fresh.waitForSelector('dialog[open] .text').then(text => text.evaluate(t => t.textContent));
      assert.equal(await message(), coreMissing);
      await fresh.click('dialog button');
      await fresh.waitForFunction(() => document.querySelector('dialog') === null);
      await fresh.click('#Command1');
      assert.equal(await message(), coreMissing);
    } finally {
      await context.close();
    }
  });

  test('with JavaScript off, or opened from a file, the page says what to do', async () => {
    const context = await browser.createBrowserContext();
    try {
      const noScript = await context.newPage();
      await noScript.setJavaScriptEnabled(false);
      await noScript.goto(site.url, { waitUntil: 'load' });
      assert.match(await noScript.evaluate(() => document.body.innerText), /^Кальвенте нужен JavaScript: разрешите его/);
      const fromFile = await context.newPage();
      await fromFile.goto(pathToFileURL(join(siteDir, 'index.html')).href, { waitUntil: 'load' });
      assert.match(await fromFile.$eval('#unavailable', box => box.hidden ? '' : box.textContent),
        /^Страница открыта из файла.*python3 -m http\.server -d build\/web/);
    } finally {
      await context.close();
    }
  });
});

describe('the message box', () => {
  test('stands over the middle of the window in a large browser window; a held Enter presses once', async () => {
    await openWindow(browser, site.url, page);
    await page.setViewport({ width: 1600, height: 1000 });
    try {
      await page.type('#Text2', '2E+37');
      await page.focus('#Command2');
      await page.keyboard.down('Enter');
      await page.waitForSelector('dialog[open]');
      // The key repeats while held: neither the box closes nor a second run starts.
      for (let i = 0; i < 3; ++i)
        await page.keyboard.down('Enter');
      await page.keyboard.up('Enter');
      const placed = await page.evaluate(() => {
        const window_ = document.getElementById('Form1').getBoundingClientRect();
        const box = document.querySelector('dialog[open]').getBoundingClientRect();
        return { dx: Math.round(box.left + box.width / 2 - (window_.left + window_.width / 2)),
          dy: Math.round(box.top + box.height / 2 - (window_.top + window_.height / 2)),
          boxes: document.querySelectorAll('dialog').length };
      });
      assert.ok(Math.abs(placed.dx) <= 1 && Math.abs(placed.dy) <= 1, JSON.stringify(placed));
      assert.equal(placed.boxes, 1);
      await page.click('dialog button');
      await page.waitForFunction(() => document.querySelector('dialog') === null);
    } finally {
      await page.setViewport({ width: 700, height: 500 });
    }
  });
});

describe('the formulas by keyboard and touch', () => {
  const formulasKey = async () => {
    for (const key of ['Control', 'Shift', 'KeyF'])
      await page.keyboard.down(key);
    for (const key of ['KeyF', 'Shift', 'Control'])
      await page.keyboard.up(key);
  };
  // The panel's calculations, each with its results' names and formulas, and
  // whether each formula is its label's tooltip.
  const listed = () => page.evaluate(() => [...document.querySelectorAll('#Formulas section')].map(section => [
    section.querySelector('h3').textContent,
    [...section.querySelectorAll('dt')].map(term => [term.textContent, term.nextElementSibling.textContent]),
  ]));
  const tooltips = () => page.evaluate(names => names.map(name => document.getElementById(name).title),
    calculations.resultLabels);
  const windowPixels = () => page.screenshot({ clip: { x: 0, y: 0, width: 690, height: 483 } });

  test('Ctrl+Shift+F lists each result\'s formula under the command bar, anew after each run; Esc gives the focus back', async () => {
    await openWindow(browser, site.url, page);
    await page.type('#Text2', '12');
    await press('Command2');
    const before = await windowPixels();
    await page.focus('#Text2');
    await formulasKey();
    await page.waitForSelector('#Formulas[open]');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'Formulas');
    const groups = await listed();
    assert.deepEqual(groups.map(([title, results]) => [title, results.length]),
      [['Расчёт каната', 2], ['Допустимые размеры барабана', 2], ['Расчёт канатоёмкости', 7]]);
    assert.deepEqual(groups[1][1], [['Минимальный диаметр барабана', 'Dмин = 19 · d = 19 · 12 = 228 мм'],
      ['Максимальная длина барабана', 'Lмакс = 3 · Dмин = 3 · 228 = 684 мм']]);
    assert.deepEqual(groups.flatMap(([, results]) => results.map(([, formula]) => formula)).sort(), (await tooltips()).sort());
    const placed = await page.evaluate(() => document.getElementById('Formulas').getBoundingClientRect().top
      >= document.getElementById('commands').getBoundingClientRect().bottom);
    assert.equal(placed, true);
    await page.evaluate(() => scrollTo(0, 0));
    assert.ok(before.equals(await windowPixels()), 'the window is as it was');

    await page.click('#Text2', { clickCount: 3 });
    await page.type('#Text2', '10');
    await press('Command2');
    assert.deepEqual((await listed())[1][1][0], ['Минимальный диаметр барабана', 'Dмин = 19 · d = 19 · 10 = 190 мм']);
    await formulasKey();
    assert.equal(await page.evaluate(() => document.activeElement.id), 'Formulas');
    await page.keyboard.press('Escape');
    assert.deepEqual(await page.evaluate(() => [document.getElementById('Formulas').open, document.activeElement.id]),
      [false, 'Command2']);
  });

  test('a touch on a result shows its formula under it until a touch elsewhere or Esc; the mouse\'s click does not', async () => {
    await page.setViewport({ width: 700, height: 600, hasTouch: true });
    try {
      await openWindow(browser, site.url, page);
      await page.type('#Text2', '12');
      await press('Command2');
      const tip = () => page.evaluate(() => {
        const shown = document.getElementById('formulaTip');
        if (!shown)
          return null;
        const label = document.querySelector(`#${shown.owner}`).getBoundingClientRect();
        const gap = shown.getBoundingClientRect().top - label.bottom;
        return [shown.owner, shown.innerText, gap > 0 && gap < 10];
      });
      const touch = async selector => {
        const box = await (await page.$(selector)).boundingBox();
        await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
      };
      await page.click('#Label8');
      assert.equal(await tip(), null);
      await touch('#Label8');
      assert.deepEqual(await tip(),
        ['Label8', 'Минимальный диаметр барабана: 228 мм\nDмин = 19 · d = 19 · 12 = 228 мм', true]);
      await page.touchscreen.tap(300, 560);
      assert.equal(await tip(), null);
      await touch('#Label10');
      assert.equal((await tip())[0], 'Label10');
      await page.keyboard.press('Escape');
      assert.equal(await tip(), null);
    } finally {
      await page.setViewport({ width: 700, height: 500 });
    }
  });
});

describe('on a phone', () => {
  test('the window is as wide as the screen, the commands under it keep their size, a misread field says so, and nothing stops a zoom', async () => {
    const phone = await browser.newPage();
    try {
      await phone.setViewport({ width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
      await openWindow(browser, site.url, phone);
      await phone.type('#Text2', '12,5');
      await phone.evaluate(() => new Promise(done => {
        document.getElementById('Form1').addEventListener('calculationrun', done, { once: true });
        document.getElementById('Command2').click();
      }));
      const laid = await phone.evaluate(() => {
        const window_ = document.getElementById('Form1').getBoundingClientRect();
        const buttons = [...document.querySelectorAll('#commands > button')].map(button => button.getBoundingClientRect());
        const field = document.getElementById('Text2').getBoundingClientRect();
        const notice = document.getElementById('notice-Text2');
        const balloon = notice.getBoundingClientRect();
        return {
          window: [Math.round(window_.width), Math.round(window_.height)],
          pageWidth: document.documentElement.scrollWidth,
          commands: buttons.every(box => box.top >= window_.bottom && box.right <= 390 && box.height === 36),
          commandFont: getComputedStyle(document.querySelector('#commands > button')).fontSize,
          notice: [notice.textContent, balloon.top > field.bottom && balloon.right <= 390,
            Math.round(balloon.width), getComputedStyle(notice).fontSize],
        };
      });
      assert.deepEqual(laid, {
        window: [390, 273], pageWidth: 390, commands: true, commandFont: '11px',
        notice: ['Прочитано как 12: запятая не входит в число. Для 12,5 введите 12.5', true, 274, '11px'],
      });
      // Chromium's emulated pinch zooms whatever the page says: what it says is read instead.
      const viewport = await phone.$eval('meta[name=viewport]', meta => meta.content.split(/\s*,\s*/)
        .map(pair => pair.split(/\s*=\s*/)[0]));
      assert.deepEqual(viewport.filter(key => ['user-scalable', 'maximum-scale', 'minimum-scale'].includes(key)), []);
    } finally {
      await phone.close();
    }
  });
});
