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

import { launchChromium, openWindow, root, runTheSampleCalculations, serveSite } from './tests/support.mjs';

const output = process.argv[2] ?? join(root, 'docs', 'web-screenshot.png');
const pageOutput = process.argv[3] ?? join(root, 'docs', 'web-page.png');

const site = await serveSite();
const browser = await launchChromium();
try {
  const page = await openWindow(browser, site.url);
  await runTheSampleCalculations(page);
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
