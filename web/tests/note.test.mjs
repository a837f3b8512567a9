// The browser's calculation note against the desktop's: the same calculation
// file printed by the desktop program (kalventa --report) and by the page in
// Chromium (page.pdf, A4), both read back with pdftotext -layout. The
// sections, the table and figure captions, the formulas with their numbers,
// the «где» lists, the verdict, a stopped run's sentence and the results that
// differ from the file's, the summary's
// conclusions and the drum's check, and the sheets «Лист N из M» must read
// alike; a framed note's first sheet must carry the same main inscription.

import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, describe, test } from 'node:test';

import { launchChromium, openWindow, root, serveSite } from './support.mjs';

// The desktop program of the developer build, or the one named.
const desktop = process.env.KALVENTA_DESKTOP ?? join(root, 'build', 'dev', 'ui', 'kalventa');

const sample = JSON.parse(readFileSync(join(root, 'tests', 'files', 'sample.kalventa'), 'utf8'));
const unframed = { ...sample, title: { ...sample.title, frame: false } };
// The rope capacity stopped by an overflow in the number of turns.
const stopped = {
  ...unframed,
  rope_capacity: {
    ...sample.rope_capacity,
    inputs: { ...sample.rope_capacity.inputs, drum_length_mm: '327675', rope_diameter_mm: '10' },
  },
};

// The check against today's rules besides, for group M6.
const checked = { ...unframed, rules_check: { inputs: {}, choices: { rules_group: { index: 5, text: 'M6' } } } };

let site;
let browser;
let folder;

before(async () => {
  folder = mkdtempSync(join(tmpdir(), 'kalventa-note-'));
  site = await serveSite();
  browser = await launchChromium();
});

after(async () => {
  await browser?.close();
  await site?.close();
  if (folder)
    rmSync(folder, { recursive: true, force: true });
});

// pdftotext -layout, a page each; its words are read, so not translated.
function pagesOf(pdf) {
  const text = execFileSync('pdftotext', ['-layout', pdf, '-'], { env: { ...process.env, LC_ALL: 'C' } })
    .toString('utf8');
  const pages = text.split('\f');
  if (pages.at(-1).trim() === '')
    pages.pop();
  // The times of the runs and of the note as the same.
  return pages.map(page => page.split('\n')
    .map(line => line.trimEnd().replace(/\d\d\.\d\d\.\d{4} \d\d:\d\d/g, 'ВРЕМЯ'))
    .filter(line => line !== ''));
}

// Blanks as one: a line as read.
const read = line => line.trim().replace(/\s+/g, ' ');
const indent = line => line.length - line.trimStart().length;

// The desktop's note of `file`; the program fails when a run stopped, after
// writing the note.
function desktopNote(file, name, { stops = false } = {}) {
  assert.ok(existsSync(desktop), `no desktop program at ${desktop}: build it (cmake --build --preset dev --target kalventa)`);
  const input = join(folder, `${name}.kalventa`);
  const pdf = join(folder, `${name}-desktop.pdf`);
  writeFileSync(input, JSON.stringify(file));
  const run = spawnSync(desktop, ['--report', input, '-o', pdf], {
    env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' },
    encoding: 'utf8',
  });
  assert.equal(run.status, stops ? 1 : 0, run.stderr);
  return pagesOf(pdf);
}

// The file dropped on the page, its calculations run again, then Ctrl+P.
async function browserNote(file, name) {
  const page = await openWindow(browser, site.url, await browser.newPage());
  try {
    await page.evaluate(() => {
      const window_ = document.getElementById('Form1');
      window.opened = new Promise(done =>
        window_.addEventListener('calculationopened', event => done(event.detail), { once: true }));
      window.printed = new Promise(done => {
        window.print = done;
      });
    });
    await page.evaluate((fileName, content) => {
      const carried = new DataTransfer();
      carried.items.add(new File([content], fileName));
      document.getElementById('Label31').dispatchEvent(
        new DragEvent('drop', { dataTransfer: carried, bubbles: true, cancelable: true }));
    }, `${name}.kalventa`, JSON.stringify(file));
    // A stopped run's message, then the file's (after the file is opened),
    // each closed once shown.
    const opened = page.evaluate(() => window.opened);
    let done = false;
    opened.finally(() => {
      done = true;
    });
    for (let quiet = 0; quiet < 5; quiet = done ? quiet + 1 : 0) {
      const message = await page.$('dialog.message[open] button');
      if (message) {
        await message.click();
        quiet = -1;
      }
      await new Promise(wait => setTimeout(wait, 50));
    }
    assert.equal((await opened).opened, true);
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyP');
    await page.keyboard.up('Control');
    await page.evaluate(() => window.printed);
    const pdf = join(folder, `${name}-browser.pdf`);
    writeFileSync(pdf, await page.pdf({ format: 'A4' }));
    return pagesOf(pdf);
  } finally {
    await page.close();
  }
}

