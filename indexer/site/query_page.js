// query.htm: the query line (query.js parses and matches), the total, the
// hits as lines 50 at a time, sortable by the hit, 1L or 1R and saved as
// TSV, and the hits per document. The lines are cut from the text stores
// (text_store.js), read only for the lines shown, or for all the
// documents with hits when the lines are sorted by 1L or 1R or saved.
// query.htm#q=QUERY[&exact=1] runs a query at once.
'use strict';
(function () {
  const velmor = window.velmor;
  const { el, fmt, docTitles, docName, titles, pageHref, saveButton, runQuery, QueryError } = velmor;
  const form = document.getElementById('query-form');
  if (!form || !window.velmorStore) return;
  const input = document.getElementById('query');
  const exact = document.getElementById('exact');
  const status = document.getElementById('query-status');
  const linesBox = document.getElementById('query-lines');
  const docsBox = document.getElementById('query-docs');
  const PER_PAGE = 50;
  const CONTEXT = 60;      // UTF-16 units of context on each side
  const DOC_ROWS = 500;    // documents listed; the rest are counted
  let asked = 0;
  let shown = null;        // {hits, order, page, query}

  const store = doc => window.velmorStore.load(doc + 1);
  const say = (text, error) => { status.textContent = text; status.classList.toggle('error', !!error); };

  // A hit's line: [left, hit, right], blanks in a row as one, CONTEXT
  // units each side, never cut through a surrogate pair.
  function lineOf(s, start, length) {
    const first = s.starts[start], last = start + length - 1;
    const end = s.starts[last] + s.tokens[3 * last + 1];
    const blank = t => t.replace(/\s+/g, ' ');
    let left = blank(s.text.slice(Math.max(0, first - 2 * CONTEXT), first)).slice(-CONTEXT);
    let right = blank(s.text.slice(end, end + 2 * CONTEXT)).slice(0, CONTEXT);
    if (/^[\udc00-\udfff]/.test(left)) left = left.slice(1);
    if (/[\ud800-\udbff]$/.test(right)) right = right.slice(0, -1);
    return [left, blank(s.text.slice(first, end)), right];
  }

  // Documents read a few at a time, so reading overlaps; `each` hears
  // every document's store.
  async function eachStore(docs, each, progress) {
    for (let i = 0; i < docs.length; i += 8) {
      const batch = docs.slice(i, i + 8);
      const got = await Promise.all(batch.map(store));
      got.forEach((s, k) => each(batch[k], s));
      if (progress) progress(Math.min(i + 8, docs.length), docs.length);
    }
  }
  const docsOf = (hits, order) => Array.from(new Set(Array.from(order, h => hits.docs[h])));

  // Sorting: by the words the query names (their ranks, which are the
  // index's alphabetical order: no text needs reading), or by the word
  // just left or right of the hit, read from the stores; ties keep text
  // order.
  async function sortBy(how, ask) {
    const { hits } = shown;
    const n = hits.docs.length;
    const order = Array.from({ length: n }, (_, i) => i);
    if (how === 'text') return order;
    let key;
    if (how === 'hit') key = hits.keys ? h => hits.keys[h] : () => [];
    else {
      const side = new Int32Array(n).fill(-1);
      const byDoc = new Map();
      order.forEach(h => { const d = hits.docs[h]; if (!byDoc.has(d)) byDoc.set(d, []); byDoc.get(d).push(h); });
      await eachStore(Array.from(byDoc.keys()), (doc, s) => {
        const words = s.tokens.length / 3;
        for (const h of byDoc.get(doc)) {
          const at = how === '1L' ? hits.starts[h] - 1 : hits.starts[h] + hits.lengths[h];
          if (at >= 0 && at < words) side[h] = s.tokens[3 * at + 2];
        }
      }, (done, all) => { if (ask === asked) say('sorting: read ' + fmt(done) + ' of ' + fmt(all) + ' documents'); });
      key = h => [side[h]];
    }
    return order.sort((a, b) => {
      const x = key(a), y = key(b);
      for (let i = 0; i < Math.min(x.length, y.length); i++) if (x[i] !== y[i]) return x[i] - y[i];
      return x.length - y.length || a - b;
    });
  }

  function summary() {
    const { hits, perDoc } = shown;
    return fmt(hits.docs.length) + (hits.docs.length === 1 ? ' hit' : ' hits') + ' in ' + fmt(perDoc.size) +
      (perDoc.size === 1 ? ' document' : ' documents');
  }

  async function drawLines() {
    const { hits, order, page } = shown;
    const ask = asked;
    const from = page * PER_PAGE, to = Math.min(order.length, from + PER_PAGE);
    const part = Array.from(order.slice(from, to));
    const stores = new Map();
    await eachStore(docsOf(hits, part), (doc, s) => stores.set(doc, s));
    await docTitles().catch(() => null);
    if (ask !== asked) return;
    const table = el('table', { class: 'k', id: 'query-table' }, el('tbody'));
    for (const h of part) {
      const doc = hits.docs[h], s = stores.get(doc);
      const [left, hit, right] = lineOf(s, hits.starts[h], hits.lengths[h]);
      const href = pageHref(doc) + '#n=' + hits.starts[h] + '.' + hits.lengths[h];
      table.tBodies[0].append(el('tr', null, el('td', null, el('span', null, left)),
        el('td', null, el('a', { href, title: docName(titles(), doc) }, hit)), el('td', null, right)));
    }
    const pages = Math.ceil(order.length / PER_PAGE);
    const step = (label, to, off) => {
      const b = el('button', { type: 'button', disabled: off }, label);
      b.addEventListener('click', () => { shown.page = to; drawLines(); });
      return b;
    };
    const sorts = ['text', 'hit', '1L', '1R'].map(how => {
      const b = el('button', { type: 'button', 'aria-pressed': String(shown.sort === how), 'data-sort': how },
        how === 'text' ? 'text order' : how);
      b.addEventListener('click', async () => {
        const ask = ++asked;
        shown.order = await sortBy(how, ask);
        if (ask !== asked) return;
        Object.assign(shown, { sort: how, page: 0 });
        say(summary());
        drawLines();
      });
      return b;
    });
    const save = saveButton('Save as TSV', 'query ' + shown.query, async () => {
      const rows = [['document', 'title', 'left', 'hit', 'right']];
      const all = Array.from(shown.order);
      const docs = docsOf(hits, all), lines = new Map();
      const byDoc = new Map();
      all.forEach(h => { const d = hits.docs[h]; if (!byDoc.has(d)) byDoc.set(d, []); byDoc.get(d).push(h); });
      await eachStore(docs, (doc, s) => { for (const h of byDoc.get(doc)) lines.set(h, lineOf(s, hits.starts[h], hits.lengths[h])); },
        (done, n) => say('saving: read ' + fmt(done) + ' of ' + fmt(n) + ' documents'));
      const names = await docTitles().catch(() => null);
      for (const h of all) rows.push([hits.docs[h] + 1, docName(names, hits.docs[h]), ...lines.get(h)]);
      say(summary());
      return rows;
    });
    const bar = el('div', { class: 'sort kwicbar' },
      el('span', { class: 'count' }, 'lines ' + fmt(from + 1) + '\u2013' + fmt(to) + ' of ' + fmt(order.length)),
      step('\u2039 previous', page - 1, page === 0), step('next \u203a', page + 1, page + 1 >= pages),
      el('span', { class: 'levels' }, 'Sort by', ...sorts), save);
    linesBox.replaceChildren(el('h2', null, 'Lines'), bar, table);
  }

  async function drawDocs() {
    const { perDoc } = shown;
    const names = await docTitles().catch(() => null);
    const rows = Array.from(perDoc, ([doc, [count, first]]) => [doc, count, first])
      .sort((a, b) => b[1] - a[1] || a[0] - b[0]);
    const { hits } = shown;
    const table = el('table', { class: 'doclist', id: 'query-docs-table' },
      el('thead', null, el('tr', null, el('th', null, '#'), el('th', null, 'document'), el('th', null, 'hits'))),
      el('tbody'));
    for (const [doc, count, first] of rows.slice(0, DOC_ROWS))
      table.tBodies[0].append(el('tr', null, el('td', null, fmt(doc + 1)),
        el('td', null, el('a', { href: pageHref(doc) + '#n=' + hits.starts[first] + '.' + hits.lengths[first] }, docName(names, doc))),
        el('td', null, fmt(count))));
    const save = saveButton('Save as TSV', 'query ' + shown.query + ' documents',
      async () => [['document', 'title', 'hits'], ...rows.map(([doc, count]) => [doc + 1, docName(names, doc), count])]);
    docsBox.replaceChildren(el('h2', null, 'Hits per document'), el('div', { class: 'sort' }, save), table);
    if (rows.length > DOC_ROWS)
      docsBox.append(el('p', { class: 'more' }, 'and ' + fmt(rows.length - DOC_ROWS) + ' documents more (all in the TSV)'));
  }

  async function go(query, isExact) {
    const ask = ++asked;
    shown = null;
    linesBox.replaceChildren();
    docsBox.replaceChildren();
    if (!query.trim()) { say(''); return; }
    say('searching\u2026');
    let result;
    try {
      result = await runQuery(query, isExact, text => { if (ask === asked) say(text + '\u2026'); });
    } catch (e) {
      if (ask === asked) say(e instanceof QueryError ? e.message : 'The query cannot be answered: ' + e.message, true);
      return;
    }
    if (ask !== asked) return;
    if (!result.hits) { say('No word of the index is ' + result.missing + ', so nothing matches.'); return; }
    const { hits } = result;
    const perDoc = new Map();
    hits.docs.forEach((doc, h) => { const e = perDoc.get(doc); if (e) e[0]++; else perDoc.set(doc, [1, h]); });
    shown = { hits, perDoc, order: Array.from(hits.docs, (_, i) => i), page: 0, sort: 'text', query };
    say(summary());
    status.dataset.total = String(hits.docs.length);
    if (!hits.docs.length) return;
    await drawLines();
    if (ask === asked) await drawDocs();
  }

  function fromAddress() {
    const p = new URLSearchParams(location.hash.slice(1));
    const query = p.get('q');
    if (query === null) return;
    input.value = query;
    exact.checked = p.get('exact') === '1';
    go(query, exact.checked);
  }
  form.addEventListener('submit', e => {
    e.preventDefault();
    const hash = '#q=' + encodeURIComponent(input.value) + (exact.checked ? '&exact=1' : '');
    if (location.hash === hash) fromAddress(); else location.hash = hash;
  });
  window.addEventListener('hashchange', fromAddress);
  fromAddress();
})();
