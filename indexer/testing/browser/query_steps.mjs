// The query page: a phrase typed into the search box, its total, lines
// and documents; a pattern with a gap and a regular expression; sorting,
// saving, the hit marked in its document, and a bad query's message.
import path from 'node:path';
import assert from 'node:assert/strict';
import { step, helpers } from './helpers.mjs';

export async function walkQuery(page, url, shots) {
  const { savedLines } = helpers(page, url);
  const answered = () => page.waitForFunction(() => {
    const s = document.getElementById('query-status');
    return s.dataset.total !== undefined && (s.dataset.total === '0' || document.querySelector('#query-table tr')) ||
      s.classList.contains('error') || /nothing matches/.test(s.textContent);
  });
  const status = () => page.textContent('#query-status');
  const lines = () => page.$$eval('#query-table tr', trs => trs.map(tr => Array.from(tr.cells, td => td.textContent)));
  async function ask(query, exact = false) {
    await page.fill('#query', query);
    await page.setChecked('#exact', exact);
    await page.evaluate(() => { delete document.getElementById('query-status').dataset.total; });
    await page.click('#query-form button');
    await answered();
  }

  // A phrase from the search box: the first offer, Enter takes it. Case
  // and ß = ss aside: Die Straße, die STRASSE, die Straße.
  await page.goto(url('index.htm'));
  await page.fill('#q', 'die straße');
  await page.waitForSelector('#hits a.phrase');
  await page.press('#q', 'Enter');
  await page.waitForURL(/query\.htm#q=die%20stra%C3%9Fe$/);
  await answered();
  assert.equal(await status(), '3 hits in 1 document');
  assert.deepEqual((await lines())[0], ['', 'Die Straße', ' ist lang, und die STRASSE ist breit. Über die Straße geht d']);
  assert.deepEqual((await lines()).map(l => l[1]), ['Die Straße', 'die STRASSE', 'die Straße']);
  step('a phrase typed into the search box is counted and shown on the query page');

  // A gap and a regular expression: Der Leuchtturm Nummer N leuchtet, three
  // times in each Anhang but every sixth, which has it twice.
  await ask('der []{3} "leucht.*"');
  assert.equal(await status(), '85 hits in 30 documents');
  assert.equal(await page.locator('#query-table tr').count(), 50);
  assert.match((await lines())[0][1], /^Der Leuchtturm Nummer \d+ leuchtet$/);
  assert.equal(await page.locator('#query-docs-table tbody tr').count(), 30);
  assert.doesNotMatch(await page.textContent('#query-docs'), /null|undefined/);
  await page.setViewportSize({ width: 1280, height: 800 });
  await page.screenshot({ path: path.join(shots, 'query.png'), fullPage: false });
  await page.setViewportSize({ width: 360, height: 740 });
  await page.screenshot({ path: path.join(shots, 'query-phone.png'), fullPage: false });
  await page.setViewportSize({ width: 1100, height: 700 });
  // Sorted by the word before the hit, the lines of each such word stand
  // together ("hell.", "Vorkommnisse.", "Anhang 1."), where in text order
  // they alternate.
  const lastWords = async () => (await lines()).map(l => l[0].trim().replace(/\.$/, '').split(' ').pop());
  const together = words => words.every((w, i) => i === 0 || w === words[i - 1] || !words.slice(0, i).includes(w));
  assert.ok(!together(await lastWords()), 'text order alternates');
  await page.click('button[data-sort="1L"]');
  await page.waitForSelector('button[data-sort="1L"][aria-pressed=true]');
  assert.ok(together(await lastWords()), 'sorted by 1L: ' + await lastWords());
  const saved = await savedLines('#query-lines button.save');
  assert.equal(saved[0], '\ufeffdocument\ttitle\tleft\thit\tright');
  assert.equal(saved.filter(Boolean).length, 1 + 85, 'every hit saved, not the 50 shown');
  step('a pattern with a gap and a regular expression: total, documents, sorting, TSV');

  // The hit is marked whole in its document.
  await ask('ein ruhiger tag');
  await page.click('#query-table tr:first-child a');
  await page.waitForSelector('#t[data-ready]');
  assert.equal(await page.textContent('#t mark'), 'Ein ruhiger Tag');
  step('a hit opens its document with the whole hit marked');

  // Accents count only when asked; a bad query says what is wrong.
  await page.goto(url('query.htm'));
  await ask('uber die');
  assert.equal(await status(), '1 hit in 1 document');
  await ask('uber die', true);
  assert.match(await status(), /No word of the index is uber/);
  await ask('"colo(u"');
  assert.match(await status(), /not a regular expression/);
  await ask('"(a+)+b" straße');
  assert.match(await status(), /repeated group/);
  await ask('straße "am');
  assert.match(await status(), /is not closed/);
  step('accents count on request, and bad queries are refused with a reason');
}
