// The page against axe-core's rules of WCAG 2.0 and 2.1, levels A and AA:
// loaded, after a run of each calculation, with a run-time error's message
// box open, with the formulas listed and one shown by a touch, and with the
// check against today's rules open; in the window's
// own colours and when the system asks for more contrast.

import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { after, before, describe, test } from 'node:test';

import { launchChromium, openWindow, pressButton, root, runTheSampleCalculations, serveSite } from './support.mjs';

const axeSource = createRequire(`${root}/package.json`).resolve('axe-core/axe.min.js');
const wcag = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'];

let site;
let browser;
let page;
let session;

before(async () => {
  site = await serveSite();
  browser = await launchChromium();
  page = await browser.newPage();
  session = await page.createCDPSession();
});

after(async () => {
  await browser?.close();
  await site?.close();
});

const press = button => pressButton(page, button);

// Each state of the page, reached from a freshly loaded one.
const states = {
  'loaded': async () => {},
  'after a run of each calculation': () => runTheSampleCalculations(page),
  'with a run-time error\'s message box open': async () => {
    await page.type('#Text2', '2E+37');
    await press('Command2');
    await page.waitForSelector('dialog.message[open]');
  },
  'with the formulas listed, and one shown by a touch': async () => {
    await page.type('#Text2', '12');
    await press('Command2');
    await page.keyboard.down('Control');
    await page.keyboard.down('Shift');
    await page.keyboard.press('KeyF');
    await page.keyboard.up('Shift');
    await page.keyboard.up('Control');
    await page.waitForSelector('#Formulas[open]');
    await page.evaluate(() => {
      const label = document.getElementById('Label8');
      label.dispatchEvent(new PointerEvent('pointerdown', { pointerType: 'touch', bubbles: true }));
      label.click();
    });
    await page.waitForSelector('#formulaTip');
  },
  'with the check against today\'s rules open': async () => {
    await page.keyboard.press('F9');
    await page.waitForSelector('#RulesCheck[open]');
  },
};

// In the window's own colours, the desktop's green results and red verdict
// stand out less than 4.5:1 from its background: the labels they fill.
const belowContrast = {
  'after a run of each calculation': ['#Label3', '#Label6', '#Label8', '#Label10', '#Label16', '#Label23', '#Label21',
    '#Label20', '#Label19'],
  // Label10 lies under the touched result's popover, where axe measures nothing.
  'with the formulas listed, and one shown by a touch': ['#Label8'],
};

// axe's violations in the state: each rule's id and the elements it found.
async function violations(state, contrast) {
  await session.send('Emulation.setEmulatedMedia', { features: [{ name: 'prefers-contrast', value: contrast }] });
  await openWindow(browser, site.url, page);
  assert.equal(await page.evaluate(() => matchMedia('(prefers-contrast: more)').matches), contrast === 'more');
  await states[state]();
  await page.addScriptTag({ path: axeSource });
  const results = await page.evaluate(tags => axe.run(document, { runOnly: { type: 'tag', values: tags } }), wcag);
  return Object.fromEntries(results.violations.map(rule => [rule.id, rule.nodes.map(node => node.target.join(' '))]));
}

describe('WCAG 2.0 and 2.1, A and AA', () => {
  for (const state of Object.keys(states)) {
    test(`${state}: nothing but the window's own colours`, async () => {
      const expected = belowContrast[state] ? { 'color-contrast': belowContrast[state] } : {};
      assert.deepEqual(await violations(state, 'no-preference'), expected);
    });
    test(`${state}, with more contrast: nothing`, async () => {
      assert.deepEqual(await violations(state, 'more'), {});
    });
  }
});
