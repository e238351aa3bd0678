// velmor.js's one binary search (lastAtMost, a comparison passed in) against
// the loop each script wrote inline before it, on a document's word starts:
// the search a double-click or a line's address makes. Both in turns,
// round after round; medians of the rounds.
// Usage: node indexer/bench/last_at_most_bench.mjs [WORDS] [ROUNDS]
import { siteScripts } from '../testing/js/site_scripts.mjs';

const words = Number(process.argv[2]) || 100000, rounds = Number(process.argv[3]) || 9;
const { lastAtMost } = siteScripts([]);
const starts = Int32Array.from({ length: words }, (_, i) => 6 * i);
const probes = Int32Array.from({ length: 1 << 20 }, (_, i) => (i * 2654435761) % (6 * words));

function inline(a, at) {  // the loop of velmor.js's wordAt on main
  let lo = 0, hi = a.length - 1;
  while (lo < hi) { const mid = (lo + hi + 1) >> 1; if (a[mid] <= at) lo = mid; else hi = mid - 1; }
  return lo;
}
const contenders = { inline, lastAtMost };
const times = { inline: [], lastAtMost: [] };
let check = 0;
for (let r = 0; r < rounds; r++)
  for (const [name, find] of Object.entries(contenders)) {
    const t = process.hrtime.bigint();
    for (const p of probes) check += find(starts, p);
    times[name].push(Number(process.hrtime.bigint() - t) / 1e6);
  }
const median = a => a.slice().sort((x, y) => x - y)[a.length >> 1];
for (const [name, t] of Object.entries(times))
  console.log(`${name.padEnd(10)} ${median(t).toFixed(1)} ms for ${probes.length} look-ups in ${words} words`);
if (check < 0) console.log(check);
