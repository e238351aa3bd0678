// The query line (query_parse.js, query.js): its parser, its guard on regular
// expressions, the positions' decoder and the matcher, in node over data
// held in memory. Run with `node --test`.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { siteScripts, lookupFiles } from './site_scripts.mjs';

const velmor = siteScripts(['search_data.js', 'text_store.js', 'query_parse.js', 'query.js']);

test('the parser reads words, patterns, choices and gaps', () => {
  const cases = [
    ['strong tea', [{ words: [{ word: 'strong' }] }, { words: [{ word: 'tea' }] }]],
    ['"strong" "tea"', [{ words: [{ regex: 'strong' }] }, { words: [{ regex: 'tea' }] }]],
    ['[word="colo.*r"]', [{ words: [{ regex: 'colo.*r' }] }]],
    ['[ word = "a" ]', [{ words: [{ regex: 'a' }] }]],
    ['"in" [] "case"', [{ words: [{ regex: 'in' }] }, { gap: [1, 1] }, { words: [{ regex: 'case' }] }]],
    ['a []{0,2} b', [{ words: [{ word: 'a' }] }, { gap: [0, 2] }, { words: [{ word: 'b' }] }]],
    ['a []{3} []? b', [{ words: [{ word: 'a' }] }, { gap: [3, 3] }, { gap: [0, 1] }, { words: [{ word: 'b' }] }]],
    ['("a"|the | [word="an"]) tea', [{ words: [{ regex: 'a' }, { word: 'the' }, { regex: 'an' }] }, { words: [{ word: 'tea' }] }]],
    ["l'eau colo*r", [{ words: [{ word: "l'eau" }] }, { words: [{ word: 'colo*r' }] }]],
  ];
  for (const [text, want] of cases) assert.deepEqual(velmor.parse(text), want, text);
});

test('bad queries are refused with a message that says why', () => {
  const cases = [
    ['', /empty/], ['   ', /empty/],
    ['"tea', /quote .* at 1 is not closed/], ['strong "tea', /at 8 is not closed/],
    ['""', /holds no pattern/],
    ['[word="a"', /not closed by \]/], ['[lemma="a"]', /\[\] or \[word=/], ['[word=a]', /quoted pattern/],
    ['("a"|"b"', /not closed/], ['("a" "b")', /parted by \|/], ['a ) b', /nothing to belong to/],
    ['[] a', /not first or last/], ['a []', /not first or last/], ['a []{3,1} b', /smaller number first/],
    ['a []{0,11} b', /from 0 to 10/], ['"very"+ tea', /only \[\] repeats/], ['("a"|"b"){2} c', /only \[\] repeats/],
    ['"colo(u"', /not a regular expression/], ['"[a-"', /not a regular expression/],
    ['a'.repeat(301), /300 characters/], [Array(11).fill('a').join(' '), /at most 10 words/],
  ];
  for (const [text, message] of cases)
    assert.throws(() => velmor.parse(text), e => e instanceof velmor.QueryError && message.test(e.message), text);
});

test('a regular expression that could backtrack without end is refused', () => {
  const refused = ['(a+)+', '(a|aa)*', '(x(a*))+b', '(a|b){2,5}', '(a)\\1', '(?=a)a', '(?<!a)b', 'a*b*c*d*',
    'a{0,100}', '\\k<x>'];
  for (const source of refused) assert.throws(() => velmor.checkRegex(source), velmor.QueryError, source);
  const taken = ['colou?r', '(ed|ing)?', 'a.*b.*c', '[(+*]+x', '\\p{Lu}+', '(ab)+', 'x{2,50}', '\\(a+\\)+'];
  for (const source of taken) assert.doesNotThrow(() => velmor.checkRegex(source), source);
  // Escapes stay as written, letters lose accents and case.
  assert.equal(velmor.foldPattern('Über\\W\\p{Lu}É'), 'uber\\W\\p{Lu}e');
  assert.equal(velmor.foldPattern('Über\\W', true), 'über\\W');
});

// The writer's own cases (site/positions_test.cc), read back.
test('positions decode as the indexer writes them', () => {
  const cases = [['', []], ['#', [0]], ['#$', [0, 2]], ['###', [0, 1, 2]], ['2', [15]], ['&R$', [3, 50]], ['[%', [100]], ['&>', [3, 30]]];
  for (const [code, places] of cases) assert.deepEqual(Array.from(velmor.decodePositions(code)), places, code);
});

