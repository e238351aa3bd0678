// The query line's matcher (query_parse.js reads the line), over the
// positions of query/ (site/formats.h; read it there, this mirrors it; the
// names and callbacks are formats.js's F.positionStarts and F.positionFile):
//   query/files.js     ([FIRST, ...])  the first rank of each p_NNNN.js,
//                      from p_0000.js on
//   query/p_NNNN.js    (N, [CODE, ...])  one CODE per rank
//                      from the file's FIRST on, in the store's digits: each
//                      occurrence's place among all the corpus's words (the
//                      words of the documents before it, lookup/sizes.js,
//                      plus its ordinal), the first as it is and each next
//                      less the one before less 1.
'use strict';
(function () {
  const velmor = window.velmor;
  const { F, siteFile, lastAtMost } = velmor;
  const { QueryError, parse, regexOf, MAX_ELEMENTS, MAX_WORDS } = velmor;
  const fail = text => { throw new QueryError(text); };

  // --- Positions ---------------------------------------------------------

  // One word's CODE as its places, ascending.
  function decodePositions(code) {
    const n = window.velmorStore.numbers(code);
    const out = new Float64Array(n.length);
    for (let i = 0, next = 0; i < n.length; i++) next = (out[i] = next + n[i]) + 1;
    return out;
  }

  // Where each document starts among all the words, one more at the end.
  async function documentStarts() {
    const sizes = await velmor.load(F.documentSizes.start, F.documentSizes.callback);
    const starts = new Float64Array(sizes.length + 1);
    sizes.forEach((n, d) => { starts[d + 1] = starts[d] + n; });
    return starts;
  }

  const positionFiles = () => velmor.load(F.positionStarts.start, F.positionStarts.callback);
  async function positionsOf(rank) {
    const firsts = await positionFiles();
    const file = Math.max(lastAtMost(firsts, rank), 0), name = siteFile(F.positionFile, file);
    const codes = await velmor.load(name, F.positionFile.callback, file);
    const code = codes[rank - firsts[file]];
    if (code === undefined) throw new Error('no positions for word ' + rank + ' in ' + name);
    return decodePositions(code);
  }

  // An element's places over the words it stands for, ascending, with the
  // rank at each (ranks null when it stands for one word, rank).
  function merge(ranks, lists) {
    if (lists.length === 1) return { places: lists[0], rank: ranks[0], ranks: null };
    let total = 0;
    for (const l of lists) total += l.length;
    const all = new Float64Array(total), from = new Int32Array(total);
    let at = 0;
    lists.forEach((l, w) => { all.set(l, at); from.fill(ranks[w], at, at + l.length); at += l.length; });
    const order = Array.from({ length: total }, (_, i) => i).sort((a, b) => all[a] - all[b]);
    return { places: Float64Array.from(order, i => all[i]), ranks: Int32Array.from(order, i => from[i]), rank: -1 };
  }
  const rankAt = (e, k) => (e.ranks ? e.ranks[k] : e.rank);
  // Places are distinct: no two occurrences stand at one place.
  function indexOf(places, place) {
    const k = lastAtMost(places, place);
    return k >= 0 && places[k] === place ? k : -1;
  }

  // The hits of `elements`, whose word elements have the places `places`
  // (merge(); null for a gap), with `starts` the documents' starts:
  // {docs, starts, lengths, keys}, one entry per hit, in text order; starts
  // are ordinals within the document. A hit starts at each place of the
  // first word that the rest follows within its document, and is the
  // shortest that does. keys[h] holds the ranks of the words the elements
  // name (not those of the gaps); it is null when every element names one
  // word, and all hits are alike.
  function match(elements, places, starts) {
    const docs = [], begins = [], lengths = [], keys = [];
    const same = places.every(p => !p || !p.ranks);
    const first = places[0].places;
    let doc = 0;
    for (let k = 0; k < first.length; k++) {
      const p = first[k];
      while (starts[doc + 1] <= p) doc++;
      const end = starts[doc + 1];
      // At each step: [next place, ranks so far] for each way still open.
      let ways = [[p + 1, same ? null : [rankAt(places[0], k)]]];
      for (let e = 1; e < elements.length && ways.length; e++) {
        const next = [];
        if (elements[e].gap) {
          const [min, max] = elements[e].gap;
          const seen = new Set();
          for (const [at, ranks] of ways)
            for (let g = min; g <= max && at + g < end; g++)
              if (!seen.has(at + g)) { seen.add(at + g); next.push([at + g, ranks]); }
          next.sort((a, b) => a[0] - b[0]);
        } else {
          for (const [at, ranks] of ways) {
            const j = at < end ? indexOf(places[e].places, at) : -1;
            if (j >= 0) next.push([at + 1, same ? null : ranks.concat(rankAt(places[e], j))]);
          }
        }
        ways = next;
      }
      if (!ways.length) continue;
      docs.push(doc);
      begins.push(p - starts[doc]);
      lengths.push(ways[0][0] - p);
      if (!same) keys.push(ways[0][1]);
    }
    return { docs, starts: begins, lengths, keys: same ? null : keys };
  }

  // --- From text to hits -------------------------------------------------

  // The ranks and counts of the words one alternative stands for.
  async function wordsOf(w, exact) {
    if (w.regex !== undefined) {
      const re = regexOf(w.regex, exact);
      return velmor.rowsWhere(word => word.length <= velmor.MAX_REGEX_WORD && re.test(word), exact);
    }
    if (/[*?]/.test(w.word)) {
      if (exact) fail('* and ? are wildcards of the accent-blind search: for an exact pattern write "' + w.word.replace(/\*/g, '.*').replace(/\?/g, '.') + '"');
      const length = Array.from(w.word).length;
      if (length > 100) fail('a pattern can be at most 100 letters long');
      return (await velmor.matching(velmor.searchKey(w.word), Infinity)).rows;
    }
    const want = exact ? velmor.fold(w.word) : velmor.searchKey(w.word);
    const rows = await velmor.withPrefix(velmor.searchKey(w.word), Infinity, true);
    return exact ? rows.filter(r => velmor.rowKey(r) === want) : rows;
  }

  // Bare words as the indexer cuts them: "l'eau" is two words, "tea," one.
  async function expand(elements) {
    const out = [];
    for (const e of elements) {
      if (e.gap || e.words.length > 1 || e.words[0].word === undefined || /[*?]/.test(e.words[0].word)) { out.push(e); continue; }
      const parts = await velmor.indexWords(e.words[0].word);
      if (!parts.length) fail('“' + e.words[0].word + '” holds no word of the index');
      for (const p of parts) out.push({ words: [{ word: p }] });
    }
    if (out.length > MAX_ELEMENTS) fail('a query may hold at most ' + MAX_ELEMENTS + ' words');
    return out;
  }

  // Everything the query page shows of a query: {elements, hits, words}
  // with words[e] the rows each word element stands for; `progress`
  // hears what is being read.
  // `only.wordsOnly` stops before the positions are read (the bench reads
  // the text stores instead).
  async function run(text, exact, progress, only) {
    const elements = await expand(parse(text));
    const words = [];
    for (const e of elements) {
      if (e.gap) { words.push(null); continue; }
      const rows = [];
      for (const w of e.words) rows.push(...await wordsOf(w, exact));
      const ranks = Array.from(new Set(rows.map(r => r[velmor.RANK]))).sort((a, b) => a - b);
      const label = e.words.map(w => (w.regex !== undefined ? '"' + w.regex + '"' : w.word)).join('|');
      if (!ranks.length) return { elements, words, hits: null, missing: label };
      if (ranks.length > MAX_WORDS)
        fail(label + ' stands for ' + velmor.fmt(ranks.length) + ' words; one word of a query may stand for ' + velmor.fmt(MAX_WORDS) + ' at most');
      words.push(ranks);
    }
    if (only && only.wordsOnly) return { elements, words };
    const places = [];
    for (let e = 0; e < elements.length; e++) {
      if (!words[e]) { places.push(null); continue; }
      if (progress) progress('reading where ' + velmor.fmt(words[e].length) + (words[e].length > 1 ? ' words stand' : ' word stands'));
      places.push(merge(words[e], await Promise.all(words[e].map(positionsOf))));
    }
    return { elements, words, hits: match(elements, places, await documentStarts()) };
  }

  Object.assign(velmor, { decodePositions, documentStarts, merge, match, runQuery: run });
})();
