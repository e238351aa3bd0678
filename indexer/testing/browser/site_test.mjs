// Browser test of the indexer's site: writes a small multilingual corpus,
// indexes it, and walks the site in headless Chromium from file:// the way a
// reader would. Usage: node site_test.mjs BUILD_DIR [SHOTS_DIR]
//
// One browser and one page walk the whole site in order; each walk starts
// where the one before left off. corpus.mjs holds the documents,
// helpers.mjs what the walks share.
import { chromium } from 'playwright-core';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import assert from 'node:assert/strict';
import { index } from './corpus.mjs';
import { walkSearch } from './search_steps.mjs';
import { walkEntries } from './entry_steps.mjs';
import { walkLists } from './list_steps.mjs';
// The collocates' measures and window, chosen in the browser.
import { walkMeasures } from './measure_steps.mjs';
import { walkHostile } from './hostile_steps.mjs';
import { indexSplit, walkSplit } from './split_steps.mjs';
import { walkQuery } from './query_steps.mjs';

const build = path.resolve(process.argv[2] || 'build');
const shots = path.resolve(process.argv[3] || path.join(build, 'browser-shots'));
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'velmor-browser-'));

const site = index(build, work);
const splitSite = indexSplit(build, path.join(work, 'split'));
const url = name => pathToFileURL(path.join(site, name)).href;
fs.mkdirSync(shots, { recursive: true });

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
try {
  const context = await browser.newContext({ viewport: { width: 1100, height: 700 } });
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', e => problems.push('script error: ' + e.message));
  page.on('dialog', d => { problems.push('dialog: ' + d.message()); d.dismiss(); });
  page.on('request', r => { if (!r.url().startsWith('file:')) problems.push('network: ' + r.url()); });

  await walkSearch(page, url, shots);
  await walkEntries(page, url, shots);
  await walkLists(page, url, shots);
  await walkMeasures(page, url, shots);
  await walkHostile(page, url, shots);
  await walkSplit(page, splitSite, shots);
  await walkQuery(page, url, shots);

  assert.deepEqual(problems, []);
  await context.close();
} finally {
  await browser.close();
  fs.rmSync(work, { recursive: true, force: true });
}
console.log('all browser checks passed; screenshots in ' + shots);
