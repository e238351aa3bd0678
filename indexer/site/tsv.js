// Saving lists as TSV from file://: any table of the page marked
// class=tsv gets a button that saves it as it stands, and the other
// scripts make buttons that save the rows they give.
'use strict';
(function () {
  const { el } = window.velmor;

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

  setupTables();
  window.velmor.saveButton = saveButton;
})();
