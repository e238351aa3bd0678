// The site's script keys words as the indexer does: for every code point
// that case mapping or a decomposition changes, and for words whose keys
// hang on more than one character, the keys that the indexer's own code
// (ICU) gives, written by velmor_key_table, must be what search_data.js
// gives. Usage: node keys_test.mjs PATH/velmor_key_table
import { execFileSync } from 'node:child_process';
import { siteScripts } from './site_scripts.mjs';

const table = execFileSync(process.argv[2], { encoding: 'utf8', maxBuffer: 1 << 28 })
  .split('\n').filter(Boolean).map(line => JSON.parse(line));
const { fold, searchKey } = siteScripts(['search_data.js']);

const hex = s => Array.from(s, c => c.codePointAt(0).toString(16).toUpperCase().padStart(4, '0')).join(' ');
const wrong = [];
for (const [word, key, search] of table) {
  // fold: the double-click's look-up; searchKey: what is typed, and the
  // search key the double-click finds the word's row by, from its key.
  for (const [what, got, want] of [['fold', fold(word), key], ['searchKey', searchKey(word), search],
    ['searchKey(key)', searchKey(key), search]])
    if (got !== want) wrong.push(`${what} ${word} [${hex(word)}]: script ${got} [${hex(got)}], indexer ${want} [${hex(want)}]`);
}
if (table.length < 5000) wrong.push('only ' + table.length + ' entries in the table');
if (wrong.length) {
  console.error(wrong.slice(0, 40).join('\n'));
  console.error(wrong.length + ' disagreements in ' + table.length + ' entries');
  process.exit(1);
}
console.log('the script keys all ' + table.length + ' entries as the indexer does');
