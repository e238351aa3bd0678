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

// A rarer word's measures counted in the browser (local_measures.js), as
// measures/collocates.cc and clusters.cc count them: the word 0 in
// "0 1 0 1 2 | 0 1 2", the stretch parting before the last three words.
{
  const { pairDistances, countClusters, listClusters } = siteScripts(['text_store.js', 'association.js', 'local_measures.js']);
  const ranks = Int32Array.from([0, 1, 0, 1, 2, 0, 1, 2]);
  const at = [0, 2, 5];
  const dist = pairDistances(ranks, at, 0, new Map());
  // Worked by hand: each 0 takes the 1 just after it (the first 0 no
  // second 1, the second 0 not the first 1, which is taken); the first 0
  // the 2 four after, the second the 2 five after; never 0 with itself.
  assert.deepEqual([...dist.keys()].sort(), [1, 2]);
  assert.deepEqual(Array.from(dist.get(1)), [0, 0, 0, 0, 0, 3, 0, 0, 0, 0]);
  assert.deepEqual(Array.from(dist.get(2)), [0, 0, 0, 0, 0, 0, 0, 0, 1, 1]);
  const counts = countClusters(ranks, at, [5], new Map());
  assert.equal(counts.get('0.1~0'), 3);
  assert.equal(counts.get('1.2~0'), undefined);  // the word 0 is not in it
  assert.equal(counts.get('2.0~1'), undefined);  // across the stretch's start
  assert.equal(counts.get('0.1.2~0'), 2);
  assert.deepEqual(listClusters(counts), [[3, 0, [0, 1]]]);
}
