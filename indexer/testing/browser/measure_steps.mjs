// The collocates under the reader's control: another measure and another
// window re-rank the table at once, the choice is kept for the next page,
// and a word too rare for the index's own measures gets them counted here.
import path from 'node:path';
import assert from 'node:assert/strict';
import { step, helpers } from './helpers.mjs';

export async function walkMeasures(page, url, shots) {
  const { openBySearch } = helpers(page, url);
  await openBySearch('leucht', 'Leuchtturm');
  const lt = page.locator('section:target');
  await lt.locator('details.collocates summary').click();
  const order = () => lt.locator('details.collocates tr:has(button.narrow)').evaluateAll(trs =>
    trs.map(tr => tr.cells[0].textContent));
  const heading = () => lt.locator('details.collocates th').nth(3).textContent();
  const byDice = await order();
  assert.equal(await heading(), 'log-Dice');
  assert.ok(byDice.length >= 3, byDice.join(' '));

  await lt.locator('select[data-set="measure"]').selectOption('t');
  const byT = await order();
  assert.equal(await heading(), 't-score');
  assert.deepEqual([...byT].sort(), [...byDice].sort(), 'the same collocates');
  assert.notDeepEqual(byT, byDice, 't-score ranks otherwise than log-Dice');
  // "Der" stands just before the word, "hell" four after: one word each
  // side keeps the first and drops the second.
  assert.ok(byT.includes('hell') && byT.some(f => f.toLowerCase() === 'der'), byT.join(' '));
  await lt.locator('select[data-set="left"]').selectOption('1');
  await lt.locator('select[data-set="right"]').selectOption('1');
  const near = await order();
  assert.ok(!near.includes('hell') && near.some(f => f.toLowerCase() === 'der'), near.join(' '));
  await page.screenshot({ path: path.join(shots, 'collocates-t-score.png') });
  step('the collocates re-rank by another measure and a narrower window');

  // Kept for the next page, and the lines follow the window chosen.
  await page.reload();
  await lt.locator('details.collocates summary').click();
  assert.equal(await heading(), 't-score');
  assert.deepEqual(await order(), near);
  await page.evaluate(() => localStorage.removeItem('velmor.collocates'));
  step('the measure and window chosen hold on the next page');

  // "eine" occurs twice: too rare for the index's measures.
  await openBySearch('eine', 'eine');
  const bear = page.locator('section:target');
  await bear.locator('details.local > summary').click();
  await page.waitForFunction(() => document.querySelector('section:target details.local details.collocates'));
  await bear.locator('input[data-set="minTogether"]').fill('1');
  await bear.locator('input[data-set="minTogether"]').dispatchEvent('change');
  const forms = await bear.locator('details.collocates tr:has(button.narrow)').evaluateAll(trs =>
    trs.map(tr => [tr.cells[0].textContent, Number(tr.cells[1].textContent)]));
  // "Zuletzt: eine Straße am Meer, eine Straße im Wald.": each "eine" pairs
  // with its own "Straße", and never with the other "eine".
  assert.ok(forms.some(([f, n]) => f === 'Straße' && n === 2) && !forms.some(([f]) => f === 'eine'), JSON.stringify(forms));
  await page.screenshot({ path: path.join(shots, 'collocates-counted-here.png') });
  await page.evaluate(() => localStorage.removeItem('velmor.collocates'));
  step('a rarer word\'s collocates are counted in the browser');
}
