// The word lists drawn from the data their pages hold (site/formats.h):
// the A-Z pages index_NNN.htm (id=words-data) and the lists by frequency
// and of words that occur once (id=list-data); each page saves as TSV.
//
//   s_freq_NNN.htm, s_once_NNN.htm   <script ... id=list-data>
//               {from, tokens, name, words: [[FORM, RANK, COUNT, DP, DOCS],
//               ...]}, RANK less the previous row's, DP the word's DPnorm
//               in thousandths (null when the corpus has fewer than two
//               documents), DOCS left out when it equals COUNT, as in the
//               A-Z rows
//   index_NNN.htm   <script ... id=words-data> {first, name, files: [[RANK,
//               F], ...], letters: [[RANK, LETTER], ...], words: [[FORM,
//               COUNT, DP, DOCUMENTS], ...]}: the word of rank first + i is
//               words[i]; its entry is in i_(F+1) of the last pair at or
//               before its rank; a letter's heading (id=aRANK) stands before
//               the word of its RANK
'use strict';
(function () {
  const velmor = window.velmor;
  const { F, siteFile, el, fmt, entryLink, saveButton } = velmor;

  // Dispersion, Gries' DPnorm: thousandths in the data, shown as 0.123; a
  // saved list holds the number.
  const DP_TITLE = 'dispersion (DPnorm): 0 spread over the documents as their sizes are, 1 all in one document';
  const dpValue = dp => (dp === null || dp === undefined ? '' : dp / 1000);
  const dpText = dp => (dp === null || dp === undefined ? '\u2013' : (dp / 1000).toFixed(3));
  const dpHead = () => el('th', { title: DP_TITLE }, 'DP');

  // Word lists drawn from their data.
  function drawList(data) {
    const host = document.getElementById('word-list');
    const table = el('table', { class: 'freq' });
    table.append(el('tr', null, el('th', null, '#'), el('th', null, 'word'), el('th', null, 'count'),
      el('th', null, 'documents'), el('th', null, 'share'), dpHead()));
    const share = n => (100 * n / Math.max(data.tokens, 1)).toPrecision(3) + '%';
    const rows = [];
    let rank = 0;  // each row's RANK is the difference from the row before
    data.words.forEach(([form, step, count, dp, docs = count], i) => {
      rank += step;
      const tr = el('tr', null, el('td', null, fmt(data.from + i + 1)), el('td', null, entryLink(rank, form)),
        el('td', null, fmt(count)), el('td', null, fmt(docs)), el('td', null, share(count)), el('td', null, dpText(dp)));
      rows.push(tr);
    });
    table.append(...rows);
    const head = ['#', 'word', 'count', 'documents', 'share', 'DP'];
    // The whole list in the order of its pages: by falling count, ties in
    // rank order; the list of words that occur once is its last part.
    const once = /^s_once/.test(data.name);
    const whole = async () => {
      const rows = (await velmor.everyRow()).filter(r => !once || r[velmor.COUNT] === 1)
        .sort((a, b) => b[velmor.COUNT] - a[velmor.COUNT] || a[velmor.RANK] - b[velmor.RANK]);
      return [head].concat(rows.map((r, i) =>
        [i + 1, velmor.shown(r), r[velmor.COUNT], r[velmor.DOCS], share(r[velmor.COUNT]), dpValue(r[velmor.DP])]));
    };
    host.append(el('div', { class: 'sort' }, saveButton('Save this page as TSV', data.name, () =>
      [head].concat(data.words.map(([form, , count, dp, docs = count], i) =>
        [data.from + i + 1, form, count, docs, share(count), dpValue(dp)]))),
      ' ', saveButton('Save the whole list as TSV', once ? 'words_once' : 'words_by_frequency', whole)), table);
  }

  // The A-Z list: rows built as one string and drawn at once, each word's
  // entry file from the page's "files", a heading before each letter.
  const escapeHtml = t => t.replace(/[&<>"]/g, c => '&#' + c.charCodeAt(0) + ';');
  function drawWords(data) {
    const host = document.getElementById('word-list');
    const { first, files, letters, words } = data;
    const html = ['<tr><th>word<th>count<th>documents<th title="' + DP_TITLE + '">DP'];
    for (let i = 0, f = 0, l = 0; i < words.length; i++) {
      const rank = first + i, [form, count, dp, docs = count] = words[i];
      for (; l < letters.length && letters[l][0] <= rank; l++)
        html.push('<tr class=letter><th colspan=4 id=a' + letters[l][0] + '>' + escapeHtml(letters[l][1]));
      while (f + 1 < files.length && files[f + 1][0] <= rank) f++;
      html.push('<tr><td><a href=' + siteFile(F.entryPage, files[f][1] + 1) + '#r' + rank + '>' + escapeHtml(form) +
        '</a><td>' + fmt(count) + '<td>' + fmt(docs) + '<td>' + dpText(dp));
    }
    const table = el('table', { class: 'words' });
    table.innerHTML = html.join('');
    const head = ['word', 'count', 'documents', 'DP'];
    const whole = async () => [head].concat((await velmor.everyRow())
      .sort((a, b) => a[velmor.RANK] - b[velmor.RANK])
      .map(r => [velmor.shown(r), r[velmor.COUNT], r[velmor.DOCS], dpValue(r[velmor.DP])]));
    host.replaceChildren(el('div', { class: 'sort' }, saveButton('Save this page as TSV', data.name, () =>
      [head].concat(words.map(([form, count, dp, docs = count]) => [form, count, docs, dpValue(dp)]))),
      ' ', saveButton('Save the whole list as TSV', 'words_a_to_z', whole)), table);
    // The address's letter was not there when the browser looked for it.
    const at = /^#a\d+$/.test(location.hash) && document.getElementById(location.hash.slice(1));
    if (at) at.scrollIntoView();
  }

  const list = document.getElementById('list-data');
  if (list) drawList(JSON.parse(list.textContent));
  const words = document.getElementById('words-data');
  if (words) drawWords(JSON.parse(words.textContent));
})();
