// The lists that lead to lines and entries: a frequent word's lines page by
// page, sorted, saved and narrowed to a collocate; the words of a line's
// context; the n-grams; the word lists and their TSVs; a document's keywords.
import fs from 'node:fs';
import path from 'node:path';
import assert from 'node:assert/strict';
import { step, helpers } from './helpers.mjs';

export async function walkLists(page, url, shots) {
  const { savedLines, opensItsEntry, openBySearch, doubleClick, openDocument } = helpers(page, url);

  // A frequent word: every line, page by page; sorted by 2L; its
  // collocates and clusters lead to their lines; the lines save as TSV.
  await openBySearch('leucht', 'Leuchtturm');
  const lt = page.locator('section:target');
  const total = Number((await lt.locator('h2 + p').textContent()).match(/^(\d+)/)[1]);
  assert.ok(total > 50, 'more lines than a page: ' + total);
  const ltRows = lt.locator('table.k tbody tr');
  const status = lt.locator('.kwicbar .count');
  await page.waitForFunction(() => /^lines 1–50 of/.test(document.querySelector('section:target .kwicbar .count').textContent));
  const seenLines = new Set();
  for (let guard = 0; guard < 10; guard++) {
    for (const id of await ltRows.evaluateAll(trs => trs.map(tr => tr.dataset.d + ':' + tr.dataset.t))) seenLines.add(id);
    const was = await status.textContent();
    // The count can show before the button to the next page is enabled
    // (a run under Wine once saw it still disabled): stop on the count.
    const [, last, of] = was.match(/^lines \d+–(\d+) of ([\d,]+)/);
    if (Number(last) >= Number(of.replace(/,/g, ''))) break;
    const next = lt.locator('button[aria-label="next lines"]');
    await page.waitForFunction(() =>
      !document.querySelector('section:target button[aria-label="next lines"]').disabled);
    await next.click();
    await page.waitForFunction(w => document.querySelector('section:target .kwicbar .count').textContent !== w, was);
  }
  assert.equal(seenLines.size, total, 'every line reachable');
  step('a frequent word shows every one of its lines, a page at a time');

  await lt.locator('select[data-level="0"]').selectOption('2L');
  await page.waitForFunction(() => document.querySelector('section:target table.k tbody tr[data-k]') &&
    /^lines 1–50 of/.test(document.querySelector('section:target .kwicbar .count').textContent));
  const byTwoLeft = await ltRows.evaluateAll(trs => trs.map(tr => tr.dataset.k.split(' ').map(Number)));
  assert.ok(byTwoLeft.every((k, i) => i === 0 || byTwoLeft[i - 1][0] < k[0] ||
    (byTwoLeft[i - 1][0] === k[0] && byTwoLeft[i - 1][1] <= k[1])), 'sorted by 2L, then 3L');
  await page.screenshot({ path: path.join(shots, 'sorted-2L.png') });
  step('the lines sort by the second word to the left');

  const download = page.waitForEvent('download');
  await lt.locator('button.save:has-text("Save lines")').click();
  const saved = fs.readFileSync(await (await download).path(), 'utf8');
  const tsvLines = saved.replace(/\r\n$/, '').split('\r\n');
  assert.equal(tsvLines[0], '\ufeffdocument\tline\tleft\tword\tright');
  assert.equal(tsvLines.length, total + 1);
  assert.ok(tsvLines.slice(1).every(l => l.split('\t')[3] === 'Leuchtturm'));
  step('an entry\'s lines save as TSV and read back');

  await lt.locator('details.collocates summary').click();
  const colloc = lt.locator('details.collocates tr:has(button.narrow)');
  assert.ok(await colloc.count() > 0, 'collocates listed');
  // No word is its own collocate, and none is counted beside it more
  // often than either occurs.
  const own = await lt.locator('h2').textContent();
  for (const [form, together, frequency] of await colloc.evaluateAll(trs => trs.map(tr =>
    Array.from(tr.cells).slice(0, 3).map((td, i) => (i ? Number(td.textContent.replace(/,/g, '')) : td.textContent)))))
    assert.ok(form !== own && together <= frequency && together <= total, form + ' ' + together + ' ' + frequency);
  const [cform, ctogether] = await colloc.last().evaluate(tr => [tr.cells[0].textContent, Number(tr.cells[1].textContent.replace(/,/g, ''))]);
  await colloc.last().locator('button.narrow').click();
  await page.waitForFunction(() => !document.querySelector('section:target p.filter').hidden &&
    /of \d+$/.test(document.querySelector('section:target .kwicbar .count').textContent));
  const withIt = await ltRows.evaluateAll(trs => trs.map(tr => tr.textContent));
  // Each line pairs with one occurrence of the collocate at most; two lines
  // may share one, so there are at least as many lines as pairs.
  assert.ok(ctogether >= 3 && withIt.length >= ctogether, withIt.length + ' lines for ' + ctogether + ' together');
  assert.ok(withIt.every(t => t.toLowerCase().includes(cform.toLowerCase())), 'every line holds ' + cform);
  await page.screenshot({ path: path.join(shots, 'collocate.png') });
  step('a collocate leads to the lines where both occur');

  // A word in a line's context is the index's own word, as on its page:
  // in "puis l'utilisateur" the elided article is one ("l'"), which the
  // browser's own selection of "L'utilisateur" would not find.
  await openDocument('francais');
  await doubleClick('utilisateur');
  const utRows = page.locator('section:target table.k tbody tr');
  await page.waitForFunction(() => document.querySelectorAll('section:target table.k tbody tr').length >= 2);
  const inLine = await utRows.nth(1).evaluate(tr => {
    const text = tr.cells[0].querySelector('span').firstChild;
    const at = text.data.indexOf("L'utilisateur");
    const range = document.createRange();
    range.setStart(text, at);
    range.setEnd(text, at + 1);
    const r = range.getBoundingClientRect();
    return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
  });
  await page.mouse.dblclick(inLine.x, inLine.y);
  await page.waitForURL(/i_\d+\.htm#r\d+$/);
  assert.equal((await page.locator('section:target h2').textContent()).toLowerCase().replace('\u2019', "'"), "l'");
  step('double-click on a word of a line\'s context opens its entry');

  await page.goto(url('s_ngrams.htm'));
  const gram = page.locator('table.freq a').first();
  const gramText = await gram.textContent();
  await gram.click();
  await page.waitForURL(/i_\d+\.htm#r\d+~n=/);
  await page.waitForFunction(() => document.querySelector('section p.filter:not([hidden])') &&
    /of \d+( so far)?$/.test(document.querySelector('p.filter:not([hidden])').closest('section').querySelector('.kwicbar .count').textContent));
  const gramLines = await page.locator('section:has(p.filter:not([hidden])) table.k tbody tr').evaluateAll(trs => trs.map(tr => tr.textContent.replace(/\s+/g, ' ')));
  assert.ok(gramLines.length > 0);
  const gramWords = gramText.toLowerCase().split(' ');
  assert.ok(gramLines.every(t => gramWords.every(w => t.toLowerCase().includes(w))), 'each line holds ' + gramText);
  step('the n-gram list leads to the lines of an n-gram');

  await page.goto(url('s_freq_001.htm'));
  const freq = await savedLines('button.save');
  assert.equal(freq[0], '\ufeff#\tword\tcount\tdocuments\tshare\tDP');
  assert.equal(freq.length - 2, await page.locator('#word-list tr').count() - 1);
  // The whole list, hapaxes included, comes from the search data: every
  // word once, by falling count, the counts adding up to the corpus.
  const whole = (await savedLines('button.save:has-text("whole list")')).slice(1, -1);
  const totals = (await page.evaluate(() => JSON.parse(document.getElementById('list-data').textContent).tokens));
  assert.equal(whole.reduce((sum, l) => sum + Number(l.split('\t')[2]), 0), totals);
  assert.equal(new Set(whole.map(l => l.split('\t')[1])).size, whole.length);
  assert.ok(whole.every((l, i) => i === 0 || Number(whole[i - 1].split('\t')[2]) >= Number(l.split('\t')[2])));
  assert.ok(whole.some(l => /\t1\t1\t/.test(l)) && whole.length > freq.length - 2, 'the hapaxes are there');
  // Every word's dispersion, DPnorm from 0 to 1, in the page and the whole list.
  for (const l of freq.slice(1, -1).concat(whole)) {
    const dp = l.split('\t')[5];
    assert.ok(/^(0(\.\d{1,3})?|1)$/.test(dp), 'a DP in ' + l);
  }
  // Rows carry their ranks as differences: the last word's link must
  // still open its own entry.
  await opensItsEntry(page.locator('#word-list tr:last-child td:nth-child(2) a'));
  step('the frequency list saves as TSV, a page or whole; its words lead to their entries');

  await page.goto(url('index_001.htm'));
  const words = await savedLines('button.save');
  assert.equal(words[0], '\ufeffword\tcount\tdocuments\tDP');
  assert.equal(words.length - 2, await page.locator('table.words tr:not(.letter)').count() - 1);
  // In one document of several, a word is as uneven as it can be but for
  // the smallest one: DPnorm near 1.
  const strasse = words.find(l => l.startsWith('Straße\t6\t1\t'));
  assert.ok(strasse && Number(strasse.split('\t')[3]) > 0.5, 'a word with its counts and dispersion: ' + strasse);
  step('a word list saves as TSV');

  // The A-Z page is drawn from its data: a letter of the alphabet bar lands
  // on its heading, and a word leads to its entry.
  const tile = page.locator('nav.alpha a', { hasText: /^Ž$/ });
  const tileHref = await tile.getAttribute('href');
  // The heading lands below the header bar, which stays on top on a wide
  // screen (it hid the heading before) and scrolls away on a phone.
  for (const width of [1280, 360]) {
    await page.setViewportSize({ width, height: 700 });
    await page.goto(url('index.htm'));  // from another page, so the list draws before it is scrolled
    await page.goto(new URL(tileHref, url('index.htm')).href);
    await page.waitForSelector('table.words tr.letter');
    const landed = await page.evaluate(() => {
      const th = document.getElementById(location.hash.slice(1));
      const r = th && th.getBoundingClientRect();
      const bar = document.querySelector('header').getBoundingClientRect();
      // (a row of a long word can leave the heading a fraction of a pixel above)
      return th && [th.textContent, r.top >= Math.max(bar.bottom, 0) - 1 && r.top < innerHeight, scrollY > 0];
    });
    assert.deepEqual(landed, ['Ž', true, true], tileHref + ' at ' + width + ' px');
    await page.screenshot({ path: path.join(shots, 'letter-' + width + '.png') });
  }
  await page.setViewportSize({ width: 1100, height: 700 });
  await opensItsEntry(page.locator('table.words tr.letter:has(th:text-is("Ž")) + tr a'));
  step('an A-Z page draws its words; a letter lands on its heading, a word opens its entry');

  // A document's keywords, from its stored text, each leading to its entry.
  await page.goto(url('page.htm'));  // the first document, as with ?d=1
  await page.waitForSelector('#velmor-keywords table.keywords a');
  const keyword = await page.textContent('#velmor-keywords table.keywords a');
  // They save as TSV like every other list: a row each, the measures as numbers.
  const keywordLines = await savedLines('#velmor-keywords button.save');
  assert.equal(keywordLines[0], '\ufeffkeyword\there\tlog-likelihood\tlog ratio');
  assert.equal(keywordLines.length - 2, await page.locator('#velmor-keywords table.keywords tr').count() - 1);
  const [kw, here, ll, lr] = keywordLines[1].split('\t');
  assert.ok(kw === keyword && Number(here) >= 3 && Number(ll) >= 3.84 && Number(lr) > 0, keywordLines[1]);
  await page.click('#velmor-keywords table.keywords a');
  await page.waitForURL(/i_\d+\.htm#r\d+$/);
  assert.equal(await page.locator('section:target h2').textContent(), keyword);
  step('a document\'s keywords save as TSV and lead to their entries');
}
