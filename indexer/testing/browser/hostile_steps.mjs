// Input that once hurt the site: wildcards a backtracking matcher hung
// on, a pattern too long to search, titles and lines a spreadsheet would
// run as formulas, and Cherokee, which the index folds to its capitals.
import path from 'node:path';
import assert from 'node:assert/strict';
import { step, helpers } from './helpers.mjs';

export async function walkHostile(page, url, shots) {
  const { savedLines, openBySearch } = helpers(page, url);

  // What the box shows for what is typed: its links and its notes. An
  // answer must come within a few seconds; a backtracking RegExp took 8 s
  // for *a*c*g*t*x against the 600-letter word, over 20 s for
  // *a*a*a*a*a*b against the 300 a's.
  async function shown(typed) {
    await page.fill('#q', typed);
    await page.waitForFunction(t => document.getElementById('q').value === t &&
      document.querySelector('#hits li'), typed, { timeout: 5000 });
    await page.waitForTimeout(50);
    return page.$$eval('#hits li', lis => lis.map(li => li.textContent));
  }
  await page.goto(url('index.htm'));
  assert.deepEqual(await shown('*a*c*g*t*x'), ['no word matches']);
  assert.deepEqual(await shown('*a*a*a*a*a*b'), ['no word matches']);
  assert.deepEqual(await shown('*a*c*g*t'), ['acgt'.repeat(150) + '1']);
  const tooLong = await shown('*' + 'a'.repeat(100000));
  assert.deepEqual(tooLong, ['a pattern can be at most 100 letters long; this one has 100,001']);
  step('wildcards that hung the page answer at once; an over-long pattern says so');

  // Every word matches "*": 50 shown, the most frequent first, and how
  // many there are.
  const all = await shown('*');
  assert.match(all[0], /^50 of [\d,]+ words, the most frequent first$/);
  assert.equal(all.length, 51);
  const counts = await page.$$eval('#hits a small', s => s.map(x => Number(x.textContent.replace(/,/g, ''))));
  assert.ok(counts.every((c, i) => !i || counts[i - 1] >= c), 'by falling count: ' + counts);
  await page.screenshot({ path: path.join(shots, 'search-all.png') });
  await page.setViewportSize({ width: 360, height: 740 });
  await page.screenshot({ path: path.join(shots, 'search-all-phone.png') });
  await shown('*' + 'a'.repeat(100000));
  await page.screenshot({ path: path.join(shots, 'search-too-long-phone.png') });
  await page.setViewportSize({ width: 1100, height: 700 });
  step('"*" shows the 50 most frequent words of all, and their number');

  // A title and a line a spreadsheet would run stay text in the exports;
  // numbers stay numbers, without thousands separators.
  await page.goto(url('s_docs.htm'));
  const docs = await savedLines('button.save');
  assert.equal(docs[0], '\ufeff#\tdocument\twords\tdistinct\ttype/token\tlines\tbytes');
  const formula = docs.find(l => l.includes('HYPERLINK'));
  assert.match(formula, /^\d+\t"'=HYPERLINK\(""http:\/\/example\.org"",""x""\)"\t\d+\t/);
  const total = docs.find(l => l.includes('all documents')).split('\t');
  assert.ok(Number(total[6]) > 1000 && /^\d+$/.test(total[6]), 'bytes as a plain number: ' + total[6]);
  await page.goto(url('index_001.htm'));
  assert.ok((await savedLines('button.save')).some(l => l.startsWith("'@home\t1\t1\t")), 'a word that begins with @');
  await openBySearch('@home', '@home');
  const lines = await savedLines('section:target button.save:has-text("lines")');
  assert.equal(lines[0], '\ufeffdocument\tline\tleft\tword\tright');
  const [title, line, left, word, right] = lines[1].split('\t');
  assert.deepEqual([title, line, left, word], [`"'=HYPERLINK(""http://example.org"",""x"")"`, '1', "'=SUM(A1) -2+3 ",
    "'@home"]);
  assert.match(right, /^" ""zitat acgtacgt[acgt]*"$/, 'quoted, its quote doubled, the line end a blank');
  step('exports keep titles and lines that look like formulas as text, numbers plain');

  // The index folds Cherokee to capitals: a double-click on the small
  // letters of a title (no stored text there: the word is looked up by
  // its key) opens their entry.
  await page.goto(url('s_docs.htm'));
  await page.click('main table a:has-text("ꭰꮿ")');
  await page.waitForSelector('#t[data-ready]');
  const at = await page.evaluate(() => {
    const text = document.querySelector('h1').firstChild;
    const range = document.createRange();
    range.setStart(text, 1);
    range.setEnd(text, 2);
    const r = range.getBoundingClientRect();
    return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
  });
  await page.mouse.dblclick(at.x, at.y);
  await page.waitForURL(/i_\d+\.htm#r\d+$/);
  assert.equal(await page.locator('section:target h2').textContent(), 'ꮳꮃꭹ');
  assert.match(await page.locator('section:target h2 + p').textContent(), /^3 occurrences/);
  step('a double-click on a Cherokee word opens its entry');
}
