// velmor.js's one binary search, which the entries' files, the words and
// lines of a text, the query's position files and the search box's shards
// all go through: against a plain scan. Run with `node --test`.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { siteScripts } from './site_scripts.mjs';

const { lastAtMost } = siteScripts([]);
const scan = (a, x) => { let k = -1; for (let i = 0; i < a.length; i++) if (a[i] <= x) k = i; return k; };

test('the last place at most x, ties to the last, -1 before the first', () => {
  const arrays = [[], [5], [0, 10, 20], [3, 3, 3], [1, 2, 2, 2, 9], Int32Array.from([0, 4, 4, 8])];
  for (const a of arrays)
    for (let x = -1; x <= 21; x++) assert.equal(lastAtMost(a, x), scan(a, x), `[${Array.from(a)}] ${x}`);
});

test('a comparison that counts equal as after finds the last strictly below', () => {
  const below = (a, b) => (a < b ? -1 : a > b ? 1 : 0) || 1;
  const cases = [[['b', 'd', 'd', 'f'], 'd', 0], [['b', 'd', 'f'], 'e', 1], [['b'], 'a', -1], [['b', 'd'], 'z', 1]];
  for (const [a, x, want] of cases) assert.equal(lastAtMost(a, x, below), want, `${a} ${x}`);
});
