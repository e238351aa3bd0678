// The documents' text as the indexer stores it once for every page: the
// browser's side of site/formats.h (read it there; this mirrors it).
//
//   F.textFolder + F.textStore, text/FFF/d_NNNN.js, calls
//   F.textStore.callback(N, TEXT, CODE, KEYWORDS, ABOUT, STRETCHES)
//     FFF   (N - 1) / PER; PER is this script's tag's data-per-folder, the
//           documents to a folder
//     N     the document's number from 1 (page.htm?d=N)
//     TEXT  its lines joined by "\n"
//     CODE  numbers in the store's digits: D; D pairs, each 2*(rank less
//           the previous pair's rank)+written and the length when written
//           = 1 (else the units up to the next separator); F and F pairs put
//           first; per word 2*number+written and the gap when written = 1
//           (else the separators after the previous word).
//     ABOUT [TITLE, FILE, WORDS, DISTINCT, LINES]
//     STRETCHES  in the store's digits, each less the one before: the
//           words that begin a stretch no cluster runs across
//   A digit is F.digits[d] when last of its number, F.digits[F.digitBase +
//   d] when more follow; least significant first. F is formats.js, made by
//   the indexer from format_constants.h: the digits, names and callbacks
//   are written there once.
//
// velmorStore.load(n) -> Promise of {n, text, tokens, starts, keywords, about,
// stretches}:
// tokens is the flat Int32Array [gap, length, rank, ...], one triple per
// word in reading order (gaps and lengths in UTF-16 units), starts each
// word's offset, keywords the fourth argument ([[RANK, COUNT, LL, LR,
// FORM], ...], most key first), about the fifth (null when missing),
// stretches the words that begin a stretch, ascending (none when missing).
'use strict';
(function () {
  if (window.velmorStore) return;
  // Read while this script runs: document.currentScript is gone after.
  const me = document.currentScript;
  const PER_FOLDER = Number(me && me.dataset.perFolder) || 0;
  const { F, siteFile, lastAtMost } = window.velmor;
  const BASE = F.digitBase;
  const digit = new Int16Array(128).fill(-1);
  for (let i = 0; i < F.digits.length; i++) digit[F.digits.charCodeAt(i)] = i;

  // All the numbers of a CODE string.
  function numbers(code) {
    const out = [];
    let value = 0, scale = 1;
    for (let i = 0; i < code.length; i++) {
      const d = digit[code.charCodeAt(i) & 127];
      if (d < 0) throw new Error('not a store digit at ' + i);
      if (d >= BASE) { value += (d - BASE) * scale; scale *= BASE; }
      else { out.push(value + d * scale); value = 0; scale = 1; }
    }
    return out;
  }

  // A UTF-16 unit the store takes for space between words (formats.h).
  const separator = u => u < F.separatorsBelow && !((u >= 48 && u <= 57) || (u >= 65 && u <= 90) || (u >= 97 && u <= 122));

  function decode(code, text) {
    const n = numbers(code);
    let at = 0;
    const pairs = n[at++] || 0;
    const rank = new Int32Array(pairs), length = new Int32Array(pairs);  // -1: up to a separator
    let previous = 0;
    for (let p = 0; p < pairs; p++) {
      const v = n[at++];
      previous += Math.floor(v / 2);
      rank[p] = previous;
      length[p] = v % 2 ? n[at++] : -1;
    }
    const fronts = n[at++] || 0;
    const pairAt = new Int32Array(pairs);  // a word's number -> its pair
    const front = new Uint8Array(pairs);
    for (let f = 0; f < fronts; f++) { pairAt[f] = n[at++]; front[pairAt[f]] = 1; }
    for (let p = 0, next = fronts; p < pairs; p++) if (!front[p]) pairAt[next++] = p;
    const out = [];
    let end = 0;
    while (at < n.length) {
      const v = n[at++];
      const w = Math.floor(v / 2);
      if (w >= pairs) throw new Error('no pair ' + w + ' in the store');
      let gap;
      if (v % 2) gap = n[at++];
      else { let i = end; while (i < text.length && separator(text.charCodeAt(i))) i++; gap = i - end; }
      const p = pairAt[w], start = end + gap;
      let len = length[p];
      if (len < 0) { let i = start; while (i < text.length && !separator(text.charCodeAt(i))) i++; len = i - start; }
      out.push(gap, len, rank[p]);
      end = start + len;
    }
    return Int32Array.from(out);
  }

  function starts(tokens) {
    const out = new Int32Array(tokens.length / 3);
    for (let i = 0, end = 0; i < out.length; i++) {
      out[i] = end + tokens[3 * i];
      end = out[i] + tokens[3 * i + 1];
    }
    return out;
  }

  const waiting = new Map();  // n -> [[resolve, reject], ...] of the loads under way
  const cache = new Map();    // n -> promise, the most recent last
  const kept = 48;

  function stretches(code) {
    const gaps = numbers(code || '');
    for (let i = 1; i < gaps.length; i++) gaps[i] += gaps[i - 1];
    return Int32Array.from(gaps);
  }

  window[F.textStore.callback] = (n, text, code, keywords, about, parts) => {
    const all = waiting.get(n);
    if (!all) return;
    waiting.delete(n);
    try {
      const tokens = decode(code, text);
      const doc = { n, text, tokens, starts: starts(tokens), keywords: keywords || [], about: about || null,
                    stretches: stretches(parts) };
      for (const w of all) w[0](doc);
    } catch (e) { for (const w of all) w[1](e); }
  };

  const fileOf = n => siteFile(F.textFolder, Math.floor((n - 1) / PER_FOLDER)) + siteFile(F.textStore, n);

  function load(n) {
    let p = cache.get(n);
    if (p) { cache.delete(n); cache.set(n, p); return p; }
    p = new Promise((resolve, reject) => {
      if (!PER_FOLDER) { reject(new Error('text_store.js is loaded without data-per-folder')); return; }
      // A load that was dropped from the cache may still be under way.
      if (waiting.has(n)) { waiting.get(n).push([resolve, reject]); return; }
      const mine = [[resolve, reject]];
      waiting.set(n, mine);
      const el = document.createElement('script');
      el.src = fileOf(n);
      // Only this load's own waiters: once the file has called back, a new
      // load of the same document may be waiting before this onload comes.
      const fail = () => {
        if (waiting.get(n) === mine) {
          waiting.delete(n);
          for (const w of mine) w[1](new Error('cannot read ' + el.src));
        }
        el.remove();
      };
      el.onerror = fail;
      el.onload = fail;  // a file that did not call back is as good as missing
      document.head.appendChild(el);
    });
    p.catch(() => cache.delete(n));
    cache.set(n, p);
    while (cache.size > kept) cache.delete(cache.keys().next().value);
    return p;
  }

  // Where each line of a loaded document's text starts, found once.
  function lineStarts(doc) {
    if (!doc.lineStarts) {
      const l = [0];
      for (let i = doc.text.indexOf('\n'); i >= 0; i = doc.text.indexOf('\n', i + 1)) l.push(i + 1);
      doc.lineStarts = Int32Array.from(l);
    }
    return doc.lineStarts;
  }
  // The line, from 0, that holds the text's UTF-16 offset `at`.
  function lineAt(doc, at) {
    return Math.max(lastAtMost(lineStarts(doc), at), 0);
  }

  window.velmorStore = { load, fileOf, decode, starts, numbers, lineStarts, lineAt };
})();
