// Fuzzes the search box's wildcard matcher (search_data.js) against the
// plain dynamic-programming one of glob_reference.mjs: random patterns of
// * and ? and words over a few letters (one outside the BMP, one that
// NFKD would change) for SECONDS, each word set inside a longer line as
// the look-up shards hold it. A disagreement is written to ARTIFACT.json
// and fails the run. Usage: node glob_fuzz.mjs SECONDS [ARTIFACT]
import fs from 'node:fs';
import { siteScripts } from './site_scripts.mjs';
import { globReference } from './glob_reference.mjs';

const seconds = Number(process.argv[2] || 10);
const artifact = process.argv[3] || 'glob-failure';
const { globMatcher } = siteScripts(['search_data.js']);
const alphabet = ['a', 'b', 'é', '𐐨', 'ﬁ'];
const pick = list => list[Math.floor(Math.random() * list.length)];
const stringOf = (parts, most) => Array.from({ length: Math.floor(Math.random() * (most + 1)) }, () => pick(parts)).join('');

let runs = 0;
for (const end = Date.now() + seconds * 1000; Date.now() < end;) {
  for (let i = 0; i < 1000; i++, runs++) {
    const pattern = stringOf([...alphabet, '*', '*', '?'], 10);
    const word = stringOf(alphabet, 14);
    const line = pick(['', 'x', '𐐨']) + '\t' + word + '\t' + pick(['', '1', '𐐨']);
    const from = line.indexOf('\t') + 1;
    const got = globMatcher(pattern)(line, from, from + word.length);
    if (got !== globReference(pattern, word)) {
      fs.writeFileSync(artifact + '.json', JSON.stringify({ pattern, word, line, got }) + '\n');
      console.error(`mismatch: ${JSON.stringify(pattern)} against ${JSON.stringify(word)}: matcher ${got}`);
      process.exit(1);
    }
  }
}
console.log('stat::number_of_executed_units: ' + runs);
