// What the TSV exports hold, with the site's own tsv.js: text that a
// spreadsheet would run as a formula stays text, a quote cannot swallow
// the rows after it, no cell breaks a line, numbers stay numbers.
import assert from 'node:assert/strict';
import { siteScripts } from './site_scripts.mjs';

const { tsv, typedRows } = siteScripts(['tsv.js']);
// The cells of one row as written, without the byte order mark and CR LF.
const written = row => {
  const text = tsv([row]);
  assert.ok(text.startsWith('\ufeff') && text.endsWith('\r\n'));
  return text.slice(1, -2);
};

const cases = [
  // text: a leading ' where a spreadsheet would see a formula
  ['=HYPERLINK("http://x","y")', '"\'=HYPERLINK(""http://x"",""y"")"'],
  ['+cmd|\' /C calc\'!A0', '\'+cmd|\' /C calc\'!A0'],
  ['-2+3', "'-2+3"], ['@SUM(A1:A9)', "'@SUM(A1:A9)"], ['@home', "'@home"],
  ['\t=1+1', "' =1+1"], ['\r=1+1', "' =1+1"],
  ['a=b', 'a=b'], ['2-3', '2-3'], ["l'homme", "l'homme"],
  // a quote: RFC 4180's quoting, quotes doubled
  ['"Title', '"""Title"'], ['say "x"', '"say ""x"""'],
  // line and paragraph breaks and tabs: one blank
  ['a\r\nb', 'a b'], ['a\tb', 'a b'], ['a\u2028b\u2029c\u0085d', 'a b c d'], ['a\vb\fc', 'a b c'],
  // numbers the lists give: as numbers, no thousands separator, no '
  [4528, '4528'], [-1.25, '-1.25'], [1234567, '1234567'], [0, '0'],
];
for (const [value, want] of cases) assert.equal(written([value]), want, JSON.stringify(value));
assert.equal(tsv([['a', 1], ['=b', -2]]), '\ufeffa\t1\r\n\'=b\t-2\r\n');

// A table of the page saved as it stands: its number columns (by heading)
// as numbers, whatever a title in a text column looks like.
assert.deepEqual(typedRows([
  ['#', 'document', 'words', 'type/token', 'bytes'],
  ['1', '-2+3', '4,528', '0.452', '1,234,567'],
  ['', 'all documents', '4,528', '0.452', '1,234,567'],
]), [
  ['#', 'document', 'words', 'type/token', 'bytes'],
  [1, '-2+3', 4528, 0.452, 1234567],
  ['', 'all documents', 4528, 0.452, 1234567],
]);
assert.equal(written(typedRows([['n-gram', 'count'], ['=1+1 x', '1,234']])[1]), "'=1+1 x\t1234");
console.log('TSV cells: all checks passed');
