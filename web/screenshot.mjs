// Renders the browser edition's window into docs/web-screenshot.png after the
// same three calculations as docs/screenshot.png (scripts/screenshot.sh), in
// Debian's headless Chromium, typed and clicked as a person would; and the
// whole page, the window with the command bar under it, into
// docs/web-page.png.
//
//   node web/screenshot.mjs [window.png [page.png]]
//
// Needs the site (scripts/web.sh) and puppeteer-core (npm ci).

import { join } from 'node:path';

import { launchChromium, openWindow, root, serveSite } from './tests/support.mjs';

const output = process.argv[2] ?? join(root, 'docs', 'web-screenshot.png');
const pageOutput = process.argv[3] ?? join(root, 'docs', 'web-page.png');

const site = await serveSite();
const browser = await launchChromium();
try {
  const page = await openWindow(browser, site.url);
  const press = async button => {
    await page.evaluate(() => {
      window.lastRun = new Promise(done =>
        document.getElementById('Form1').addEventListener('calculationrun', done, { once: true }));
    });
    await page.click(`#${button}`);
    await page.evaluate(() => window.lastRun.then(() => undefined));
  };
  // The rope check: 1000 kg, medium duty, a rope of 50000 N: not permissible.
  await page.type('#Text1', '1000');
  await page.click('#Option2');
  await page.type('#Text3', '50000');
  await press('Command1');
  // The drum size limits for a 12 mm rope.
  await page.type('#Text2', '12');
  await press('Command2');
  // The rope capacity: a drum of 400 by 800 mm, a 15 mm rope, 5000 kg, three
  // layers, welded steel, flange margin 1.5d.
  await page.type('#Text4', '400');
  await page.type('#Text5', '800');
  await page.type('#Text6', '15');
  await page.select('#Combo1', '3');
  await page.type('#Text7', '5000');
  await page.select('#Combo2', 'Сталь. сварн.(1400 кг/см2)');
  await page.click('#Option5');
  await press('Command3');
  const form = await page.$('#Form1');
  await form.screenshot({ path: output });
  console.log(`wrote ${output}`);
  // The focus back where the page starts, so that no focus mark shows.
  await page.evaluate(() => document.activeElement.blur());
  await page.screenshot({ path: pageOutput, fullPage: true });
  console.log(`wrote ${pageOutput}`);
} finally {
  await browser.close();
  await site.close();
}
