// The word lists drawn from the data their pages hold (site/formats.h):
// the A-Z pages index_NNN.htm (id=words-data) and the lists by frequency
// and of words that occur once (id=list-data); each page saves as TSV.
//
//   s_freq_NNN.htm, s_once_NNN.htm   <script ... id=list-data>
//               {from, tokens, name, words: [[FORM, RANK, COUNT, DOCS], ...]},
//               RANK less the previous row's, DOCS left out when it equals
//               COUNT, as in the A-Z rows
//   index_NNN.htm   <script ... id=words-data> {first, name, files: [[RANK,
//               F], ...], letters: [[RANK, LETTER], ...], words: [[FORM,
//               COUNT, DOCUMENTS], ...]}: the word of rank first + i is
//               words[i]; its entry is in i_(F+1) of the last pair at or
//               before its rank; a letter's heading (id=aRANK) stands before
//               the word of its RANK
'use strict';
(function () {
  const { el, fmt, pad, entryLink, saveButton } = window.velmor;

  // Word lists drawn from their data.
  function drawList(data) {
    const host = document.getElementById('word-list');
    const table = el('table', { class: 'freq' });
    table.append(el('tr', null, el('th', null, '#'), el('th', null, 'word'), el('th', null, 'count'),
      el('th', null, 'documents'), el('th', null, 'share')));
    const share = n => (100 * n / Math.max(data.tokens, 1)).toPrecision(3) + '%';
    const rows = [];
    let rank = 0;  // each row's RANK is the difference from the row before
    data.words.forEach(([form, step, count, docs = count], i) => {
      rank += step;
      const tr = el('tr', null, el('td', null, fmt(data.from + i + 1)), el('td', null, entryLink(rank, form)),
        el('td', null, fmt(count)), el('td', null, fmt(docs)), el('td', null, share(count)));
      rows.push(tr);
    });
    table.append(...rows);
    host.append(el('div', { class: 'sort' }, saveButton('Save this page as TSV', data.name, () =>
      [['#', 'word', 'count', 'documents', 'share']].concat(
        data.words.map(([form, , count, docs = count], i) => [data.from + i + 1, form, count, docs, share(count)])))), table);
  }

  // The A-Z list: rows built as one string and drawn at once, each word's
  // entry file from the page's "files", a heading before each letter.
  const escapeHtml = t => t.replace(/[&<>"]/g, c => '&#' + c.charCodeAt(0) + ';');
  function drawWords(data) {
    const host = document.getElementById('word-list');
    const { first, files, letters, words } = data;
    const html = ['<tr><th>word<th>count<th>documents'];
    for (let i = 0, f = 0, l = 0; i < words.length; i++) {
      const rank = first + i, [form, count, docs = count] = words[i];
      for (; l < letters.length && letters[l][0] <= rank; l++)
        html.push('<tr class=letter><th colspan=3 id=a' + letters[l][0] + '>' + escapeHtml(letters[l][1]));
      while (f + 1 < files.length && files[f + 1][0] <= rank) f++;
      html.push('<tr><td><a href=i_' + pad(files[f][1] + 1, 3) + '.htm#r' + rank + '>' + escapeHtml(form) +
        '</a><td>' + fmt(count) + '<td>' + fmt(docs));
    }
    const table = el('table', { class: 'words' });
    table.innerHTML = html.join('');
    host.replaceChildren(el('div', { class: 'sort' }, saveButton('Save this page as TSV', data.name, () =>
      [['word', 'count', 'documents']].concat(words.map(([form, count, docs = count]) => [form, count, docs])))), table);
    // The address's letter was not there when the browser looked for it.
    const at = /^#a\d+$/.test(location.hash) && document.getElementById(location.hash.slice(1));
    if (at) at.scrollIntoView();
  }

  const list = document.getElementById('list-data');
  if (list) drawList(JSON.parse(list.textContent));
  const words = document.getElementById('words-data');
  if (words) drawWords(JSON.parse(words.textContent));
})();
