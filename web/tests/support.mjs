// What the browser edition's tests and benchmarks share: the built site, a
// static server for it on the loopback address, Debian's Chromium driven by
// puppeteer-core, the generated window tables and the core under node, as the
// site has it and as its tests' module has it.

import { createReadStream, existsSync, readFileSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { dirname, extname, join, normalize, resolve, sep } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

export const root = resolve(dirname(fileURLToPath(import.meta.url)), '..', '..');
export const siteDir = resolve(process.env.KALVENTA_WEB_SITE_DIR ?? join(root, 'build', 'web'));
export const tablesFile = resolve(
  process.env.KALVENTA_WEB_TABLES ?? join(root, 'build', 'web-build', 'web', 'window_tables.js'));
// The core's module for its tests, beside the build, not in the site.
export const testCoreDir = resolve(
  process.env.KALVENTA_WEB_TEST_CORE_DIR ?? join(root, 'build', 'web-build', 'web', 'wasm', 'web', 'wasm'));

export function readJson(path) {
  return JSON.parse(readFileSync(join(root, path), 'utf8'));
}

// The window's tables as the build wrote them for the page.
export function windowTables() {
  return new Function(`${readFileSync(tablesFile, 'utf8')}\nreturn windowTables;`)();
}

async function loadModule(dir, name) {
  const { default: createKalventaCore } = await import(pathToFileURL(join(dir, `${name}.js`)).href);
  return createKalventaCore({ wasmBinary: readFileSync(join(dir, `${name}.wasm`)) });
}

// The core compiled to WebAssembly, as the page loads it.
export function loadCore() {
  return loadModule(siteDir, 'kalventa_core');
}

// The same core with the conversions of number texts besides, for its tests.
export function loadTestCore() {
  return loadModule(testCoreDir, 'kalventa_core_test');
}

const contentTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.woff2': 'font/woff2',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// Serves the site folder, and nothing outside it, on 127.0.0.1 at a free port.
export async function serveSite() {
  if (!existsSync(join(siteDir, 'index.html')))
    throw new Error(`no site in ${siteDir}: build it with scripts/web.sh`);
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = normalize(join(siteDir, path === '/' ? 'index.html' : path));
    if (!file.startsWith(siteDir + sep) || !existsSync(file) || !statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': contentTypes[extname(file)] ?? 'application/octet-stream' });
    createReadStream(file).pipe(response);
  });
  await new Promise(done => server.listen(0, '127.0.0.1', done));
  const { port } = server.address();
  return { url: `http://127.0.0.1:${port}/`, close: () => new Promise(done => server.close(done)) };
}

export const chromiumPath = process.env.KALVENTA_CHROMIUM ?? '/usr/bin/chromium';

export async function launchChromium() {
  const { default: puppeteer } = await import('puppeteer-core');
  return puppeteer.launch({
    executablePath: chromiumPath,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--force-device-scale-factor=1',
      '--font-render-hinting=none', '--no-first-run', '--disable-extensions'],
    defaultViewport: { width: 700, height: 500, deviceScaleFactor: 1 },
    // A test that waits for something the page never does fails in seconds.
    protocolTimeout: 20000,
  });
}

// Opens the page and waits until its window is built, its fonts are loaded
// and its core is ready.
export async function openWindow(browser, url, page) {
  page ??= await browser.newPage();
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForFunction(() => document.getElementById('Form1')?.dataset.ready === 'true');
  await page.evaluate(() => document.fonts.ready);
  return page;
}

// Presses a button of the window and waits for its run to end.
export async function pressButton(page, button) {
  await page.evaluate(() => {
    window.lastRun = new Promise(done =>
      document.getElementById('Form1').addEventListener('calculationrun', done, { once: true }));
  });
  await page.click(`#${button}`);
  await page.evaluate(() => window.lastRun.then(() => undefined));
}

// The three calculations of docs/screenshot.png, typed and clicked as a
// person would.
export async function runTheSampleCalculations(page) {
  // The rope check: 1000 kg, medium duty, a rope of 50000 N: not permissible.
  await page.type('#Text1', '1000');
  await page.click('#Option2');
  await page.type('#Text3', '50000');
  await pressButton(page, 'Command1');
  // The drum size limits for a 12 mm rope.
  await page.type('#Text2', '12');
  await pressButton(page, 'Command2');
  // The rope capacity: a drum of 400 by 800 mm, a 15 mm rope, 5000 kg, three
  // layers, welded steel, flange margin 1.5d.
  await page.type('#Text4', '400');
  await page.type('#Text5', '800');
  await page.type('#Text6', '15');
  await page.select('#Combo1', '3');
  await page.type('#Text7', '5000');
  await page.select('#Combo2', 'Сталь. сварн.(1400 кг/см2)');
  await page.click('#Option5');
  await pressButton(page, 'Command3');
}
