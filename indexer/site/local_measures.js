// Collocates and clusters of a word the indexer wrote none for (a rarer
// word: the entries hold them only for the most frequent, to keep the
// site small), counted here from the stored documents its lines already
// load, the same way measures/collocates.cc and clusters.cc count them:
//   collocates  each occurrence of the word, in text order, paired with
//               the first occurrence of each other word within 5 before
//               and 5 after that no occurrence paired before; the pairs
//               by distance, as the entry's DIST (association.js ranks them)
//   clusters    runs of 2 to 4 words with the word at any place, within
//               one stretch (text_store.js's stretches: a sentence, a
//               block), at least 3 times; most frequent first, then longer
// The collocates' frequencies and the words' forms come from the word
// list (search_data.js's everyRow), read once.
'use strict';
(function () {
  const v = window.velmor;
  const F = window.velmorFormats;  // formats.js: the entries' reach, least count and list size
  const REACH = F.maxReach, MIN_CLUSTER = F.clusterMinCount, CLUSTERS = F.clusterLimit;

  // One document's pairs: `ranks` its words, `at` the word's places
  // (ascending); adds to `dist`, a Map of rank -> ten counts.
  function pairDistances(ranks, at, rank, dist) {
    let claims = [];  // [place, rank, by]
    at.forEach((o, k) => {
      const from = Math.max(0, o - REACH), to = Math.min(ranks.length - 1, o + REACH);
      claims = claims.filter(c => c[0] >= from);
      for (let p = from; p <= to; p++) {
        const other = ranks[p];
        if (other === rank || claims.some(c => c[0] === p || (c[2] === k && c[1] === other))) continue;
        claims.push([p, other, k]);
        if (!dist.has(other)) dist.set(other, new Int32Array(2 * REACH));
        dist.get(other)[p < o ? REACH - (o - p) : REACH - 1 + (p - o)]++;
      }
    });
    return dist;
  }

  // One document's clusters: adds to `counts`, "r1.r2.r3~at" -> count.
  function countClusters(ranks, at, stretches, counts) {
    let s = 0;  // the stretches begun by each occurrence's place
    for (const o of at) {
      while (s < stretches.length && stretches[s] <= o) s++;
      const begin = s ? stretches[s - 1] : 0, end = s < stretches.length ? stretches[s] : ranks.length;
      for (let size = 2; size <= 4; size++)
        for (let place = 0; place < size; place++) {
          const first = o - place;
          if (first < begin || first + size > end) continue;
          const key = Array.from(ranks.subarray(first, first + size)).join('.') + '~' + place;
          counts.set(key, (counts.get(key) || 0) + 1);
        }
    }
    return counts;
  }

  const lessCluster = (a, b) => b[0] - a[0] || b[2].length - a[2].length || a[1] - b[1] ||
    a[2].join('.').localeCompare(b[2].join('.'), 'en', { numeric: true });
  // [[COUNT, AT, [RANK, ...]], ...] as the entries' CLUSTERS, without TEXT.
  function listClusters(counts) {
    const out = [];
    for (const [key, n] of counts) {
      if (n < MIN_CLUSTER) continue;
      const [ranks, at] = key.split('~');
      out.push([n, Number(at), ranks.split('.').map(Number)]);
    }
    return out.sort(lessCluster).slice(0, CLUSTERS);
  }

  let words = null;  // rank -> [form, count], from the word list
  function wordTable() {
    if (!words) words = v.everyRow().then(rows => {
      const m = new Map();
      for (const r of rows) m.set(Number(r[v.RANK]), [r[2] || r[1] || r[0], Number(r[v.COUNT])]);
      return m;
    });
    return words;
  }

  // What an entry's COLLOCATES and CLUSTERS would hold, for `lines` (a
  // lines.js Lines): [collocates, clusters].
  async function localMeasures(lines) {
    const dist = new Map(), counts = new Map();
    const state = await lines.scan(null, 0);
    const byDoc = new Map();
    for (const [doc, tok] of state.lines) (byDoc.get(doc) || byDoc.set(doc, []).get(doc)).push(tok);
    for (const [doc, at] of byDoc) {
      const s = await lines.store(doc);
      const ranks = new Int32Array(s.tokens.length / 3);
      for (let i = 0; i < ranks.length; i++) ranks[i] = s.tokens[3 * i + 2];
      pairDistances(ranks, at, lines.rank, dist);
      countClusters(ranks, at, s.stretches || [], counts);
    }
    const table = await wordTable();
    const known = r => table.get(r) || ['#' + r, 1];
    const collocates = [...dist].map(([r, d]) => [r, known(r)[1], d, known(r)[0]]);
    const clusters = listClusters(counts).map(c => c.concat(c[2].map(r => known(r)[0]).join(' ')));
    return [collocates, clusters];
  }

  Object.assign(v, { pairDistances, countClusters, listClusters, localMeasures });
})();
