// The lines of a word, cut from the documents' stored text
// (text_store.js): where its occurrences are (the DOCS of its entry's data,
// site/formats.h), each line's text and address, and the filters that keep
// the lines with a collocate or in a cluster. Each document is read only
// when one of its lines is wanted. What it reads (site/formats.h):
//   DOCS of i_NNN.htm   per document: 2*gap+more, then count-2 when more, in
//                       the store's digits; gap = documents passed over since
//                       the last
//   lookup/docs.js      ([title of each document]): F.documentTitles
'use strict';
(function () {
  const { F, fmt, pad, load, lastAtMost } = window.velmor;
  const CONTEXT = 60;  // UTF-16 units of context on each side

  // lookup/docs.js: every document's title; rows drawn before it is read
  // show the document's number.
  let titlesNow = null;
  const docTitles = () => load(F.documentTitles.start, F.documentTitles.callback).then(t => (titlesNow = t));
  const docName = (titles, doc) => (titles && titles[doc] !== undefined ? titles[doc] : 'document ' + fmt(doc + 1));
  const titles = () => titlesNow;
  const pageHref = doc => F.viewerAddress + (doc + 1);

  // DOCS: [[doc, count], ...]
  function decodeDocs(code) {
    const n = window.velmorStore.numbers(code);
    const out = [];
    for (let i = 0, doc = -1; i < n.length; i++) {
      doc += 1 + (n[i] >> 1);
      out.push([doc, n[i] & 1 ? n[++i] + 2 : 1]);
    }
    return out;
  }

  // The lines of one word: found in each document's stored words by rank.
  class Lines {
    constructor(rank, docs, window) {
      this.rank = rank;
      this.docs = docs;
      this.window = window;
      this.total = docs.reduce((s, d) => s + d[1], 0);
      this.found = new Map();  // doc -> Int32Array of the word's token indices
    }
    async store(doc) { return window.velmorStore.load(doc + 1); }
    async at(doc) {
      if (this.found.has(doc)) return this.found.get(doc);
      const s = await this.store(doc);
      const t = s.tokens, out = [];
      for (let i = 0, n = t.length / 3; i < n; i++) if (t[3 * i + 2] === this.rank) out.push(i);
      const a = Int32Array.from(out);
      this.found.set(doc, a);
      return a;
    }
    // The lines [from, to) in text order, without a filter: only the
    // documents that hold them are read.
    async slice(from, to) {
      const wanted = [];
      let seen = 0;
      for (const [doc, count] of this.docs) {
        if (seen + count > from && seen < to)
          wanted.push([doc, Math.max(0, from - seen), Math.min(count, to - seen)]);
        seen += count;
        if (seen >= to) break;
      }
      const parts = await Promise.all(wanted.map(async ([doc, a, b]) => {
        const at = await this.at(doc);
        return Array.from(at.subarray(a, b), tok => [doc, tok]);
      }));
      return parts.flat();
    }
    // Every line, or those that pass `keep`, read document by document;
    // `until` stops early once enough are found, `progress` hears of each,
    // `key` gives each line its sort key while its document is at hand.
    async scan(keep, until, progress, state, key) {
      state = state || { next: 0, lines: [] };
      while (state.next < this.docs.length && !(until && state.lines.length >= until)) {
        // A few documents at once, so the reading overlaps.
        const batch = this.docs.slice(state.next, state.next + 8);
        const got = await Promise.all(batch.map(async ([doc]) => [doc, await this.at(doc), await this.store(doc)]));
        for (const [doc, at, s] of got)
          for (const tok of at)
            if (!keep || keep(s.tokens, tok, s)) state.lines.push(key ? [doc, tok, key(s.tokens, tok)] : [doc, tok]);
        state.next += batch.length;
        if (progress) progress(state.next, this.docs.length);
      }
      state.done = state.next >= this.docs.length;
      return state;
    }
  }

  const ranksAt = (tokens, i) => tokens[3 * i + 2];
  function collocateFilter(rank, [left, right]) {
    return (tokens, i) => {
      const n = tokens.length / 3;
      for (let j = Math.max(0, i - left); j <= Math.min(n - 1, i + right); j++)
        if (j !== i && ranksAt(tokens, j) === rank) return true;
      return false;
    };
  }
  // A cluster stays within a stretch (a sentence, a block), as counted.
  function clusterFilter(ranks, at) {
    return (tokens, i, s) => {
      const first = i - at, n = tokens.length / 3;
      if (first < 0 || first + ranks.length > n) return false;
      const parts = s && s.stretches;
      if (parts && parts.length) {
        const next = lastAtMost(parts, first) + 1;  // the first stretch begun past `first`
        if (next < parts.length && parts[next] < first + ranks.length) return false;
      }
      for (let k = 0; k < ranks.length; k++) if (ranksAt(tokens, first + k) !== ranks[k]) return false;
      return true;
    };
  }

  // A line's text: [left, word, right, where left starts in the text]. The
  // context on each side is cut between characters, never through a
  // surrogate pair, and each white space unit is one blank, so that an
  // offset in it is one in the stored text (a double-click on it finds
  // the index's word there); the table shows blanks in a row as one.
  function lineOf(s, tok) {
    const start = s.starts[tok], len = s.tokens[3 * tok + 1], text = s.text;
    let from = Math.max(0, start - 2 * CONTEXT), to = Math.min(text.length, start + len + 2 * CONTEXT);
    if (/^[\udc00-\udfff]/.test(text[from] || '')) from++;
    if (/^[\ud800-\udbff]/.test(text[to - 1] || '')) to--;
    const blank = t => t.replace(/\s/g, ' ');
    return [blank(text.slice(from, start)), text.slice(start, start + len), blank(text.slice(start + len, to)), from];
  }
  // The same for a saved line: blanks in a row as one, CONTEXT on each side.
  function savedLineOf(s, tok) {
    let [left, word, right] = lineOf(s, tok);
    left = left.replace(/ +/g, ' ');
    right = right.replace(/ +/g, ' ');
    if (left.length > CONTEXT) left = left.slice(-CONTEXT);
    if (right.length > CONTEXT) right = right.slice(0, CONTEXT);
    if (/^[\udc00-\udfff]/.test(left)) left = left.slice(1);
    if (/[\ud800-\udbff]$/.test(right)) right = right.slice(0, -1);
    return [left, word, right];
  }
  // page.htm?d=N#oLINE.START.LENGTH, in UTF-16 units within the line.
  function fragment(s, tok) {
    const start = s.starts[tok], line = window.velmorStore.lineAt(s, start);
    return '#o' + line + '.' + (start - window.velmorStore.lineStarts(s)[line]) + '.' + s.tokens[3 * tok + 1];
  }

  Object.assign(window.velmor, { docTitles, docName, titles, pageHref, decodeDocs, Lines, collocateFilter,
                                 clusterFilter, lineOf, savedLineOf, fragment });
})();
