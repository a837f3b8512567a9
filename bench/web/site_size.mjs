// The browser edition's size: every file of the site compressed with gzip
// (level 9), the fonts included (WOFF2, compressed already). Budget: under
// 400 KB.
//
// node bench/web/site_size.mjs [SITE_DIR]

import { readdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';

import { siteDir as defaultSite } from '../../web/tests/support.mjs';

const site = process.argv[2] ?? defaultSite;
const budget = 400 * 1000;

// The site first: every file the page needs, and the module with its tables.
const files = readdirSync(site).sort();
// What the site serves is what its worker keeps: a file outside that list
// (an earlier build's) is not counted.
const worker = readFileSync(join(site, 'sw.js'), 'utf8');
const needed = ['index.html', 'kalventa.js', 'kalventa_core.js', 'kalventa_core.wasm', 'LiberationSans-Regular.woff2',
  'LiberationSans-Bold.woff2', 'kalventa.svg', 'sw.js', 'manifest.webmanifest'];
for (const file of needed)
  if (!files.includes(file))
    throw new Error(`${file} is missing from ${site}`);
if (!readFileSync(join(site, 'kalventa.js'), 'utf8').includes('const windowTables = {'))
  throw new Error('kalventa.js holds no window tables');

let total = 0;
let fonts = 0;
for (const file of files) {
  if (file !== 'sw.js' && !worker.includes(`'${file}'`))
    continue;
  const bytes = readFileSync(join(site, file));
  const compressed = gzipSync(bytes, { level: 9 }).length;
  const font = file.endsWith('.woff2');
  total += compressed;
  if (font)
    fonts += compressed;
  console.log(`${file.padEnd(28)} ${String(bytes.length).padStart(8)} bytes, ${String(compressed).padStart(8)} compressed${font ? ' (font)' : ''}`);
}
console.log(`the site: ${total} bytes compressed (budget ${budget}), of which the fonts ${fonts}`);
if (total >= budget) {
  console.log('over budget');
  process.exit(1);
}