// Documents as rank sequences, one after the other; an element's places
// are where its ranks stand.
function placesOf(sequences, ranks) {
  const all = sequences.flat();
  return velmor.merge(ranks, ranks.map(rank => Float64Array.from(all.flatMap((r, i) => (r === rank ? [i] : [])))));
}
const startsOf = sequences => sequences.reduce((s, seq) => s.concat(s[s.length - 1] + seq.length), [0]);
const hitsOf = h => h.docs.map((d, i) => [d, h.starts[i], h.lengths[i]]);

test('the matcher finds every start, the shortest hit from each, never across documents', () => {
  const docs = [[1, 2, 1, 2, 2], [2, 1, 3, 3, 2], [1, 1, 1], [3, 2], [1], [2]];
  const w = (...ranks) => ({ words: ranks }), gap = (min, max) => ({ gap: [min, max] });
  const cases = [
    // [elements, hits as [doc, start, length]]
    [[w(1), w(2)], [[0, 0, 2], [0, 2, 2]]],                          // not 1 | 2 across documents 4 and 5
    [[w(1), w(1)], [[2, 0, 2], [2, 1, 2]]],                          // hits may overlap
    [[w(1), gap(0, 2), w(2)], [[0, 0, 2], [0, 2, 2], [1, 1, 4]]],    // shortest: 1 2, not 1 2 1 2
    [[w(1), gap(1, 1), w(2)], [[0, 2, 3]]],
    [[w(1), gap(0, 3), w(3)], [[1, 1, 2]]],                          // not from document 0 into 1
    [[w(1, 3), w(2)], [[0, 0, 2], [0, 2, 2], [1, 3, 2], [3, 0, 2]]],
    [[w(2), w(3)], []],
    [[w(3)], [[1, 2, 1], [1, 3, 1], [3, 0, 1]]],
  ];
  for (const [elements, want] of cases) {
    const places = elements.map(e => (e.gap ? null : placesOf(docs, e.words)));
    assert.deepEqual(hitsOf(velmor.match(elements, places, startsOf(docs))), want, JSON.stringify(elements));
  }
  // The ranks of a hit's named words, for sorting by the hit.
  const two = velmor.match([w(1, 3), w(2)], [placesOf(docs, [1, 3]), placesOf(docs, [2])], startsOf(docs));
  assert.deepEqual(two.keys, [[1, 2], [1, 2], [3, 2], [3, 2]]);
});

test('a query runs from the look-up data and the positions to its hits', async () => {
  const rows = ['case', 'in', 'strong', 'tea', 'the'].map((w, rank) => [w, '', '', rank, 2]);
  const files = lookupFiles(rows, 2, velmor.cmp);
  files['query/files.js'] = [0, 3];
  files['lookup/sizes.js'] = [3, 4, 3];
  files['query/p_0000.js'] = [')%', '($', '$$'];
  files['query/p_0001.js'] = ['%$', '#*'];
  const site = siteScripts(['search_data.js', 'text_store.js', 'query_parse.js', 'query.js'], files);
  const cases = [
    ['strong tea', [[0, 1, 2], [1, 0, 2]]], ['STRONG Tëa', [[0, 1, 2], [1, 0, 2]]],
    ['"in" [] "case"', [[2, 0, 3]]], ['in []? case', [[1, 2, 2], [2, 0, 3]]],
    ['("the"|"strong") tea', [[0, 1, 2], [1, 0, 2]]], ['"t.*"', [[0, 0, 1], [0, 2, 1], [1, 1, 1], [2, 1, 1]]],
    ['t?? case', [[2, 1, 2]]], ['tea case', []],
  ];
  for (const [text, want] of cases) assert.deepEqual(hitsOf((await site.runQuery(text, false)).hits), want, text);
  assert.equal((await site.runQuery('strong coffee', false)).missing, 'coffee');
  assert.equal((await site.runQuery('tëa', true)).missing, 'tëa');
  assert.deepEqual(hitsOf((await site.runQuery('"STRONG" "T.a"', true)).hits), [[0, 1, 2], [1, 0, 2]]);
  // A regular expression is not tried on a word past MAX_REGEX_WORD
  // letters: ".*.*.*q" took ten seconds over one of 3,000.
  const long = 'a'.repeat(3000);
  const longFiles = lookupFiles([[long, '', '', 0, 1]], 2, velmor.cmp);
  longFiles['query/files.js'] = [0];
  longFiles['lookup/sizes.js'] = [3000];
  const longSite = siteScripts(['search_data.js', 'text_store.js', 'query_parse.js', 'query.js'], longFiles);
  assert.equal((await longSite.runQuery('"a+"', false)).missing, '"a+"');
  assert.equal((await longSite.runQuery('"a.*.*.*q"', false)).missing, '"a.*.*.*q"');
  assert.equal((await site.runQuery('"strong" "tëa"', true)).missing, '"tëa"');
});
