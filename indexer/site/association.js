// The five association measures, as measures/association.h defines them
// (the formulas are there; association_cases.tsv holds the worked cases
// both sides are tested against), and a word's collocates ranked by one of
// them in the window the reader chose.
//
// What it reads, from an entry's COLLOCATES (site/formats.h):
//   [RANK, FREQUENCY, DIST, FORM]   DIST ten numbers in the store's digits:
//                                   the pairs with the collocate 5, 4 ... 1
//                                   words before the word, then 1 ... 5 after
//                                   (or those ten as an array, counted here:
//                                   local_measures.js)
'use strict';
(function () {
  const v = window.velmor || (window.velmor = {});

  // f(xy), f(x), f(y), N, w as in association.h.
  const expected = (x, y, n, w) => x * y * w / n;
  const term = (o, e) => (o > 0 && e > 0 ? o * Math.log(o / e) : 0);
  function logLikelihood(xy, x, y, n, w) {
    const o11 = xy, o12 = Math.max(w * x - xy, 0), o21 = Math.max(y - xy, 0), o22 = Math.max(n - w * x - y + xy, 0);
    const all = o11 + o12 + o21 + o22, r1 = o11 + o12, r2 = o21 + o22, c1 = o11 + o21, c2 = o12 + o22;
    const g2 = 2 * (term(o11, r1 * c1 / all) + term(o12, r1 * c2 / all) + term(o21, r2 * c1 / all) + term(o22, r2 * c2 / all));
    return o11 < r1 * c1 / all ? -g2 : g2;
  }
  const MEASURES = {
    logdice: { label: 'log-Dice', short: 'log-Dice', score: (xy, x, y) => 14 + Math.log2(2 * xy / (x + y)) },
    mi: { label: 'MI', short: 'MI', score: (xy, x, y, n, w) => Math.log2(xy / expected(x, y, n, w)) },
    mi3: { label: 'MI3', short: 'MI3', score: (xy, x, y, n, w) => Math.log2(xy * xy * xy / expected(x, y, n, w)) },
    t: { label: 't-score', short: 't-score', score: (xy, x, y, n, w) => (xy - expected(x, y, n, w)) / Math.sqrt(xy) },
    ll: { label: 'log-likelihood', short: 'LL', score: logLikelihood },
  };
  const REACH = window.velmorFormats.maxReach;  // DIST's distances on each side

  // The pairs within `left` words before and `right` after, from DIST.
  function together(dist, left, right) {
    let n = 0;
    for (let d = 1; d <= left; d++) n += dist[REACH - d];
    for (let d = 1; d <= right; d++) n += dist[REACH - 1 + d];
    return n;
  }

  // The collocates of a word of `frequency` occurrences in a corpus of
  // `tokens` words, as the reader set them: {left, right, measure,
  // minTogether, minFrequency, stop: a Set of folded forms or null}.
  // Returns [{rank, form, together, frequency, score}] best first, ties by
  // count, then rank, as the indexer breaks them.
  function rankCollocates(rows, frequency, tokens, s) {
    const w = s.left + s.right, score = MEASURES[s.measure].score, out = [];
    if (w === 0) return out;
    for (const [rank, f, code, form] of rows) {
      const dist = typeof code === 'string' ? window.velmorStore.numbers(code) : code;
      const xy = together(dist, s.left, s.right);
      if (xy === 0 || xy < s.minTogether || f < s.minFrequency) continue;
      if (s.stop && s.stop.has(form.toLowerCase())) continue;
      out.push({ rank, form, together: xy, frequency: f, score: score(xy, frequency, f, tokens, w) });
    }
    return out.sort((a, b) => b.score - a.score || b.together - a.together || a.rank - b.rank);
  }

  Object.assign(v, { MEASURES, rankCollocates });
})();
