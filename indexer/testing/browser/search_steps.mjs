// The start page: the search box, its folding of words, the alphabet, and a
// hit of the search box opening its entry (Straße, where the next steps go on).
import fs from 'node:fs';
import path from 'node:path';
import assert from 'node:assert/strict';
import { step } from './helpers.mjs';

export async function walkSearch(page, url, shots) {
  // The start page and the search box.
  await page.goto(url('index.htm'));
  assert.match(await page.textContent('.totals'), /^40\D+documents/);
  await page.fill('#q', 'stra');
  await page.waitForSelector('#hits a');
  const hits = await page.$$eval('#hits a', as => as.map(a => a.firstChild.textContent));
  assert.ok(hits.includes('Straße'), 'search lists Straße: ' + hits);
  assert.ok(hits.every(h => h.toLowerCase().startsWith('str')), 'only prefix matches: ' + hits);
  await page.screenshot({ path: path.join(shots, 'search.png') });
  step('search box finds words by prefix');

  // The script's folding agrees with the indexer's keys for every word,
  // and with the indexer's search key on the cases both are tested on.
  const disagree = await page.evaluate(async () => {
    const bad = [];
    for (const row of await window.velmor.withPrefix('', 1e6)) {
      const key = row[1] || row[0], form = row[2] || key;
      if (window.velmor.fold(form) !== key || window.velmor.searchKey(form) !== row[0]) bad.push(row);
    }
    return bad;
  });
  assert.deepEqual(disagree, [], 'script folds like the indexer');
  const cases = fs.readFileSync(new URL('../../words/search_key_cases.tsv', import.meta.url), 'utf8')
    .split('\n').filter(l => l && !l.startsWith('#')).map(l => l.split('\t'))
    .map(([w, k]) => [w.replace(/\\u([0-9a-f]{4})/gi, (_, h) => String.fromCharCode(parseInt(h, 16))), k]);
  const misfolded = await page.evaluate(cases => cases.filter(([w, k]) => window.velmor.searchKey(w) !== k)
    .map(([w, k]) => [w, k, window.velmor.searchKey(w)]), cases);
  assert.deepEqual(misfolded, [], 'search keys as in search_key_cases.tsv');
  step('folding matches the indexer for every word and every search key case');

  // The box forgives accents and case, takes * and ?, and shows counts.
  async function offered(typed) {
    await page.fill('#q', typed);
    await page.waitForFunction(t => document.getElementById('q').value === t &&
      document.querySelector('#hits li'), typed);
    await page.waitForTimeout(50);
    return page.$$eval('#hits a', as => as.map(a => [a.firstChild.textContent, a.querySelector('small').textContent]));
  }
  assert.deepEqual((await offered('uber'))[0], ['Über', '1']);
  assert.equal((await offered('Bär'))[0][0], 'Bär', 'the form typed exactly comes first');
  const ung = await offered('*ung');
  assert.deepEqual(ung.map(h => h[0]).sort(), ['Ordnung', 'Zeitung']);
  assert.deepEqual((await offered('b?r')).map(h => h[0]), ['Bär']);
  assert.deepEqual((await offered('*.out')).map(h => h[0]), ['a.out']);
  step('search: "uber" offers Über, "*ung" and "b?r" match anywhere, with counts');

  // The index holds an elided article apart: what is typed whole finds the
  // word it leans on, and says so.
  assert.equal((await offered("l\u2019utilisateur"))[0][0], 'utilisateur');
  assert.match(await page.textContent('#hits li:first-child'), /2 words in the index \(l\u2019 \+ utilisateur\)/);
  step('search: "l\u2019utilisateur" finds utilisateur and says why');

  // The alphabet: each letter once, digits and symbols a tile each.
  const tiles = await page.$$eval('nav.alpha a', as => as.map(a => a.textContent));
  assert.deepEqual(tiles.filter((t, i) => tiles.indexOf(t) !== i), [], 'no letter twice: ' + tiles);
  for (const t of ['0-9', '#', 'D', 'Đ', 'L', 'Ω', 'Д', 'あ', '漢']) assert.ok(tiles.includes(t), t + ' in ' + tiles);
  // In Slovenian Đ is a letter of its own and Ł files under L.
  for (const t of ['Ł', 'ア', '_']) assert.ok(!tiles.includes(t), t + ' not in ' + tiles);
  // Look-alike letters say their script: a name over each script's tiles,
  // and on each tile.
  const scripts = await page.$$eval('nav.alpha > *', els => els.map(e => e.tagName === 'SPAN' ? '[' + e.textContent + ']'
    : e.textContent + (e.title ? ':' + e.title : '')));
  for (const t of ['D:Latin', 'Ω:Greek', 'Д:Cyrillic', 'あ:Hiragana', '0-9']) assert.ok(scripts.includes(t), t + ' in ' + scripts);
  const run = s => scripts.indexOf(s);
  assert.ok(run('[Latin]') < run('D:Latin') && run('[Greek]') < run('Ω:Greek') && run('[Latin]') < run('[Greek]'), scripts.join(' '));
  step('the alphabet shows each letter once on a mixed-script corpus');
  await offered('stra');

  await page.click('#hits a:has-text("Straße")');
  await page.waitForURL(/i_\d+\.htm#r\d+$/);
  const entry = page.locator('section:target');
  assert.equal(await entry.locator('h2').textContent(), 'Straße');
  assert.match(await entry.locator('h2 + p').textContent(), /^6 occurrences in 1 document/);
  step('a search hit opens the entry');
}
