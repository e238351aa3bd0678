// The search box's answer to wildcard patterns and beginnings over many distinct words:
// this checkout's search_data.js against another (BASE, e.g. an older
// one from git), in node over the same look-up data held in memory, each
// pattern timed for both in turns, round after round; medians.
// Usage: node search_bench.mjs BASE_DIR [WORDS] [ROUNDS]
//   BASE_DIR holds the other velmor.js and search_data.js, e.g.
//   git archive 9740c52 indexer/site | tar -x -C /tmp/base
//   VELMOR_FORMATS_JS=build/indexer/site/formats.js \
//     node search_bench.mjs /tmp/base/indexer/site 3000000 5
import { pathToFileURL } from 'node:url';
import path from 'node:path';
import { siteScripts } from './site_scripts.mjs';

const base = pathToFileURL(path.resolve(process.argv[2]) + '/');
const words = Number(process.argv[3] || 3000000);
const rounds = Number(process.argv[4] || 5);
const SHARD = 16000;  // rows a shard, as the indexer writes them

// Distinct words of 3 to 12 letters, Zipf-like counts, built as the
// indexer's shards: by search key, each line SEARCH\t\t\tRANK\tCOUNT.
let seed = 1;
const random = n => ((seed = (Math.imul(seed, 1103515245) + 12345) >>> 0) >>> 8) % n;
const letters = 'aeioubcdfghklmnprstvzšč';
const seen = new Set();
while (seen.size < words) {
  let w = '';
  for (let n = 3 + random(10); n > 0; n--) w += letters[random(letters.length)];
  seen.add(w);
}
const keys = Array.from(seen).sort();  // these letters sort alike by code unit and code point
const files = { 'lookup/keys.js': [] };
for (let n = 0; n * SHARD < keys.length; n++) {
  const part = keys.slice(n * SHARD, (n + 1) * SHARD);
  files['lookup/keys.js'].push(part[0]);
  files['lookup/k_' + String(n).padStart(4, '0') + '.js'] =
    part.map((k, i) => k + '\t\t\t' + (n * SHARD + i) + '\t' + (1 + Math.floor(1e6 / (1 + random(words)))) + '\n').join('');
}
const contenders = { base: siteScripts(['search_data.js'], files, base), this: siteScripts(['search_data.js'], files) };

const patterns = ['*', '?????', '*ung', 'ka*', '*a*e*i*o*u', 'a', 'ka', 'kar'];
const times = {};
for (let r = 0; r < rounds; r++) {
  for (const p of patterns) {
    const order = Object.entries(contenders);
    for (const [name, velmor] of r % 2 ? order.reverse() : order) {
      const start = process.hrtime.bigint();
      const found = await velmor.offers(p, 50);
      const ms = Number(process.hrtime.bigint() - start) / 1e6;
      const rows = Array.isArray(found) ? found : found.rows;  // before: the rows alone
      (times[p + '|' + name] ||= []).push(ms);
      if (r === 0 && name === 'this') console.log(`${p}: ${found.total} match, showing ${rows.length}`);
    }
  }
}
const median = list => list.slice().sort((a, b) => a - b)[list.length >> 1];
console.log(`${words} words, ${rounds} rounds, median ms`);
console.log('pattern'.padEnd(14) + 'base'.padStart(10) + 'this'.padStart(10));
for (const p of patterns)
  console.log(p.padEnd(14) + median(times[p + '|base']).toFixed(0).padStart(10) + median(times[p + '|this']).toFixed(0).padStart(10));
