// A site split as a big corpus splits it: 120 documents indexed with a
// limit of 50 files to a folder (VELMOR_FOLDER_FILES, site/layout.h), so
// their text stores fill text/000 to text/002 and the top folder's
// entries and A-Z pages grow rather than multiply. The viewer, the
// entries and double-click must reach every folder.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import assert from 'node:assert/strict';
import { pathToFileURL } from 'node:url';
import { index } from './corpus.mjs';
import { step } from './helpers.mjs';

const kDocs = 120, kLimit = 50;
// Each document: a word all share, and 40 of its own (4,800 in all, which
// would make three A-Z pages and three entry files at 2,000 words a file).
const own = (d, k) => 'w' + (d * 40 + k).toString(36) + 'x';
function writeSplitPages(dir) {
  for (let d = 1; d <= kDocs; d++) {
    const words = Array.from({ length: 40 }, (_, k) => own(d, k));
    fs.writeFileSync(path.join(dir, 'teil_' + String(d).padStart(3, '0') + '.htm'),
      `<!DOCTYPE html><html><head><meta charset="utf-8"><title>Teil ${d}</title></head><body>` +
      `<p>Leuchtfeuer ${d}: ${words.slice(0, 20).join(' ')}</p><p>${words.slice(20).join(' ')} Leuchtfeuer.</p>` +
      '</body></html>\n');
  }
}

// Indexes the split corpus in `work`; returns its site's folder: the site
// as it comes back from a FAT32 stick (an image mtools writes, as in
// indexer/testing/fat) where dosfstools and mtools are installed.
export function indexSplit(build, work) {
  fs.mkdirSync(work);
  const site = index(build, work, writeSplitPages, { VELMOR_FOLDER_FILES: String(kLimit) });
  const env = { ...process.env, MTOOLS_SKIP_CHECK: '1', PATH: process.env.PATH + ':/usr/sbin:/sbin' };
  const image = path.join(work, 'stick.img'), back = path.join(work, 'back');
  try {
    execFileSync('mkfs.vfat', ['-F', '32', '-S', '512', '-s', '1', '-C', image, '65536'], { env, stdio: 'ignore' });
  } catch (e) {
    console.log('  (no mkfs.vfat: the split site is walked where the indexer wrote it)');
    return site;
  }
  execFileSync('mcopy', ['-s', '-i', image, site, '::'], { env, stdio: ['ignore', 'ignore', 'inherit'] });
  fs.mkdirSync(back);
  execFileSync('mcopy', ['-s', '-i', image, '::htm_out', back], { env, stdio: ['ignore', 'ignore', 'inherit'] });
  console.log('  (the split site is walked as it came back from a FAT32 image)');
  return path.join(back, 'htm_out');
}

export async function walkSplit(page, site, shots) {
  const url = name => pathToFileURL(path.join(site, name)).href;
  const entries = dir => fs.readdirSync(path.join(site, dir));
  for (const dir of ['', 'text', 'text/000', 'text/001', 'text/002', 'lookup'])
    assert.ok(entries(dir).length <= kLimit, dir + ' holds ' + entries(dir).length);
  assert.deepEqual(entries('text'), ['000', '001', '002']);
  assert.equal(entries('text/002').length, kDocs - 2 * kLimit);
  assert.ok(entries('text/002').includes('d_0120.js'));
  const top = entries('');
  // A share of (50 - 40) / 4 = 2 pages each (layout.h).
  for (const family of [/^i_\d+\.htm$/, /^index_\d+\.htm$/, /^s_freq_\d+\.htm$/, /^s_once_\d+\.htm$/]) {
    const n = top.filter(name => family.test(name)).length;
    assert.ok(n >= 1 && n <= 2, family + ': ' + n);
  }
  assert.ok(!top.some(n => /^page_/.test(n)), 'no page per document');
  step('120 documents at 50 files a folder: text/000 to text/002, at most two entry files and A-Z pages');

  // The last document, from the last folder; its neighbours and counts.
  await page.goto(url('page.htm') + '?d=' + kDocs);
  await page.waitForSelector('#t[data-ready]');
  assert.equal(await page.textContent('h1'), 'Teil ' + kDocs);
  assert.equal(await page.title(), 'Teil ' + kDocs);
  assert.equal(await page.textContent('nav.docs span'), 'document 120 of 120');
  assert.equal(await page.getAttribute('nav.docs a[rel=prev]', 'href'), '?d=119');
  assert.equal(await page.locator('nav.docs a[rel=next]').count(), 0);
  for (const width of [1280, 360]) {
    await page.setViewportSize({ width, height: 700 });
    await page.screenshot({ path: path.join(shots, `split-document-${width}.png`) });
  }
  await page.setViewportSize({ width: 1100, height: 700 });

  // A word of its own opens its entry, in the last entry file.
  const word = own(kDocs, 39);
  const box = await page.evaluate(word => {
    const node = document.getElementById('t').firstChild;
    const at = node.data.indexOf(word);
    const range = document.createRange();
    range.setStart(node, at + 1);
    range.setEnd(node, at + 2);
    const r = range.getBoundingClientRect();
    return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
  }, word);
  await page.mouse.dblclick(box.x, box.y);
  await page.waitForURL(/i_\d+\.htm#r\d+$/);
  assert.equal(await page.locator('section:target h2').textContent(), word);
  step('the viewer shows the last document of the last folder; a double-click opens its word\'s entry');

  // The shared word's entry lists documents of every folder; the last
  // leads back into the viewer, at the word.
  await page.goto(url('index.htm'));
  await page.fill('#q', 'leuchtfeuer');
  await page.click('#hits a:has-text("Leuchtfeuer")');
  await page.waitForURL(/i_\d+\.htm#r\d+$/);
  await page.click('section:target button.alldocs');
  const last = page.locator('section:target table.d a:has-text("Teil 120")');
  await last.click();
  await page.waitForURL(/page\.htm\?d=120#o\d+\.\d+\.\d+$/);
  await page.waitForSelector('#t mark');
  assert.equal(await page.textContent('#t mark'), 'Leuchtfeuer');
  await page.keyboard.press('n');
  await page.waitForURL(/page\.htm\?d=120#n=\d+$/);
  step('an entry\'s documents in every folder lead into the viewer; n steps on, the document kept');

  // An address no document has says so.
  await page.goto(url('page.htm') + '?d=121');
  await page.waitForFunction(() => /no document/.test(document.getElementById('at').textContent));
  step('page.htm?d=121 of 120 documents says there is none');
}
