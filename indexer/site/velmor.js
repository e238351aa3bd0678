// The word index's script for every page: the search box, double-click on
// any word, and the document pages drawn from the text store with their
// marked occurrences. The entries' concordance is concordance.js.
// Works from file://: the look-up data arrive as scripts that call back.
'use strict';
(function () {
  // The indexer's key: NFC, then full case folding. Lowering first turns
  // capital sharp s into ß, upper then lower folds ß to ss and any sigma to
  // σ; dotless ı has no folding and stays. Apostrophe look-alikes are '.
  const APOSTROPHES = /[\u2018\u2019\u02bc\uff07]/g;
  function fold(s) {
    let out = '';
    for (const c of s.normalize('NFC'))
      out += c === 'ı' ? c : c.toLowerCase().toUpperCase().toLowerCase();
    return out.replace(APOSTROPHES, "'");
  }

  // What the search box matches, as the indexer's search_key makes it
  // (words/words.h; words/search_key_cases.tsv holds the cases both pass):
  // compatibility forms, no marks, case folded, a few plain letters.
  const PLAIN = { 'ı': 'i', 'đ': 'd', 'ð': 'd', 'ł': 'l', 'ø': 'o', 'ħ': 'h', 'æ': 'ae', 'œ': 'oe',
                  '\u2018': "'", '\u2019': "'", '\u02bc': "'", '\uff07': "'" };
  const MARK = /[\p{Mn}\p{Me}]/u;
  function searchKey(s) {
    const caseFold = t => Array.from(t, c => c.toLowerCase().toUpperCase().toLowerCase()).join('');
    let out = '';
    for (const c of caseFold(s).normalize('NFKD')) {
      if (MARK.test(c)) continue;
      for (const f of caseFold(c)) {
        const u = f.codePointAt(0);
        out += PLAIN[f] || (u >= 0x30a1 && u <= 0x30f6 ? String.fromCharCode(u - 0x60) : f);
      }
    }
    return out.normalize('NFC');
  }

  // Keys are ordered by code point, as the indexer sorts their UTF-8 bytes.
  function cmp(a, b) {
    const n = Math.min(a.length, b.length);
    for (let i = 0; i < n; i++) {
      const x = a.codePointAt(i), y = b.codePointAt(i);
      if (x !== y) return x - y;
      if (x > 0xffff) i++;
    }
    return a.length - b.length;
  }

  const pad = (n, w) => String(n).padStart(w, '0');
  // Look-up rows, as site/formats.h describes them, each shard one string
  // of lines "search key \t key \t form \t rank \t count", read into
  //   [search key, key or '' (= search key), form or '' (= key), rank, count]
  const rowKey = row => row[1] || row[0];
  const shown = row => row[2] || rowKey(row);
  const RANK = 3, COUNT = 4;
  const rowOf = line => {
    const f = line.split('\t');
    return [f[0], f[1], f[2], Number(f[3]), Number(f[4])];
  };

  // lookup/keys.js names each shard's first search key; lookup/k_NNNN.js
  // holds the shard's rows.
  const loaded = {};
  const waiting = {};
  function load(name) {
    if (!loaded[name]) {
      loaded[name] = new Promise((resolve, reject) => {
        waiting[name] = resolve;
        const el = document.createElement('script');
        el.src = 'lookup/' + name + '.js';
        el.onerror = () => reject(new Error('missing ' + el.src));
        document.head.appendChild(el);
      });
    }
    return loaded[name];
  }
  // A file another script asked for calls back here too: answer only what
  // was asked.
  const answer = (name, value) => { if (waiting[name]) waiting[name](value); };
  window.velmorShards = list => answer('keys', list);
  window.velmorKeys = (n, rows) => answer('k_' + pad(n, 4), rows);
  const shards = () => load('keys');
  const shard = n => load('k_' + pad(n, 4));
  const split = {};  // a shard's lines, once a prefix has looked into it
  const linesOf = async n => split[n] || (split[n] = (await shard(n)).split('\n').slice(0, -1));

  function shardOf(list, key) {
    let lo = 0, hi = list.length - 1;
    while (lo < hi) {
      const mid = (lo + hi + 1) >> 1;
      if (cmp(list[mid], key) < 0) lo = mid; else hi = mid - 1;
    }
    return lo;
  }
  const searchOf = line => line.slice(0, line.indexOf('\t'));
  function lowerBound(lines, key) {
    let lo = 0, hi = lines.length;
    while (lo < hi) {
      const mid = (lo + hi) >> 1;
      if (cmp(searchOf(lines[mid]), key) < 0) lo = mid + 1; else hi = mid;
    }
    return lo;
  }
  // The row of a word's identity key, or null.
  async function lookup(key) {
    const want = searchKey(key);
    for (const row of await withPrefix(want, Infinity, true))
      if (rowKey(row) === key) return row;
    return null;
  }
  // Rows whose search key starts with `prefix` (or is it, when `whole`).
  async function withPrefix(prefix, limit, whole) {
    const list = await shards();
    const found = [];
    for (let n = list.length ? shardOf(list, prefix) : 0; n < list.length; n++) {
      const lines = await linesOf(n);
      let i = lowerBound(lines, prefix);
      for (; i < lines.length && lines[i].startsWith(prefix); i++) {
        const row = rowOf(lines[i]);
        if (!row[0].startsWith(prefix)) break;  // a longer key than the prefix's line
        if (whole && row[0] !== prefix) return found;
        found.push(row);
        if (found.length >= limit) return found;
      }
      if (i < lines.length) break;
    }
    return found;
  }
  // Rows whose search key matches a pattern of * (any characters) and ?
  // (one character), the most frequent first. What comes before the first
  // wildcard narrows the shards to read; a leading wildcard reads them
  // all, with one regular expression over each shard's text.
  async function matching(pattern, limit) {
    const source = Array.from(pattern, c => c === '*' ? '[^\\t\\n]*' : c === '?' ? '[^\\t\\n]'
                                          : c.replace(/[\\^$.|+()[\]{}\/]/g, '\\$&')).join('');
    const prefix = pattern.slice(0, pattern.search(/[*?]/));
    let rows;
    if (prefix) {
      const re = new RegExp('^' + source + '$', 'u');
      rows = (await withPrefix(prefix, Infinity)).filter(row => re.test(row[0]));
    } else {
      const re = new RegExp('^' + source + '\t', 'gmu');
      const list = await shards();
      rows = [];
      for (const text of await Promise.all(list.map((_, n) => shard(n))))
        for (let m; (m = re.exec(text));) rows.push(rowOf(text.slice(m.index, text.indexOf('\n', m.index))));
    }
    return rows.sort((a, b) => b[COUNT] - a[COUNT] || a[RANK] - b[RANK]).slice(0, limit);
  }

  // What the box offers for what is typed: the forms written exactly so
  // first, then the words that are the typed one but for accents and case,
  // then longer ones; the most frequent first within each.
  async function offers(typed, limit) {
    const wanted = searchKey(typed);
    if (!wanted) return [];
    const wild = /[*?]/.test(wanted);
    const rows = wild ? await matching(wanted, limit) : await withPrefix(wanted, 400);
    const exact = fold(typed);
    const grade = row => shown(row) === typed ? 0 : rowKey(row) === exact ? 1 : row[0] === wanted ? 2 : 3;
    return rows.map(row => [grade(row), row])
      .sort((a, b) => a[0] - b[0] || b[1][COUNT] - a[1][COUNT] || a[1][RANK] - b[1][RANK])
      .slice(0, limit).map(x => x[1]);
  }

  // The search box in the header bar: words by the beginning of their
  // search key, or by a pattern with * and ?.
  function setupSearch() {
    const box = document.getElementById('q');
    const hits = document.getElementById('hits');
    if (!box || !hits) return;
    let asked = 0, on = -1;
    const links = () => hits.querySelectorAll('a');
    function choose(i) {
      const all = links();
      if (!all.length) return;
      on = (i + all.length) % all.length;
      all.forEach((a, k) => a.classList.toggle('on', k === on));
    }
    box.addEventListener('input', async () => {
      const ask = ++asked;
      const typed = box.value.trim();
      if (!typed) { hits.replaceChildren(); return; }
      const [rows, firsts] = await Promise.all([offers(typed, 50), load('entries')]);
      if (ask !== asked) return;
      on = -1;
      hits.replaceChildren(...rows.map(row => {
        const li = document.createElement('li');
        const a = document.createElement('a');
        a.href = hrefOf(firsts, row[RANK]);
        a.append(shown(row));
        const count = document.createElement('small');
        count.textContent = row[COUNT].toLocaleString();
        a.append(count);
        li.append(a);
        return li;
      }));
      if (!rows.length) {
        const li = document.createElement('li');
        const none = document.createElement('span');
        none.textContent = /[*?]/.test(typed) ? 'no word matches' : 'no word begins so';
        li.append(none);
        hits.append(li);
      }
    });
    box.addEventListener('keydown', e => {
      if (e.key === 'ArrowDown') { choose(on + 1); e.preventDefault(); }
      else if (e.key === 'ArrowUp') { choose(on - 1); e.preventDefault(); }
      else if (e.key === 'Enter') {
        const all = links();
        if (all.length) location.href = all[Math.max(on, 0)].href;
      } else if (e.key === 'Escape') { hits.replaceChildren(); }
    });
  }

  function toast(text) {
    let el = document.getElementById('toast');
    if (!el) { el = document.createElement('div'); el.id = 'toast'; document.body.append(el); }
    el.textContent = text;
    clearTimeout(toast.timer);
    toast.timer = setTimeout(() => el.remove(), 2500);
  }

  // lookup/entries.js: the first rank of each entry file, so a rank's
  // entry is a binary search away (site/formats.h).
  window.velmorEntries = firsts => answer('entries', firsts);
  function hrefOf(firsts, rank) {
    let lo = 0, hi = firsts.length - 1;
    while (lo < hi) { const mid = (lo + hi + 1) >> 1; if (firsts[mid] <= rank) lo = mid; else hi = mid - 1; }
    return 'i_' + pad(lo + 1, 3) + '.htm#r' + rank;
  }
  const rankHref = async rank => hrefOf(await load('entries'), rank);

  // The words of the document page's text, as the indexer found them:
  // velmorStore's tokens [gap, length, rank, ...] and each word's start.
  let pageWords = null;
  // The number of the word of a stored text that holds offset `at`, or -1.
  function wordAt(at, words = pageWords) {
    if (!words) return -1;
    const { starts, tokens } = words;
    let lo = 0, hi = starts.length - 1;
    if (hi < 0 || starts[0] > at) return -1;
    while (lo < hi) { const mid = (lo + hi + 1) >> 1; if (starts[mid] <= at) lo = mid; else hi = mid - 1; }
    return at < starts[lo] + tokens[3 * lo + 1] ? lo : -1;
  }

  // The text node and offset under a point of the window, or null.
  function pointAt(x, y) {
    if (document.caretPositionFromPoint) {
      const p = document.caretPositionFromPoint(x, y);
      return p ? [p.offsetNode, p.offset] : null;
    }
    const r = document.caretRangeFromPoint && document.caretRangeFromPoint(x, y);
    return r ? [r.startContainer, r.startOffset] : null;
  }
  // The offset in the whole text of `root` of `offset` in its text node `node`.
  function textOffset(root, node, offset) {
    const walker = document.createTreeWalker(root, NodeFilter.SHOW_TEXT);
    let before = 0;
    for (let n; (n = walker.nextNode()) && n !== node;) before += n.data.length;
    return before + offset;
  }

  // Double-click any word: open its entry. In stored text (a document page,
  // lines cut from it) the word is the index's own; elsewhere (a heading, a
  // list) it is what the browser selected, looked up by its key.
  function setupDoubleClick() {
    document.addEventListener('dblclick', async e => {
      if (e.target.closest && e.target.closest('header, input, button')) return;
      const sel = window.getSelection();
      if (!sel.rangeCount) return;
      const range = sel.getRangeAt(0);
      const node = range.startContainer;
      if (node.nodeType !== Node.TEXT_NODE) return;
      // Text cut from a stored document says where it stands there: an
      // element with data-n (the document's number) and data-o (the text
      // offset of its first character), as the document page's text is.
      const host = node.parentElement && node.parentElement.closest('[data-n][data-o]');
      if (host && window.velmorStore) {
        // Where the pointer is: the browser's own selection may hold more
        // than one of the index's words ("l'" and "homme").
        const at = pointAt(e.clientX, e.clientY);
        if (!at || !host.contains(at[0])) return;
        const words = await window.velmorStore.load(Number(host.dataset.n));
        const i = wordAt(Number(host.dataset.o) + textOffset(host, at[0], at[1]), words);
        if (i >= 0) location.href = await rankHref(words.tokens[3 * i + 2]);
        return;
      }
      const word = sel.toString().trim();
      if (!word) return;
      const row = await lookup(fold(word));
      if (row) location.href = await rankHref(row[RANK]);
      else toast('\u201c' + word + '\u201d is not in the index');
    });
  }

  // Document pages: the text comes from the store; mark the occurrence
  // named in the address, then let n and p step through the occurrences of
  // the same word in this document. Addresses:
  //   #oLINE.UNIT.LENGTH  the word at UNIT (UTF-16) of line LINE, from 0
  //   #n=WORD             the document's word number WORD, from 0
  //   #r=RANK, #w=KEY     the first occurrence of the word
  async function setupPage() {
    const pre = document.getElementById('t');
    if (!pre || !pre.dataset.n || !window.velmorStore) return;
    const status = document.getElementById('at');
    let store;
    try { store = await window.velmorStore.load(Number(pre.dataset.n)); }
    catch (e) { status.textContent = 'The text of this page cannot be read: ' + e.message; return; }
    pre.textContent = store.text;
    pre.dataset.o = '0';
    pageWords = store;
    const { tokens, starts } = store;
    let lineStarts = null;
    let hits = null, current = -1;
    function lineOf(offset) {
      if (!lineStarts) {
        lineStarts = [0];
        for (let i = store.text.indexOf('\n'); i >= 0; i = store.text.indexOf('\n', i + 1)) lineStarts.push(i + 1);
      }
      let lo = 0, hi = lineStarts.length - 1;
      while (lo < hi) { const mid = (lo + hi + 1) >> 1; if (lineStarts[mid] <= offset) lo = mid; else hi = mid - 1; }
      return lo;
    }
    function unmark() {
      const old = pre.querySelector('mark');
      if (old) { old.replaceWith(old.textContent); pre.normalize(); }
    }
    function mark(i) {
      unmark();
      const node = pre.firstChild;
      const offset = starts[i], length = tokens[3 * i + 1];
      if (!node || offset + length > node.data.length) return null;
      const range = document.createRange();
      range.setStart(node, offset);
      range.setEnd(node, offset + length);
      const m = document.createElement('mark');
      range.surroundContents(m);
      m.scrollIntoView({ block: 'center' });
      return m;
    }
    // The words of one rank, in reading order.
    function occurrencesOf(rank) {
      const found = [];
      for (let i = 0; i < starts.length; i++) if (tokens[3 * i + 2] === rank) found.push(i);
      return found;
    }
    function show(i, address) {
      const m = mark(i);
      if (!m) return;
      hits = occurrencesOf(tokens[3 * i + 2]);
      current = hits.indexOf(i);
      const line = lineOf(starts[i]);
      if (address) history.replaceState(null, '', '#n=' + i);
      status.textContent = '\u201c' + m.textContent + '\u201d line ' + (line + 1).toLocaleString() +
        ' \u00b7 occurrence ' + (current + 1) + ' of ' + hits.length + ' \u00b7 n next, p previous';
    }
    async function fromAddress() {
      const hash = location.hash;
      let m;
      if ((m = /^#o(\d+)\.(\d+)\.(\d+)$/.exec(hash))) {
        lineOf(0);
        const line = Number(m[1]);
        if (line >= lineStarts.length) return;
        const i = wordAt(lineStarts[line] + Number(m[2]));
        if (i >= 0) show(i, false);
      } else if ((m = /^#n=(\d+)$/.exec(hash))) {
        if (Number(m[1]) < starts.length) show(Number(m[1]), false);
      } else if ((m = /^#[rw]=(.*)$/.exec(hash))) {
        let rank;
        if (hash[1] === 'r') rank = Number(m[1]);
        else {
          let key;
          try { key = decodeURIComponent(m[1]); } catch (e) { return; }
          const row = await lookup(key);
          rank = row ? row[RANK] : -1;
        }
        const all = occurrencesOf(rank);
        if (all.length) show(all[0], false);
        else status.textContent = 'The word does not occur on this page.';
      }
    }
    function step(by) {
      if (!hits || !hits.length) return;
      current = (current + by + hits.length) % hits.length;
      show(hits[current], true);
    }
    document.addEventListener('keydown', e => {
      if (e.ctrlKey || e.metaKey || e.altKey || /^(INPUT|TEXTAREA)$/.test(e.target.tagName)) return;
      if (e.key === 'n') step(1);
      else if (e.key === 'p') step(-1);
    });
    window.addEventListener('hashchange', fromAddress);
    await fromAddress();
    pre.dataset.ready = 'true';
  }

  // A name the page shows cut short (an ellipsis) shows whole on hover.
  document.addEventListener('mouseover', e => {
    const el = e.target.closest && e.target.closest('a, td');
    if (el && !el.title && el.scrollWidth > el.clientWidth) el.title = el.textContent;
  });

  window.velmor = { fold, searchKey, cmp, lookup, rankHref, withPrefix, matching, offers };
  setupSearch();
  setupDoubleClick();
  setupPage();
})();
