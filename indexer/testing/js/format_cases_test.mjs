// The browser's readers against site/format_cases.tsv, the worked examples
// that the indexer's writers are tested against too (format_cases_test.cc):
// what one side writes, the other reads back. Run with `node --test`.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { siteWindow } from './site_scripts.mjs';

const site = new URL('../../site/', import.meta.url);
const cases = fs.readFileSync(new URL('format_cases.tsv', site), 'utf8').split('\n')
  .filter(line => line && !line.startsWith('#'))
  .map(line => { const [kind, given, written, words] = line.split('\t'); return { kind, given, written, words }; });
const of = kind => cases.filter(c => c.kind === kind);
const { velmor, velmorStore: store } = siteWindow(['text_store.js', 'lines.js', 'query_parse.js', 'query.js']);
const pairs = text => text.trim().split(/\s+/).filter(Boolean).map(f => f.split(':').map(Number));
const unescape = text => text.replace(/\\(.)/g, (_, c) => (c === 'n' ? '\n' : c === 't' ? '\t' : c));

test('every kind of case is read', () => {
  assert.ok(velmor.F, 'VELMOR_FORMATS_JS names no formats.js (velmor_format_script writes it)');
  for (const kind of ['number', 'docs', 'positions', 'code', 'text_file', 'entry_page', 'key_shard', 'position_file'])
    assert.ok(of(kind).length > 0, kind);
});

test('numbers, DOCS and positions decode to what was written', () => {
  for (const c of of('number')) assert.deepEqual(store.numbers(c.written), [Number(c.given)], c.given);
  for (const c of of('docs')) assert.deepEqual(velmor.decodeDocs(c.written), pairs(c.given), c.given);
  for (const c of of('positions')) {
    const [sizes, occurrences = ''] = c.given.split('|');
    const starts = [0];
    for (const n of pairs(sizes)) starts.push(starts[starts.length - 1] + n[0]);
    assert.deepEqual(Array.from(velmor.decodePositions(c.written)), pairs(occurrences).map(([d, o]) => starts[d] + o), c.given);
  }
});

test('a document CODE decodes to its words where the text has them', () => {
  for (const c of of('code')) {
    const text = unescape(c.given);
    const tokens = store.decode(c.written, text), starts = store.starts(tokens);
    const words = Array.from(starts, (start, i) => [tokens[3 * i + 2], start, tokens[3 * i + 1]]);
    assert.deepEqual(words, pairs(c.words || ''), c.given);
  }
});

test('file names are the writers\'', () => {
  const { F, siteFile } = velmor;
  for (const c of of('text_file')) {
    const [doc, per] = pairs(c.given).flat();
    const one = siteWindow(['text_store.js'], {}, site, { perFolder: String(per) });
    assert.equal(one.velmorStore.fileOf(doc + 1), c.written, c.given);
  }
  for (const c of of('entry_page')) assert.equal(siteFile(F.entryPage, Number(c.given)), c.written);
  for (const c of of('key_shard')) assert.equal(siteFile(F.keyShard, Number(c.given)), c.written);
  for (const c of of('position_file')) assert.equal(siteFile(F.positionFile, Number(c.given)), c.written);
});
