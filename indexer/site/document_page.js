// The document viewer (page.htm?d=N, the Nth document from 1): its text,
// title and counts come from the document's text store (text_store.js);
// the occurrence the address's "#" part names is marked, and n and p step
// through the occurrences of the same word in this document.
'use strict';
(function () {
  const { el, fmt, wordAt, lookup, entryStarts, hrefOf, RANK, saveButton } = window.velmor;

  // The document's keywords against the rest of the corpus, which travel
  // with its stored text, each leading to its entry.
  async function drawKeywords(keywords) {
    const box = document.getElementById('velmor-keywords');
    if (!box || !keywords.length) return;
    const first = await entryStarts();
    const table = el('table', { class: 'freq keywords' });
    table.innerHTML = '<tr><th>keyword<th>here<th>log-likelihood<th>log ratio';
    for (const [rank, count, ll, lr, form] of keywords)
      table.append(el('tr', null, el('td', null, el('a', { href: hrefOf(first, rank) }, form)),
        el('td', null, fmt(count)), el('td', null, ll.toFixed(1)), el('td', null, lr.toFixed(2))));
    // Saved as the other lists are, the measures as numbers.
    const head = ['keyword', 'here', 'log-likelihood', 'log ratio'];
    const rows = () => [head].concat(keywords.map(([, count, ll, lr, form]) => [form, count, ll, lr]));
    const name = 'keywords_' + document.title;
    box.replaceChildren(el('h2', null, 'Keywords'), el('p', { class: 'hint' },
      'Words more frequent here than in the rest of the corpus, by log-likelihood; ' +
      'the log ratio is log2 of how many times more frequent.'),
      el('div', { class: 'sort' }, saveButton('Save keywords as TSV', name, rows)), table);
  }

  // Which document: ?d=N, the first without one; null for anything else.
  function documentNumber(search, docs) {
    const m = /^(?:\?d=([1-9]\d*))?$/.exec(search);
    if (!m) return null;
    const n = m[1] ? Number(m[1]) : 1;
    return n <= docs ? n : null;
  }

  // What page.htm holds nothing of: the title, the counts, the way to the
  // documents before and after.
  function drawAbout(n, docs, about) {
    const [title, file, words, distinct, lines] = about || ['document ' + n, '', 0, 0, 0];
    document.title = title;
    document.getElementById('title').textContent = title;
    document.getElementById('about').textContent = file + ' \u00b7 ' + fmt(words) + ' words \u00b7 ' +
      fmt(distinct) + ' distinct \u00b7 ' + fmt(lines) + ' lines';
    const nav = document.getElementById('docs');
    if (n > 1) nav.append(el('a', { href: '?d=' + (n - 1), rel: 'prev' }, '\u2039 previous'));
    nav.append(el('span', null, 'document ' + fmt(n) + ' of ' + fmt(docs)));
    if (n < docs) nav.append(el('a', { href: '?d=' + (n + 1), rel: 'next' }, 'next \u203a'));
  }

  // Addresses, after ?d=N:
  //   #oLINE.UNIT.LENGTH  the word at UNIT (UTF-16) of line LINE, from 0
  //   #n=WORD             the document's word number WORD, from 0
  //   #n=WORD.COUNT       COUNT words from WORD on (a hit of the query page)
  //   #r=RANK, #w=KEY     the first occurrence of the word
  async function setupPage() {
    const pre = document.getElementById('t');
    if (!pre || !pre.dataset.docs || !window.velmorStore) return;
    const status = document.getElementById('at');
    const docs = Number(pre.dataset.docs);
    const n = documentNumber(location.search, docs);
    if (n === null) {
      status.textContent = 'There is no document ' + location.search + ' in this index of ' + fmt(docs) +
        ' documents; the list of documents is s_docs.htm.';
      pre.hidden = true;
      return;
    }
    let store;
    try { store = await window.velmorStore.load(n); }
    catch (e) { status.textContent = 'The text of this page cannot be read: ' + e.message; return; }
    drawAbout(n, docs, store.about);
    pre.dataset.n = String(n);
    pre.textContent = store.text;
    drawKeywords(store.keywords).catch(() => {});
    pre.dataset.o = '0';
    const { tokens, starts } = store;
    let hits = null, current = -1;
    function unmark() {
      const old = pre.querySelector('mark');
      if (old) { old.replaceWith(old.textContent); pre.normalize(); }
    }
    function mark(i, words = 1) {
      unmark();
      const node = pre.firstChild;
      const last = Math.min(i + words, starts.length) - 1;
      const offset = starts[i], length = starts[last] + tokens[3 * last + 1] - offset;
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
    function show(i, address, words) {
      const m = mark(i, words);
      if (!m) return;
      hits = occurrencesOf(tokens[3 * i + 2]);
      current = hits.indexOf(i);
      const line = window.velmorStore.lineAt(store, starts[i]);
      if (address) history.replaceState(null, '', '#n=' + i);
      status.textContent = '\u201c' + m.textContent + '\u201d line ' + (line + 1).toLocaleString() +
        ' \u00b7 occurrence ' + (current + 1) + ' of ' + hits.length + ' \u00b7 n next, p previous';
    }
    async function fromAddress() {
      const hash = location.hash;
      let m;
      if ((m = /^#o(\d+)\.(\d+)\.(\d+)$/.exec(hash))) {
        const line = Number(m[1]), lineStarts = window.velmorStore.lineStarts(store);
        if (line >= lineStarts.length) return;
        const i = wordAt(lineStarts[line] + Number(m[2]), store);
        if (i >= 0) show(i, false);
      } else if ((m = /^#n=(\d+)(?:\.(\d+))?$/.exec(hash))) {
        if (Number(m[1]) < starts.length) show(Number(m[1]), false, Math.max(1, Number(m[2] || 1)));
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

  setupPage();
})();