const sheetNumber = /^Лист \d+ из \d+$/;

// What both notes must say alike, in the order they say it, each kind in a
// list of its own: a difference names its kind.
function outline(pages) {
  const raw = pages.flat();
  const lines = raw.map(read);
  // Each formula whole, however its lines break: its number's line and the
  // lines above it that stand as far in.
  const formulas = [];
  raw.forEach((line, i) => {
    if (!/\(\d+\)$/.test(line))
      return;
    let first = i;
    while (first > 0 && indent(raw[first - 1]) === indent(line) && !/\(\d+\)$/.test(raw[first - 1]))
      --first;
    formulas.push(lines.slice(first, i + 1).join(' '));
  });
  const after = (first, last) => {
    const from = lines.findIndex(line => first.test(line));
    return from < 0 ? [] : lines.slice(from).filter(line => last(line));
  };
  // «где» and its lines up to the one that ends with a full stop, each list.
  const where = [];
  lines.forEach((line, i) => {
    if (!line.startsWith('где '))
      return;
    let at = i;
    do
      where.push(lines[at]);
    while (!lines[at++].endsWith('.') && at < lines.length);
  });
  return {
    headings: lines.filter(line => /^\d+ [А-ЯЁ]/u.test(line)),
    tables: lines.filter(line => /^Таблица \d+ — /.test(line)),
    formulas,
    where: where.filter(line => /[;.]$/.test(line)),
    figures: lines.filter(line => /^Рисунок \d+ — /.test(line)),
    verdicts: lines.filter(line => /^Вывод: |^Расчёт остановлен|^Результаты отличаются/.test(line)),
    sheets: lines.filter(line => sheetNumber.test(line)),
    conclusions: after(/^Выводы:$/, line => !sheetNumber.test(line)),
  };
}

describe('the printed note reads as the desktop\'s', () => {
  const cases = [
    ['the sample calculation', unframed, 'sample', { sheets: 4, figures: 1, stops: false }],
    ['a run stopped by an overflow', stopped, 'stopped', { figures: 1, stops: true }],
    ['the check against today\'s rules after the runs', checked, 'checked', { figures: 1, stops: false }],
  ];
  for (const [name, file, fileName, expected] of cases)
    test(name, async () => {
      const desktopPages = desktopNote(file, fileName, expected);
      const browserPages = await browserNote(file, fileName);
      const want = outline(desktopPages);
      const got = outline(browserPages);
      // The desktop's own note has what is compared.
      if (expected.sheets)
        assert.equal(want.sheets[0], `Лист 1 из ${expected.sheets}`);
      assert.equal(want.figures.length, expected.figures);
      assert.equal(want.verdicts.some(line => line.startsWith('Расчёт остановлен')), expected.stops);
      // A file's results run again and now different are said under their run.
      assert.equal(want.verdicts.some(line => line.startsWith('Результаты отличаются от сохранённых')), expected.stops);
      for (const kind of Object.keys(want))
        assert.deepEqual(got[kind], want[kind], kind);
      assert.equal(browserPages.length, desktopPages.length);
    });

  test('a framed note\'s first sheet carries the main inscription, every later one its sheet number', async () => {
    // A no-break space, as a name pasted from a word processor has it.
    const framed = { ...sample, title: { ...sample.title, organisation: 'ООО\u00a0«Подъём»' } };
    const desktopPages = desktopNote(framed, 'framed');
    const browserPages = await browserNote(framed, 'framed');
    assert.equal(browserPages.length, desktopPages.length);
    // The inscription: the lines from its captions «Изм. Лист № докум.» to the sheet's end.
    const inscription = page => page.map(read).slice(page.map(read).findIndex(line => line.startsWith('Изм.')) - 2);
    const first = inscription(desktopPages[0]);
    assert.ok(first.some(line => line.includes('Разраб. Иванов')), first.join('\n'));
    assert.deepEqual(inscription(browserPages[0]), first);
    for (let sheet = 1; sheet < desktopPages.length; ++sheet)
      assert.deepEqual(inscription(browserPages[sheet]), inscription(desktopPages[sheet]), `sheet ${sheet + 1}`);
    // No «Лист N из M» under a framed note's text: the inscription numbers it.
    assert.equal(browserPages.flat().filter(line => sheetNumber.test(read(line))).length, 0);
    // The first sheet, inscription included, in the desktop's faces: the
    // embedded Liberation Sans, DejaVu Sans only for the signs it lacks.
    const faces = who => [...new Set(execFileSync('pdffonts', ['-f', '1', '-l', '1', join(folder, `framed-${who}.pdf`)],
      { env: { ...process.env, LC_ALL: 'C' }, encoding: 'utf8' }).split('\n').slice(2).filter(line => line)
      .map(line => line.split(/\s+/)[0].replace(/^[A-Z]{6}\+/, '')))].sort();
    assert.deepEqual(faces('browser'), faces('desktop'));
  });
});
