// The search box's wildcard patterns and the best rows it shows, with the
// site's own search_data.js over look-up data served from memory.
import assert from 'node:assert/strict';
import { siteScripts, lookupFiles } from './site_scripts.mjs';
import { globReference } from './glob_reference.mjs';

const velmor = siteScripts(['search_data.js']);

// The matcher: code points, not UTF-16 units; a part of a longer text.
{
  const cases = [
    ['*', '', true], ['?', '', false], ['?', 'é', true], ['??', '𐐨', false], ['?', '𐐨', true],
    ['*𐐨?', 'a𐐨𐐩', true], ['a*b', 'ab', true], ['a*b', 'abba', false], ['*a', 'baaa', true],
    ['*ab*ab', 'abcabab', true], ['a?c', 'abbc', false], ['**', 'x', true], ['*x*', 'abc', false],
    ['*a*a*a*a*a*b', 'a'.repeat(300), false], ['*a*c*g*t*x', 'acgt'.repeat(150), false],
    ['*a*c*g*t*x', 'acgt'.repeat(150) + 'x', true],
  ];
  for (const [pattern, word, want] of cases) {
    assert.equal(globReference(pattern, word), want, 'reference: ' + pattern + ' ' + word);
    const text = 'x\t' + word + '\ty';
    assert.equal(velmor.globMatcher(pattern)(text, 2, 2 + word.length), want, pattern + ' against ' + word);
  }
}

// Many words in shards of 7: the 50 shown are the 50 most frequent matches
// (ties by rank), as sorting them all would give, the total counts them
// all, whether a pattern begins with letters (read by prefix) or not.
{
  const letters = ['a', 'b', 'é', '𐐨'];
  let seed = 7;
  const random = n => ((seed = (Math.imul(seed, 1103515245) + 12345) >>> 0) >>> 16) % n;
  const words = new Set();
  while (words.size < 2000) words.add(Array.from({ length: 1 + random(6) }, () => letters[random(4)]).join(''));
  // and the words a backtracking RegExp took seconds over
  words.add('acgt'.repeat(150));
  words.add('a'.repeat(300));
  const rows = Array.from(words, (w, rank) => [w, '', '', rank, 1 + random(40)]);
  const site = siteScripts(['search_data.js'], lookupFiles(rows, 7, velmor.cmp));
  for (const pattern of ['*', '?????', 'a*', 'ab*b', '*é', '?𐐨*', 'é*a?', 'b*a*b*', 'zz*', '*z', '*a*c*g*t*x',
    '*a*a*a*a*a*b', 'a*a*a*a*a']) {
    const all = rows.filter(r => globReference(pattern, r[0]))
      .sort((a, b) => b[4] - a[4] || a[3] - b[3]);
    const { rows: got, total } = await site.matching(pattern, 50);
    assert.equal(total, all.length, pattern + ': total');
    assert.deepEqual(got.map(r => [r[0], r[3], r[4]]), all.slice(0, 50).map(r => [r[0], r[3], r[4]]), pattern);
    // What is typed is matched by its search key: "*É" as "*e".
    const typed = await site.offers(pattern.toUpperCase(), 50);
    const keyed = await site.matching(site.searchKey(pattern), 50);
    assert.deepEqual(typed.rows.map(r => r[3]), keyed.rows.map(r => r[3]), pattern + ': offers');
    assert.equal(typed.total, keyed.total);
  }
  // A beginning ranks every word it begins, however many shards they
  // fill (before, only the first 400 in key order: "a" missed "and"): the
  // word that is the beginning first, then by count; the total counts all.
  for (const prefix of ['a', 'ab', '𐐨a', 'bbbbbb', 'zz']) {
    const all = rows.filter(r => r[0].startsWith(prefix))
      .sort((a, b) => (b[0] === prefix) - (a[0] === prefix) || b[4] - a[4] || a[3] - b[3]);
    const { rows: got, total } = await site.offers(prefix, 50);
    assert.equal(total, all.length, prefix + ': total');
    assert.deepEqual(got.map(r => r[3]), all.slice(0, 50).map(r => r[3]), prefix + ': the most frequent');
  }
  assert.ok(rows.filter(r => r[0].startsWith('a')).length > 400, 'more words begin with a than were ranked before');
}

// What the index holds as several words is found by the word it leans on:
// the elided article apart (when the index has it as a word), a phrase by
// its first word; a note says what was done. Before, "l'utente" found
// nothing ("no word begins so").
{
  const words = [["l'", 40], ['utente', 12], ['utenti', 30], ["dell'", 5], ['arte', 3], ['nel', 9], ['mezzo', 2],
    ["don't", 4], ['lutente', 1]];
  const rows = words.map(([w, count], rank) => [velmor.searchKey(w), '', '', rank, count]);
  const site = siteScripts(['search_data.js'], lookupFiles(rows, 3, velmor.cmp));
  const cases = [
    ["l'utente", ['utente'], /2 words in the index \(l' \+ utente\)/],
    ['L\u2019ut', ['utenti', 'utente'], /words beginning \u201cut\u201d/],
    ["dell'arte", ['arte'], /dell' \+ arte/],
    ['nel mezzo', ['nel'], /2 words .*\(nel \+ mezzo\)/],
    ["don't", ["don't"], null],   // a word of the index as typed: no note
    ["qu'il", [], null],          // no qu' in this index: nothing split, nothing found
  ];
  for (const [typed, want, note] of cases) {
    const got = await site.offers(typed, 50);
    assert.deepEqual(got.rows.map(r => r[0]), want, typed);
    if (note) assert.match(got.note, note, typed);
    else assert.equal(got.note, undefined, typed);
  }
}

// A pattern too long to search says so, whatever it holds: before, a star
// and 100,000 letters made a RegExp too large to compile and left the
// list as it was.
for (const pattern of ['*' + 'a'.repeat(100000), '?'.repeat(101), '*'.repeat(50) + '𐐨'.repeat(51)])
  await assert.rejects(velmor.matching(pattern, 50),
    { name: 'RangeError', message: /at most 100 letters long; this one has [\d,]+$/ });
console.log('search patterns: all checks passed');
