// The names saved files get (velmor.js fileName), from words and titles
// that no disk would take as they are: each must be a name FAT32 and
// exFAT keep as it is, and say what it holds where it can.
import assert from 'node:assert/strict';
import { siteScripts } from './site_scripts.mjs';

const { fileName } = siteScripts([]);

const cases = [
  ['lines_Straße', 'lines_Straße.tsv'],
  ['collocates_δρόμος', 'collocates_δρόμος.tsv'],
  ['lines_東京', 'lines_東京.tsv'],
  ['lines_a.out', 'lines_a.out.tsv'],
  ['words_by_frequency', 'words_by_frequency.tsv'],
  // what FAT forbids or Windows reads as a path, a device or a stream
  ['lines_a:b*c?d"e<f>g|h\\i/j', 'lines_a_b_c_d_e_f_g_h_i_j.tsv'],
  ['lines_\u0000\u0007\t\r\n\u007f', 'lines__.tsv'],
  ['CON', '_CON.tsv'], ['con.txt', '_con.txt.tsv'], ['Lpt9', '_Lpt9.tsv'], ['COM\u00b9', '_COM\u00b9.tsv'],
  ['nul ', 'nul_.tsv'], ['CONSOLE', 'CONSOLE.tsv'], ['lines_CON', 'lines_CON.tsv'],
  // dots and blanks at the ends, which Windows drops, and nothing at all
  ['...', 'list.tsv'], ['', 'list.tsv'], ['  ', '_.tsv'], ['.hidden.', 'hidden.tsv'], ['end. ', 'end._.tsv'],
  // decomposed letters as one: what the disk stores
  ['e\u0301te\u0301', '\u00e9t\u00e9.tsv'],
];
for (const [stem, want] of cases) assert.equal(fileName(stem, '.tsv'), want, JSON.stringify(stem));

// Long words: within 120 UTF-16 units, never half a surrogate pair, no
// dot left at the cut.
for (const stem of ['lines_' + 'a'.repeat(300), 'lines_' + '𝒳'.repeat(200), 'x'.repeat(115) + '.....b']) {
  const name = fileName(stem, '.tsv');
  assert.ok(name.length <= 120, name.length);
  assert.ok(name.isWellFormed(), 'a whole character at the cut');
  assert.ok(!/\.\.tsv$/.test(name) && name.endsWith('.tsv'), name);
}
console.log('file names: ' + cases.length + ' cases and 3 long words passed');
