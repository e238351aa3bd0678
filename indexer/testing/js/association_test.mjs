// The browser's association measures against the cases the C++ side is
// tested with (measures/association_cases.tsv), and a collocate table
// re-ranked as the reader changes the window, the measure and the filters.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { siteScripts } from './site_scripts.mjs';

const { MEASURES, rankCollocates } = siteScripts(['text_store.js', 'association.js']);

const cases = fs.readFileSync(new URL('../../measures/association_cases.tsv', import.meta.url), 'utf8')
  .split('\n').filter(l => l && !l.startsWith('#')).map(l => l.split('\t'));
assert.equal(cases.length, 25);
for (const [name, ...numbers] of cases) {
  const [xy, x, y, n, w, want] = numbers.map(Number);
  const got = MEASURES[name].score(xy, x, y, n, w);
  assert.ok(Math.abs(got - want) < 5e-6, `${name} ${numbers.join(' ')}: ${got}`);
}

// DIST in the store's digits, each count under 45 one digit (formats.h).
const DIGITS = "#$%&'()*+,-./0123456789:;=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]^_`abcdefghijklmnopqrstuvwxyz{|}~";
const digits = counts => counts.map(c => DIGITS[c]).join('');
// A word of 100 occurrences in a million words. "The" stands right before
// it and is frequent; "gas" is rare and stands 3 to 5 words after it;
// "pipe" is anywhere near. Worked by hand in the window 5, 5: E = 2, 0.012
// and 0.06; log-Dice 8.87, 11.5, 10.26; MI 3.9, 9.7, 6.6; MI3 13.7, 16.3,
// 11.8; t 5.1, 3.2, 2.4.
const rows = [
  [7, 2000, digits([0, 0, 0, 0, 30, 0, 0, 0, 0, 0]), 'The'],
  [9, 12, digits([0, 0, 0, 0, 0, 0, 0, 4, 3, 3]), 'gas'],
  [4, 60, digits([1, 1, 1, 1, 0, 1, 1, 0, 0, 0]), 'pipe'],
];
const settings = { left: 5, right: 5, measure: 'logdice', minTogether: 1, minFrequency: 1, stop: null };
const order = s => rankCollocates(rows, 100, 1e6, { ...settings, ...s }).map(c => c.form).join(' ');
const table = [
  [{}, 'gas pipe The'],
  [{ measure: 'mi' }, 'gas pipe The'],
  [{ measure: 'mi3' }, 'gas The pipe'],
  [{ measure: 't' }, 'The gas pipe'],
  // one word each side: "gas" is out of reach, "pipe" keeps 1 pair
  [{ left: 1, right: 1 }, 'The pipe'],
  [{ left: 0, right: 5, measure: 'mi' }, 'gas pipe'],
  [{ minTogether: 10 }, 'gas The'],
  [{ minFrequency: 50 }, 'pipe The'],
  [{ stop: new Set(['the']) }, 'gas pipe'],
  [{ left: 0, right: 0 }, ''],
];
for (const [s, want] of table) assert.equal(order(s), want, JSON.stringify(s));
const [pipe] = rankCollocates(rows, 100, 1e6, { ...settings, left: 3, right: 2 }).filter(c => c.form === 'pipe');
assert.equal(pipe.together, 4);
