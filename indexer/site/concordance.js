// One entry's concordance: every line of the word, a page at a time,
// sorted by the words to the left or right at up to three levels (1L, then
// 2L ...), or narrowed to a filter (a collocate, a cluster); a toolbar to
// page and sort, and the lines saved as TSV. entry.js makes one per entry.
'use strict';
(function () {
  const { el, fmt, saveButton, docTitles, docName, pageHref, Lines, decodeDocs, lineOf, savedLineOf, fragment } =
    window.velmor;
  const PAGE = 50;  // lines drawn at a time

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
      if (this.onBuild) this.onBuild(this);  // what the entry shows beside the lines
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
    // A document that cannot be read ends the reading with a word to the
    // reader, not with a status that waits for ever.
    async go(page) {
      try { await this.turn(page); } catch (err) { this.tell('the lines could not be read: ' + err.message); }
    }
    async rebuild() {
      try { await this.reorder(); } catch (err) { this.tell('the lines could not be read: ' + err.message); }
    }
    async turn(page) {
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
        const [left, word, right, from] = lineOf(s, tok);
        const tr = el('tr', { 'data-d': String(doc), 'data-t': String(tok) });
        if (this.sorted()) tr.dataset.k = this.keyOf(s.tokens, tok).join(' ');
        // Where each side stands in its document, for a double-click on it.
        const at = o => ({ 'data-n': String(doc + 1), 'data-o': String(o) });
        tr.append(el('td', null, el('span', at(from), left)),
          el('td', null, el('a', { href: pageHref(doc) + fragment(s, tok) }, word)),
          el('td', at(s.starts[tok] + word.length), right));
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
    async reorder() {
      if (!this.sorted() && !this.filter) { this.view = null; return this.turn(0); }
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
      return this.turn(0);
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
        const [left, word, right] = savedLineOf(s, tok);
        rows.push([docName(titles, doc), Number(fragment(s, tok).slice(2).split('.')[0]) + 1, left, word, right]);
      }
      this.go(this.page);
      return rows;
    }
  }

  window.velmor.Concordance = Concordance;
})();
