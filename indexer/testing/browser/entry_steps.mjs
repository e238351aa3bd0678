// An entry and the ways into it: its context lines, sorted and leading to the
// page of a document; double-clicking words on a document's page; what a
// document shows of itself; an entry's list of documents.
import path from 'node:path';
import assert from 'node:assert/strict';
import { step, helpers } from './helpers.mjs';

// Starts on the entry of Straße, as the search box opened it.
export async function walkEntries(page, url, shots) {
  const { doubleClick, openDocument, openBySearch } = helpers(page, url);
  const entry = page.locator('section:target');

  // The lines, cut from the stored texts, sorted by the words around.
  const rows = entry.locator('table.k tbody tr');
  await page.waitForFunction(() => document.querySelectorAll('section:target table.k tbody tr').length === 6);
  const keys = () => rows.evaluateAll(trs => trs.map(tr => tr.dataset.k.split(' ').map(Number)));
  const ascending = ks => ks.every((k, i) => i === 0 || ks[i - 1][0] <= k[0]);
  await entry.locator('select[data-level="0"]').selectOption('1R');
  await page.waitForFunction(() => document.querySelector('section:target table.k tbody tr[data-k]'));
  assert.ok(ascending(await keys()), 'sorted by the first word to the right');
  await entry.locator('select[data-level="0"]').selectOption('1L');
  await page.waitForFunction(() => document.querySelector('section:target select[data-level="1"]').value === '2L');
  const left = await keys();
  assert.ok(ascending(left), 'sorted by the first word to the left');
  assert.equal((await rows.nth(0).locator('td').nth(0).textContent()).trim().split(/\s+/).pop(), 'der',
    'nearest left word "der" sorts first');
  await page.screenshot({ path: path.join(shots, 'entry.png') });
  step('context lines sort by the words to their right and left');

  // A context line leads to its place in the document.
  const line = rows.nth(0).locator('a');
  const wanted = await line.textContent();
  await line.click();
  await page.waitForURL(/page\.htm\?d=\d+#o\d+\.\d+\.\d+$/);
  await page.waitForSelector('#t mark');
  assert.equal(await page.textContent('#t mark'), wanted);
  const seen = await page.$eval('#t mark', m => {
    const r = m.getBoundingClientRect();
    return r.top >= 0 && r.bottom <= innerHeight;
  });
  assert.ok(seen, 'the marked occurrence is scrolled into view');
  await page.waitForFunction(() => /of 6/.test(document.getElementById('at').textContent));
  const first = await page.$eval('#t mark', m => m.previousSibling.textContent.length);
  await page.keyboard.press('n');
  const next = await page.$eval('#t mark', m => [m.previousSibling.textContent.length, m.textContent]);
  assert.notEqual(next[0], first, 'n moves to another occurrence');
  assert.equal(await page.evaluate(w => window.velmor.fold(w), next[1]), 'strasse');
  await page.keyboard.press('p');
  assert.equal(await page.$eval('#t mark', m => m.previousSibling.textContent.length), first);
  await page.screenshot({ path: path.join(shots, 'page.png') });
  step('a context line marks its occurrence; n and p step through the others');

  let target = await doubleClick('Über');
  assert.equal(await target.locator('h2').textContent(), 'Über');
  step('double-click on "Über" opens its entry');

  await openDocument('ellinika');
  target = await doubleClick('οδος');
  assert.equal(await target.locator('h2').textContent(), 'ΟΔΟΣ');
  assert.match(await target.locator('h2 + p').textContent(), /^3 occurrences/);
  step('double-click on "οδος" (final sigma) opens the entry of ΟΔΟΣ');

  await openDocument('markup');
  assert.equal(await page.$$eval('#t script', s => s.length), 0);
  assert.match(await page.textContent('#t'), /<script>alert\("x"\)<\/script> &/);
  target = await doubleClick("O'Neill's");
  assert.equal(await target.locator('h2').textContent(), "O'Neill's");
  step('markup in a document shows as text; a word with apostrophes opens its entry');

  // The HTML page: its text is indexed, its script, style and comment are not.
  await openDocument('Zapiski');
  assert.match(await page.textContent('#t'), /Šola je blizu\u00a0doma\. Der Bär schläft\./);
  for (const [prefix, expected] of [['šol', 'Šola'], ['nevid', null], ['koment', null], ['colo', null]]) {
    await page.fill('#q', prefix);
    await page.waitForSelector('#hits li');
    const found = await page.$$eval('#hits a', as => as.map(a => a.firstChild.textContent));
    assert.deepEqual(found, expected ? [expected] : [], prefix);
  }
  step('an HTML page is indexed by its text only');

  // An entry that shows some of its documents lists the others on demand,
  // and each leads to the word's first occurrence there.
  await openBySearch('leucht', 'Leuchtturm');
  const docs = page.locator('section:target table.d tr');
  const firstShown = await docs.evaluateAll(trs => trs.map(tr => tr.querySelector('a').getAttribute('href')));
  assert.equal(firstShown.length, 25);

  // Its dispersion: DPnorm beside the counts, and on demand a strip per
  // document, the 20 longest of its 30, a mark per place of an occurrence.
  assert.match(await page.textContent('section:target h2 + p'), /^\d+ occurrences in 30 documents \u00b7 DP 0\.\d{3}$/);
  await page.click('section:target details.dispersion summary');
  await page.waitForSelector('section:target .plot .strip');
  const plot = await page.evaluate(async () => {
    const box = document.querySelector('section:target details.dispersion');
    const sizes = await window.velmor.load('lookup/sizes.js', 'velmorSizes');
    const strips = Array.from(box.querySelectorAll('.strip'), s => ({
      doc: Number(s.querySelector('.name').dataset.doc), count: Number(s.querySelector('.n').textContent),
      marks: (s.querySelector('path').getAttribute('d').match(/M/g) || []).length,
    }));
    return { strips, sizes: strips.map(s => sizes[s.doc]), more: box.querySelector('p.more').textContent };
  });
  assert.equal(plot.strips.length, 20);
  assert.ok(plot.sizes.every((n, i) => i === 0 || plot.sizes[i - 1] >= n), 'longest first: ' + plot.sizes);
  assert.ok(plot.strips.every(s => s.marks >= 1 && s.marks <= s.count), JSON.stringify(plot.strips));
  assert.equal(plot.more, 'and 10 more documents, none longer');
  await page.locator('section:target details.dispersion').screenshot({ path: path.join(shots, 'dispersion.png') });
  await page.setViewportSize({ width: 360, height: 700 });
  await page.locator('section:target details.dispersion').screenshot({ path: path.join(shots, 'dispersion-phone.png') });
  assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= innerWidth), 'the plot fits a phone');
  await page.setViewportSize({ width: 1100, height: 700 });
  step('an entry shows its dispersion and plots its longest documents');
  const more = page.locator('section:target button.alldocs');
  assert.equal(await more.textContent(), 'show all 30 documents');
  await more.click();
  await page.waitForFunction(() => document.querySelectorAll('section:target table.d tr').length === 30);
  const all = await docs.evaluateAll(trs => trs.map(tr => [tr.querySelector('a').getAttribute('href'),
    tr.cells[0].textContent, tr.cells[1].textContent]));
  const hidden = all.filter(([href]) => !firstShown.includes(href));
  assert.equal(hidden.length, 5);
  const [href, title, count] = hidden[hidden.length - 1];
  await page.screenshot({ path: path.join(shots, 'all-documents.png') });
  await page.click(`section:target table.d a[href="${href}"]`);
  await page.waitForURL(/page\.htm\?d=\d+#o\d+\.\d+\.\d+$/);
  await page.waitForSelector('#t mark');
  assert.equal(await page.textContent('h1'), title);
  assert.equal(await page.textContent('#t mark'), 'Leuchtturm');
  assert.match(await page.textContent('#at'), new RegExp('occurrence 1 of ' + count + '\\b'));
  const at = await page.$eval('#t mark', m => m.previousSibling.textContent.length);
  await page.keyboard.press('n');
  assert.equal(await page.textContent('#t mark'), 'Leuchtturm');
  assert.notEqual(await page.$eval('#t mark', m => m.previousSibling.textContent.length), at);
  assert.match(await page.textContent('#at'), new RegExp('occurrence 2 of ' + count + '\\b'));
  step('an entry lists all its documents on demand; one not shown at first opens with the word marked');

  // Words as the index has them: elided articles apart, a.out whole.
  await openDocument('francais');
  target = await doubleClick('utilisateur');
  assert.equal(await target.locator('h2').textContent(), 'utilisateur');
  assert.match(await target.locator('h2 + p').textContent(), /^3 occurrences/);
  await openDocument('francais');
  target = await doubleClick("L'utilisateur");
  assert.equal((await target.locator('h2').textContent()).toLowerCase(), "l'");
  await openDocument('francais');
  target = await doubleClick('a.out');
  assert.equal(await target.locator('h2').textContent(), 'a.out');
  step('double-click on an elided form and on a.out opens the index\'s own word');

  const dotted = page.locator('section:target button.alldocs');
  assert.equal(await dotted.textContent(), 'show all 31 documents');
  await dotted.click();
  await page.waitForFunction(() => document.querySelectorAll('section:target table.d tr').length === 31);
  await page.locator('section:target table.d a[data-doc]').last().click();
  await page.waitForSelector('#t mark');
  assert.equal(await page.textContent('#t mark'), 'a.out');
  assert.match(await page.textContent('#at'), /occurrence 1 of 1\b/);
  step('"show all documents" of a.out lands on a.out');

  // An entry page draws many entries at once, and reads more documents than
  // the store keeps: a document can be asked for again the moment its first
  // reading calls back, before that script's load event. The second asking
  // must get the text, not the first script's "cannot read".
  const again = await page.evaluate(async () => {
    const store = window.velmorStore;
    const first = store.load(1);
    const others = [];
    for (let n = 2; n <= 60; n++) others.push(store.load(n).catch(() => null));  // pushes 1 out of the store
    const second = await first.then(() => store.load(1));
    await Promise.all(others);
    return second.n;
  });
  assert.equal(again, 1);
  step('a document asked for again as its first reading ends is read');
}
