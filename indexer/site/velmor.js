// The word index's script for every page, loaded first: what the others
// share, as window.velmor. Pages opened from file:// may load scripts but
// not fetch files, so every data file is a script that calls back
// (site/formats.h); load() hands out what it passed.
//
// Every page: formats.js (the file names, callbacks and digits the indexer
// uses, written by it from format_constants.h), velmor.js, search_data.js (the words by their search keys),
// search.js (the box), dblclick.js (any word opens its entry). Besides:
//   page.htm        text_store.js, tsv.js, document_page.js
//   i_NNN.htm       text_store.js, tsv.js, lines.js, concordance.js, dispersion.js,
//                   association.js, collocate_table.js, local_measures.js, entry.js
//   index_NNN.htm, s_freq_NNN.htm, s_once_NNN.htm   tsv.js, word_lists.js
//   s_docs.htm, s_ngrams.htm   tsv.js
//   query.htm       text_store.js, tsv.js, lines.js, query_parse.js, query.js,
//                   query_page.js
'use strict';
(function () {
  const F = window.velmorFormats;
  const pad = (n, w) => String(n).padStart(w, '0');
  // The name of file n of a numbered family of formats.js (F.entryPage).
  const siteFile = (f, n) => f.start + pad(n, f.digits) + f.end;
  // The last index of an ascending array whose value is at most x, or -1:
  // the one binary search every script needs (ranks to files, offsets to
  // words and lines, keys to shards). `compare` as for sort(); numbers are
  // compared in place without it. The lower-bound form (lo = mid + 1) ran
  // 1.6 times slower in V8 on a text's word starts
  // (bench/last_at_most_bench.mjs), so lo stays on a value at most x.
  function lastAtMost(sorted, x, compare) {
    let lo = 0, hi = sorted.length - 1;
    if (compare) {
      if (hi < 0 || compare(sorted[0], x) > 0) return -1;
      while (lo < hi) { const mid = (lo + hi + 1) >> 1; if (compare(sorted[mid], x) <= 0) lo = mid; else hi = mid - 1; }
    } else {
      if (hi < 0 || sorted[0] > x) return -1;
      while (lo < hi) { const mid = (lo + hi + 1) >> 1; if (sorted[mid] <= x) lo = mid; else hi = mid - 1; }
    }
    return lo;
  }
  const fmt = n => n.toLocaleString('en');
  const el = (tag, props, ...children) => {
    const e = document.createElement(tag);
    if (props) for (const [k, v] of Object.entries(props)) {
      if (k === 'class') e.className = v;
      else if (k.startsWith('data-') || k.startsWith('aria-')) e.setAttribute(k, v);
      else e[k] = v;
    }
    for (const c of children) if (c !== null && c !== undefined) e.append(c);
    return e;
  };

  // Data files call window[NAME](VALUE), or window[NAME](N, VALUE) for one
  // of several (lookup/k_NNNN.js). A callback another script set first is
  // called too, so scripts that load the same file do not take it from
  // each other.
  const waiting = new Map();  // NAME or NAME:N -> resolve
  const loads = new Map();    // file -> promise
  const heard = new Set();
  function hear(name) {
    if (heard.has(name)) return;
    heard.add(name);
    const prior = window[name];
    window[name] = (...args) => {
      const key = args.length > 1 ? name + ':' + args[0] : name;
      const resolve = waiting.get(key);
      if (resolve) { waiting.delete(key); resolve(args[args.length - 1]); }
      if (prior) try { prior(...args); } catch (e) { /* not waited for there */ }
    };
  }
  function load(file, name, n) {
    if (!loads.has(file)) {
      hear(name);
      loads.set(file, new Promise((resolve, reject) => {
        waiting.set(n === undefined ? name : name + ':' + n, resolve);
        const s = document.createElement('script');
        s.src = file;
        s.onerror = () => { loads.delete(file); reject(new Error('missing ' + file)); };
        document.head.append(s);
      }));
    }
    return loads.get(file);
  }

  // F.entryStarts: the first rank of each entry page, so a rank's entry is
  // a binary search away.
  const entryStarts = () => load(F.entryStarts.start, F.entryStarts.callback);
  const hrefOf = (firsts, rank) => siteFile(F.entryPage, Math.max(lastAtMost(firsts, rank), 0) + 1) + '#r' + rank;
  const rankHref = async (rank, suffix) => hrefOf(await entryStarts(), rank) + (suffix || '');
  // A link to an entry, right at once within the page and wherever it
  // leads once lookup/entries.js is read.
  function entryLink(rank, text, suffix) {
    const a = el('a', { href: '#r' + rank + (suffix || '') }, text);
    rankHref(rank, suffix).then(h => { a.href = h; }, () => {});
    return a;
  }

  // The number of the word of a stored text (velmorStore's {tokens,
  // starts}) that holds the UTF-16 offset `at`, or -1.
  function wordAt(at, words) {
    if (!words) return -1;
    const { starts, tokens } = words;
    const w = lastAtMost(starts, at);
    return w >= 0 && at < starts[w] + tokens[3 * w + 1] ? w : -1;
  }

  // The name a saved file gets, from a word or a list's name: one that any
  // disk takes, FAT32 and exFAT too, whatever the word. Letters, digits
  // and marks of any script stay, with "_", "-" and "." between them;
  // all else becomes "_". No dot at either end, never a device
  // name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with an ending too), and 120
  // UTF-16 units at most, a character never cut in half: the folder it
  // goes into has a path of its own, and 255 units is the whole limit.
  const DEVICE = /^(con|prn|aux|nul|com[1-9\u00b9\u00b2\u00b3]|lpt[1-9\u00b9\u00b2\u00b3])(\.|$)/i;
  function fileName(stem, ending) {
    let name = String(stem).normalize('NFC').replace(/[^\p{L}\p{M}\p{N}_.-]+/gu, '_')
      .replace(/^\.+|\.+$/g, '');
    if (DEVICE.test(name)) name = '_' + name;
    const units = 120 - ending.length;
    if (name.length > units) name = name.slice(0, /[\ud800-\udbff]/.test(name[units - 1]) ? units - 1 : units);
    return (name.replace(/\.+$/, '') || 'list') + ending;
  }

  function toast(text) {
    let box = document.getElementById('toast');
    if (!box) { box = el('div', { id: 'toast' }); document.body.append(box); }
    box.textContent = text;
    clearTimeout(toast.timer);
    toast.timer = setTimeout(() => box.remove(), 2500);
  }

  // A name the page shows cut short (an ellipsis) shows whole on hover.
  document.addEventListener('mouseover', e => {
    const cell = e.target.closest && e.target.closest('a, td');
    if (cell && !cell.title && cell.scrollWidth > cell.clientWidth) cell.title = cell.textContent;
  });

  window.velmor = { F, siteFile, lastAtMost, pad, fmt, el, load, entryStarts, hrefOf, rankHref, entryLink, wordAt, fileName, toast };
})();
