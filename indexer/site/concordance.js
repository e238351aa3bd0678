// The concordance: draws the entries from the data their files hold, cuts
// every line of a word from the documents' stored text (text_store.js), a
// page at a time, sorts them by the words to the left or right at any
// depth, narrows them to a collocate or a cluster, and saves every list as
// TSV. The formats it reads are described in site/formats.h:
//
//   i_NNN.htm   <script type=application/json id=entry-data>
//               {first, file, tokens, docs, window: [left, right], words:
//                [[FORM, DOCS, COLLOCATES?, CLUSTERS?], ...]}
//     DOCS        per document: 2*gap+more, then count-2 when more, in the
//                 store's digits; gap = documents passed over since the last
//     COLLOCATES  [[RANK, TOGETHER, FREQUENCY, LOGDICE, MI, FORM], ...]
//     CLUSTERS    [[COUNT, AT, [RANK, ...], TEXT], ...]
//   s_freq_NNN.htm, s_once_NNN.htm   <script ... id=list-data>
//               {from, tokens, name, words: [[FORM, RANK, COUNT, DOCS], ...]}
//   index_NNN.htm   <script ... id=words-data> {first, name, files: [[RANK,
//               F], ...], letters: [[RANK, LETTER], ...], words: [[FORM,
//               COUNT, DOCUMENTS], ...]}: the word of rank first + i is
//               words[i]; its entry is in i_(F+1) of the last pair at or
//               before its rank; a letter's heading (id=aRANK) stands before
//               the word of its RANK
//   lookup/entries.js   velmorEntries([first rank of each i_NNN.htm])
//   lookup/docs.js      velmorDocs([title of each document])
// Addresses: i_NNN.htm#rRANK, #rRANK~c=R (lines with collocate R),
// #rRANK~n=R1.R2~at=A (lines in the cluster, the word at place A).
'use strict';
(function () {
  const PAGE = 50;  // lines drawn at a time
  const CONTEXT = 60;  // UTF-16 units of context on each side
  const pad = (n, w) => String(n).padStart(w, '0');
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

  // Scripts that call back: lookup/entries.js and lookup/docs.js.
  function callback(name, file) {
    let promise = null;
    return () => {
      if (promise) return promise;
      promise = new Promise((resolve, reject) => {
        const prior = window[name];
        window[name] = value => {
          resolve(value);
          if (prior) try { prior(value); } catch (e) { /* not waited for there */ }
        };
        const s = document.createElement('script');
        s.src = file;
        s.onerror = () => reject(new Error('missing ' + file));
        document.head.append(s);
      });
      return promise;
    };
  }
  const entryStarts = callback('velmorEntries', 'lookup/entries.js');
  const titlesLoader = callback('velmorDocs', 'lookup/docs.js');
  let titlesNow = null;  // once they are here, rows are drawn with them
  const docTitles = () => titlesLoader().then(t => (titlesNow = t));
  const docName = (titles, doc) => (titles && titles[doc] !== undefined ? titles[doc] : 'document ' + fmt(doc + 1));
  const pageHref = doc => 'page_' + pad(doc + 1, 4) + '.htm';

  async function entryHref(rank, suffix) {
    const starts = await entryStarts();
    let lo = 0, hi = starts.length - 1;
    while (lo < hi) {
      const mid = (lo + hi + 1) >> 1;
      if (starts[mid] <= rank) lo = mid; else hi = mid - 1;
    }
    return 'i_' + pad(lo + 1, 3) + '.htm#r' + rank + (suffix || '');
  }
  function entryLink(rank, text, suffix) {
    const a = el('a', { href: '#r' + rank + (suffix || '') }, text);
    entryHref(rank, suffix).then(h => { a.href = h; }, () => {});
    return a;
  }

  // TSV that a spreadsheet opens as UTF-8: a byte order mark, tabs between
  // cells, no tab or line end inside one.
  function tsv(rows) {
    const clean = v => String(v).replace(/[\t\r\n]+/g, ' ');
    return '\ufeff' + rows.map(r => r.map(clean).join('\t')).join('\r\n') + '\r\n';
  }
  function save(name, rows) {
    const blob = new Blob([tsv(rows)], { type: 'text/tab-separated-values;charset=utf-8' });
    const a = el('a', { href: URL.createObjectURL(blob), download: name.replace(/[^\w.-]+/g, '_') + '.tsv' });
    document.body.append(a);
    a.click();
    setTimeout(() => { URL.revokeObjectURL(a.href); a.remove(); }, 1000);
  }
  function saveButton(label, name, rows) {
    const b = el('button', { type: 'button', class: 'save' }, label);
    b.addEventListener('click', async () => save(name, await rows()));
    return b;
  }
  // Any table of the page marked for it saves as it stands.
  function tableRows(table) {
    return Array.from(table.rows, tr => Array.from(tr.cells, td => td.textContent.trim()));
  }
  function setupTables() {
    document.querySelectorAll('table.tsv').forEach(table => {
      const bar = el('div', { class: 'sort' }, saveButton('Save as TSV', table.dataset.name || 'list', () => tableRows(table)));
      table.before(bar);
    });
  }

  // Word lists drawn from their data.
  function drawList(data) {
    const host = document.getElementById('word-list');
    const table = el('table', { class: 'freq' });
    table.append(el('tr', null, el('th', null, '#'), el('th', null, 'word'), el('th', null, 'count'),
      el('th', null, 'documents'), el('th', null, 'share')));
    const share = n => (100 * n / Math.max(data.tokens, 1)).toPrecision(3) + '%';
    const rows = [];
    data.words.forEach(([form, rank, count, docs], i) => {
      const tr = el('tr', null, el('td', null, fmt(data.from + i + 1)), el('td', null, entryLink(rank, form)),
        el('td', null, fmt(count)), el('td', null, fmt(docs)), el('td', null, share(count)));
      rows.push(tr);
    });
    table.append(...rows);
    host.append(el('div', { class: 'sort' }, saveButton('Save this page as TSV', data.name, () =>
      [['#', 'word', 'count', 'documents', 'share']].concat(
        data.words.map(([form, , count, docs], i) => [data.from + i + 1, form, count, docs, share(count)])))), table);
  }

  // The A-Z list: rows built as one string and drawn at once, each word's
  // entry file from the page's "files", a heading before each letter.
  const escapeHtml = t => t.replace(/[&<>"]/g, c => '&#' + c.charCodeAt(0) + ';');
  function drawWords(data) {
    const host = document.getElementById('word-list');
    const { first, files, letters, words } = data;
    const html = ['<tr><th>word<th>count<th>documents'];
    for (let i = 0, f = 0, l = 0; i < words.length; i++) {
      const rank = first + i, [form, count, docs] = words[i];
      for (; l < letters.length && letters[l][0] <= rank; l++)
        html.push('<tr class=letter><th colspan=3 id=a' + letters[l][0] + '>' + escapeHtml(letters[l][1]));
      while (f + 1 < files.length && files[f + 1][0] <= rank) f++;
      html.push('<tr><td><a href=i_' + pad(files[f][1] + 1, 3) + '.htm#r' + rank + '>' + escapeHtml(form) +
        '</a><td>' + fmt(count) + '<td>' + fmt(docs));
    }
    const table = el('table', { class: 'words' });
    table.innerHTML = html.join('');
    host.replaceChildren(el('div', { class: 'sort' }, saveButton('Save this page as TSV', data.name, () =>
      [['word', 'count', 'documents']].concat(words.map(w => w.slice(0, 3))))), table);
    // The address's letter was not there when the browser looked for it.
    const at = /^#a\d+$/.test(location.hash) && document.getElementById(location.hash.slice(1));
    if (at) at.scrollIntoView();
  }

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
            if (!keep || keep(s.tokens, tok)) state.lines.push(key ? [doc, tok, key(s.tokens, tok)] : [doc, tok]);
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
  function clusterFilter(ranks, at) {
    return (tokens, i) => {
      const first = i - at, n = tokens.length / 3;
      if (first < 0 || first + ranks.length > n) return false;
      for (let k = 0; k < ranks.length; k++) if (ranksAt(tokens, first + k) !== ranks[k]) return false;
      return true;
    };
  }

  // A line's text: the context on each side, white space squeezed, cut
  // between characters, never through a surrogate pair.
  function lineOf(s, tok) {
    const start = s.starts[tok], len = s.tokens[3 * tok + 1], text = s.text;
    let left = text.slice(Math.max(0, start - CONTEXT - 20), start).replace(/\s+/g, ' ');
    let right = text.slice(start + len, start + len + CONTEXT + 20).replace(/\s+/g, ' ');
    if (left.length > CONTEXT) left = left.slice(-CONTEXT);
    if (right.length > CONTEXT) right = right.slice(0, CONTEXT);
    if (/^[\udc00-\udfff]/.test(left)) left = left.slice(1);
    if (/[\ud800-\udbff]$/.test(right)) right = right.slice(0, -1);
    return [left, text.slice(start, start + len), right];
  }
  // page_NNNN.htm#oLINE.START.LENGTH, in UTF-16 units within the line.
  function fragment(s, tok) {
    if (!s.lineStarts) {
      const l = [0];
      for (let i = s.text.indexOf('\n'); i >= 0; i = s.text.indexOf('\n', i + 1)) l.push(i + 1);
      s.lineStarts = Int32Array.from(l);
    }
    const start = s.starts[tok], ls = s.lineStarts;
    let lo = 0, hi = ls.length - 1;
    while (lo < hi) { const mid = (lo + hi + 1) >> 1; if (ls[mid] <= start) lo = mid; else hi = mid - 1; }
    return '#o' + lo + '.' + (start - ls[lo]) + '.' + s.tokens[3 * tok + 1];
  }

  // Sort levels: "1L" is the word just before, "2R" the second after.
  const LEVELS = ['5L', '4L', '3L', '2L', '1L', '1R', '2R', '3R', '4R', '5R'];
  const offset = level => (level.endsWith('L') ? -1 : 1) * Number(level.slice(0, -1));
  function outwards(level, k) {
    const n = Number(level.slice(0, -1)) + k;
    return n <= 5 ? n + level.slice(-1) : '';
  }

  // One entry's concordance: a toolbar, the lines, a pager.
  class Concordance {
    constructor(section, rank, word, data) {
      this.section = section;
      this.lines = new Lines(rank, decodeDocs(word[1]), data.window);
      this.form = word[0];
      this.page = 0;
      this.levels = ['', '', ''];
      this.filter = null;   // {label, keep}
      this.view = null;     // a filtered scan, or every line when sorted
      this.drawn = false;
    }
    // The controls are made when the entry is first seen: a file holds
    // thousands of entries, most never looked at.
    build() {
      if (this.status) return;
      const section = this.section;
      this.status = el('span', { class: 'count' });
      this.prev = el('button', { type: 'button', 'aria-label': 'previous lines' }, '\u2039 previous');
      this.next = el('button', { type: 'button', 'aria-label': 'next lines' }, 'next \u203a');
      this.prev.addEventListener('click', () => this.go(this.page - 1));
      this.next.addEventListener('click', () => this.go(this.page + 1));
      this.selects = this.levels.map((_, k) => {
        const s = el('select', { 'aria-label': k ? 'then by' : 'sort by', 'data-level': String(k) });
        s.append(el('option', { value: '' }, k ? '\u2013' : 'text order'));
        for (const l of LEVELS) s.append(el('option', { value: l }, l));
        s.addEventListener('change', () => this.sortBy(k, s.value));
        return s;
      });
      this.note = el('p', { class: 'filter', hidden: true });
      this.table = el('table', { class: 'k' }, el('tbody'));
      const saving = saveButton('Save lines as TSV', 'lines_' + this.form, () => this.allRows());
      const bar = el('div', { class: 'sort kwicbar' }, this.status, this.prev, this.next,
        el('span', { class: 'levels' }, 'Sort by ', this.selects[0], ' then ', this.selects[1], ' then ', this.selects[2]), saving);
      section.querySelector('.kwic').append(bar, this.note, this.table);
      documentTable(section, this);
      const e = this.measures;
      if (e) measureTables(section, e.rank, e.word, e.data, this);
    }
    pages() { return Math.max(1, Math.ceil(this.count() / PAGE)); }
    count() { return this.view ? this.view.lines.length : this.lines.total; }
    sorted() { return this.levels[0] !== ''; }
    tell(text) { this.status.textContent = text; }
    async draw() {
      this.build();
      if (this.drawn) return;
      this.drawn = true;
      await this.go(this.page);
    }
    async go(page) {
      const ask = this.asked = (this.asked || 0) + 1;
      page = Math.max(0, page);
      let rows;
      if (!this.view) {
        page = Math.min(page, this.pages() - 1);
        this.tell('reading\u2026');
        rows = await this.lines.slice(page * PAGE, (page + 1) * PAGE);
      } else {
        if (!this.view.done) {
          await this.lines.scan(this.filter && this.filter.keep, (page + 1) * PAGE, null, this.view);
        }
        page = Math.min(page, this.pages() - 1);
        rows = this.view.lines.slice(page * PAGE, (page + 1) * PAGE);
      }
      if (ask !== this.asked) return;
      this.page = page;
      await this.show(rows);
      if (ask !== this.asked) return;
      const n = this.count(), first = n ? page * PAGE + 1 : 0, last = Math.min(n, (page + 1) * PAGE);
      const more = this.view && !this.view.done ? ' so far' : '';
      this.tell('lines ' + fmt(first) + '\u2013' + fmt(last) + ' of ' + fmt(n) + more);
      this.prev.disabled = page === 0;
      this.next.disabled = this.view ? this.view.done && last >= n : last >= n;
    }
    async show(rows) {
      const stores = new Map();
      await Promise.all([...new Set(rows.map(r => r[0]))].map(async d => stores.set(d, await this.lines.store(d))));
      const body = this.table.tBodies[0];
      body.replaceChildren(...rows.map(([doc, tok]) => {
        const s = stores.get(doc);
        const [left, word, right] = lineOf(s, tok);
        const tr = el('tr', { 'data-d': String(doc), 'data-t': String(tok) });
        if (this.sorted()) tr.dataset.k = this.keyOf(s.tokens, tok).join(' ');
        tr.append(el('td', null, el('span', null, left)),
          el('td', null, el('a', { href: pageHref(doc) + fragment(s, tok) }, word)), el('td', null, right));
        return tr;
      }));
    }
    keyOf(tokens, tok) {
      const n = tokens.length / 3;
      return this.levels.filter(Boolean).map(l => {
        const j = tok + offset(l);
        return j >= 0 && j < n ? tokens[3 * j + 2] : -1;
      });
    }
    // Sorting needs every line's neighbours: each of the word's documents
    // is read once, and only the ranks of the neighbours are kept.
    async rebuild() {
      if (!this.sorted() && !this.filter) { this.view = null; return this.go(0); }
      const ask = this.asked = (this.asked || 0) + 1;
      const keep = this.filter && this.filter.keep;
      let state;
      if (this.sorted()) {
        state = await this.lines.scan(keep, 0, (done, all) => {
          if (ask === this.asked) this.tell('reading documents ' + fmt(done) + ' of ' + fmt(all) + '\u2026');
        }, null, (tokens, tok) => this.keyOf(tokens, tok));
        state.lines.sort((a, b) => {
          for (let k = 0; k < a[2].length; k++) if (a[2][k] !== b[2][k]) return a[2][k] - b[2][k];
          return a[0] - b[0] || a[1] - b[1];
        });
      } else {
        state = { next: 0, lines: [] };
      }
      if (ask !== this.asked) return;
      this.view = state;
      return this.go(0);
    }
    sortBy(k, value) {
      this.build();
      this.drawn = true;
      this.levels[k] = value;
      if (k === 0) {
        // The next levels go outwards from the first, as readers expect.
        for (let j = 1; j < 3; j++) this.levels[j] = value ? outwards(value, j) : '';
      }
      if (!this.levels[0]) this.levels = ['', '', ''];
      this.selects.forEach((s, j) => { s.value = this.levels[j]; });
      return this.rebuild();
    }
    narrow(filter) {
      this.build();
      this.drawn = true;
      this.filter = filter;
      this.note.replaceChildren();
      if (filter) {
        const all = el('button', { type: 'button' }, 'show all lines');
        all.addEventListener('click', () => this.narrow(null));
        this.note.append(filter.label, ' \u00b7 ', all);
      }
      this.note.hidden = !filter;
      return this.rebuild();
    }
    async allRows() {
      const state = this.view && this.view.done ? this.view :
        await this.lines.scan(this.filter && this.filter.keep, 0, (done, all) =>
          this.tell('reading documents ' + fmt(done) + ' of ' + fmt(all) + '\u2026'));
      const titles = await docTitles().catch(() => null);
      const rows = [['document', 'line', 'left', 'word', 'right']];
      for (const [doc, tok] of state.lines) {
        const s = await this.lines.store(doc);
        const [left, word, right] = lineOf(s, tok);
        rows.push([docName(titles, doc), Number(fragment(s, tok).slice(2).split('.')[0]) + 1, left, word, right]);
      }
      this.go(this.page);
      return rows;
    }
  }

  // The documents a word occurs in most, then all on demand.
  function documentTable(section, conc) {
    const docs = conc.lines.docs;
    const top = docs.length > 25 ? docs.slice().sort((a, b) => b[1] - a[1] || a[0] - b[0]).slice(0, 25).sort((a, b) => a[0] - b[0]) : docs;
    const table = el('table', { class: 'd' }, el('tbody'));
    const rowsOf = list => list.map(([doc, count]) => {
      const a = el('a', { href: pageHref(doc), 'data-doc': String(doc) }, docName(titlesNow, doc));
      return el('tr', null, el('td', null, a), el('td', null, fmt(count)));
    });
    const fill = list => {
      table.tBodies[0].replaceChildren(...rowsOf(list));
      docTitles().then(titles => table.querySelectorAll('a[data-doc]').forEach(a => {
        a.textContent = docName(titles, Number(a.dataset.doc));
      }), () => {});
    };
    fill(top);
    // A document's name opens the page at the word's first occurrence there.
    table.addEventListener('click', async e => {
      const a = e.target.closest('a[data-doc]');
      if (!a || e.ctrlKey || e.metaKey || e.shiftKey || e.button !== 0) return;
      e.preventDefault();
      const doc = Number(a.dataset.doc);
      try {
        const at = await conc.lines.at(doc);
        location.href = pageHref(doc) + (at.length ? fragment(await conc.lines.store(doc), at[0]) : '');
      } catch (err) { location.href = pageHref(doc); }
    });
    section.querySelector('.docs-here').append(table);
    if (docs.length > top.length) {
      const b = el('button', { type: 'button', class: 'alldocs', 'aria-expanded': 'false' }, 'show all ' + fmt(docs.length) + ' documents');
      b.addEventListener('click', () => {
        const open = b.getAttribute('aria-expanded') !== 'true';
        fill(open ? docs : top);
        b.setAttribute('aria-expanded', String(open));
        b.textContent = open ? 'show the ' + top.length + ' with most occurrences' : 'show all ' + fmt(docs.length) + ' documents';
      });
      table.after(el('div', { class: 'sort' }, b));
    }
  }

  function measureTables(section, rank, word, data, conc) {
    const [left, right] = data.window;
    const collocates = word[2] || [], clusters = word[3] || [];
    if (collocates.length) {
      const table = el('table', { class: 'freq colloc' });
      table.append(el('tr', null, ...['collocate', 'together', 'frequency', 'log-Dice', 'MI', ''].map(h => el('th', null, h))));
      for (const [r, together, frequency, dice, mi, form] of collocates) {
        const b = el('button', { type: 'button', class: 'narrow', 'data-c': String(r) }, 'lines');
        b.addEventListener('click', () => showCollocate(conc, section, r, form, data.window));
        table.append(el('tr', null, el('td', null, entryLink(r, form)), el('td', null, fmt(together)),
          el('td', null, fmt(frequency)), el('td', null, dice.toFixed(2)), el('td', null, mi.toFixed(2)), el('td', null, b)));
      }
      const rows = () => [['collocate', 'together', 'frequency', 'log-Dice', 'MI']].concat(
        collocates.map(c => [c[5], c[1], c[2], c[3], c[4]]));
      section.append(el('details', { class: 'measures collocates' },
        el('summary', null, 'Collocates (' + collocates.length + ')'),
        el('p', { class: 'hint' }, 'Words within ' + left + ' to the left and ' + right + ' to the right, at least 3 times ' +
          'together, by log-Dice; MI = log2(together \u00d7 words in the corpus / (frequency of each \u00d7 ' + (left + right) + ')).'),
        el('div', { class: 'sort' }, saveButton('Save collocates as TSV', 'collocates_' + word[0], rows)), table));
    }
    if (clusters.length) {
      const table = el('table', { class: 'freq clusters' });
      table.append(el('tr', null, ...['cluster', 'count', ''].map(h => el('th', null, h))));
      for (const [count, at, ranks, text] of clusters) {
        const b = el('button', { type: 'button', class: 'narrow' }, 'lines');
        b.addEventListener('click', () => showCluster(conc, section, ranks, at, text));
        table.append(el('tr', null, el('td', null, text), el('td', null, fmt(count)), el('td', null, b)));
      }
      section.append(el('details', { class: 'measures clusters' },
        el('summary', null, 'Clusters (' + clusters.length + ')'),
        el('div', { class: 'sort' }, saveButton('Save clusters as TSV', 'clusters_' + word[0], () =>
          [['cluster', 'count']].concat(clusters.map(c => [c[3], c[0]])))), table));
    }
  }

  function showCollocate(conc, section, r, form, window) {
    section.scrollIntoView();
    return conc.narrow({ label: 'Only lines with \u201c' + form + '\u201d within ' + window[0] + ' words before or ' + window[1] + ' after',
      keep: collocateFilter(r, window) });
  }
  function showCluster(conc, section, ranks, at, text) {
    section.scrollIntoView();
    return conc.narrow({ label: 'Only lines in \u201c' + text + '\u201d', keep: clusterFilter(ranks, at) });
  }

  function drawEntries(data) {
    const host = document.getElementById('entries');
    host.replaceChildren();
    const all = new Map();  // rank -> {section, conc}
    const watcher = 'IntersectionObserver' in window ? new IntersectionObserver(seen => {
      for (const s of seen) if (s.isIntersecting) {
        const e = all.get(Number(s.target.dataset.rank));
        watcher.unobserve(s.target);
        if (e && !e.conc.drawn) e.conc.draw();
      }
    }, { rootMargin: '200px' }) : null;
    data.words.forEach((word, i) => {
      const rank = data.first + i;
      const section = el('section', { id: 'r' + rank, 'data-rank': String(rank) });
      section.append(el('h2', null, word[0]), el('p', { class: 'counts' }), el('div', { class: 'kwic' }), el('div', { class: 'docs-here' }));
      const conc = new Concordance(section, rank, word, data);
      conc.measures = { rank, word, data };
      const n = conc.lines.total, d = conc.lines.docs.length;
      section.querySelector('.counts').textContent = fmt(n) + (n === 1 ? ' occurrence' : ' occurrences') + ' in ' +
        fmt(d) + (d === 1 ? ' document' : ' documents');
      host.append(section);
      all.set(rank, { section, conc, word });
      if (watcher) watcher.observe(section); else conc.draw();
    });
    function fromAddress() {
      const m = /^#r(\d+)(?:~c=(\d+))?(?:~n=([\d.]+)~at=(\d+))?$/.exec(location.hash);
      if (!m) return;
      const e = all.get(Number(m[1]));
      if (!e) return;
      e.conc.draw();
      e.section.scrollIntoView();
      if (m[2]) {
        const c = (e.word[2] || []).find(x => x[0] === Number(m[2]));
        showCollocate(e.conc, e.section, Number(m[2]), c ? c[5] : 'the collocate', data.window);
      } else if (m[3]) {
        const ranks = m[3].split('.').map(Number);
        const c = (e.word[3] || []).find(x => x[2].join('.') === m[3]);
        showCluster(e.conc, e.section, ranks, Number(m[4]), c ? c[3] : 'the cluster');
      }
    }
    window.addEventListener('hashchange', fromAddress);
    fromAddress();
    window.velmorConcordance = all;
  }

  function start() {
    setupTables();
    const list = document.getElementById('list-data');
    if (list) drawList(JSON.parse(list.textContent));
    const words = document.getElementById('words-data');
    if (words) drawWords(JSON.parse(words.textContent));
    const entries = document.getElementById('entry-data');
    if (entries) drawEntries(JSON.parse(entries.textContent));
  }
  // After every deferred script, so that callbacks other scripts set for
  // the same look-up files are there to be chained.
  document.addEventListener('DOMContentLoaded', start);
})();
