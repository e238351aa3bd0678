// Saving lists as TSV from file://: any table of the page marked
// class=tsv gets a button that saves it as it stands, and the other
// scripts make buttons that save the rows they give.
'use strict';
(function () {
  const { el } = window.velmor;

  // One cell. The lists give their counts and measures as numbers, written
  // as such (4528, -1.25: no thousands separator, which a spreadsheet set
  // for decimal commas reads as 4.528), and words, titles and lines as
  // strings. A string that a spreadsheet would take for a formula (= + -
  // @, or a tab or carriage return before one) gets a leading ', so
  // "=HYPERLINK(...)" or "-2+3" as a title stays text; a line break or
  // tab inside is a blank; a quote makes the cell a quoted one, its quotes
  // doubled, so that "Title" cannot swallow the rows after it.
  const BREAKS = /[\t\n\v\f\r\u0085\u2028\u2029]+/g;
  function cell(value) {
    if (typeof value === 'number') return String(value);
    let text = String(value);
    if (/^[=+\-@\t\r]/.test(text)) text = "'" + text;
    text = text.replace(BREAKS, ' ');
    return text.includes('"') ? '"' + text.replace(/"/g, '""') + '"' : text;
  }
  // TSV that a spreadsheet opens as UTF-8: a byte order mark, tabs between
  // cells, CR LF after each row.
  function tsv(rows) {
    return '\ufeff' + rows.map(r => r.map(cell).join('\t')).join('\r\n') + '\r\n';
  }
  function save(name, rows) {
    const blob = new Blob([tsv(rows)], { type: 'text/tab-separated-values;charset=utf-8' });
    const a = el('a', { href: URL.createObjectURL(blob), download: window.velmor.fileName(name, '.tsv') });
    document.body.append(a);
    a.click();
    setTimeout(() => { URL.revokeObjectURL(a.href); a.remove(); }, 1000);
  }
  function saveButton(label, name, rows) {
    const b = el('button', { type: 'button', class: 'save' }, label);
    b.addEventListener('click', async () => save(name, await rows()));
    return b;
  }

  // The columns of the indexer's own tables (s_docs.htm, s_ngrams.htm)
  // that hold numbers, by their heading; every other column is text.
  const NUMBER_COLUMNS = new Set(['#', 'words', 'distinct', 'type/token', 'lines', 'bytes', 'count']);
  // A table's cells as shown ([heading, ...] first), its number columns'
  // cells as numbers: "4,528" is 4528.
  function typedRows(cells) {
    const numeric = cells.length ? cells[0].map(h => NUMBER_COLUMNS.has(h)) : [];
    return cells.map((row, r) => row.map((text, c) => {
      if (!r || !numeric[c] || !text) return text;
      const n = Number(text.replace(/,/g, ''));
      return Number.isNaN(n) ? text : n;
    }));
  }
  function tableRows(table) {
    return typedRows(Array.from(table.rows, tr => Array.from(tr.cells, td => td.textContent.trim())));
  }
  function setupTables() {
    document.querySelectorAll('table.tsv').forEach(table => {
      const bar = el('div', { class: 'sort' }, saveButton('Save as TSV', table.dataset.name || 'list', () => tableRows(table)));
      table.before(bar);
    });
  }

  setupTables();
  Object.assign(window.velmor, { saveButton, tsv, typedRows });
})();
