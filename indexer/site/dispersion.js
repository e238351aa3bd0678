// An entry's dispersion plot: the documents the word occurs in, longest
// first, one strip each, with a mark where each occurrence stands along
// the document (its word number over the document's words), drawn from
// the stored texts when the reader opens it. What it reads (site/formats.h):
//   lookup/sizes.js   ([words of each document]): F.documentSizes
//   the word's DOCS and each document's stored words, through lines.js
'use strict';
(function () {
  const { F, el, fmt, load, docTitles, docName, titles } = window.velmor;
  const STRIPS = 20;  // documents plotted; the rest are counted in a note
  const BINS = 500;   // places along a strip: marks closer than that merge
  const SVG = 'http://www.w3.org/2000/svg';

  // The documents to plot: the longest first, ties in document order.
  function longestFirst(docs, sizes) {
    return docs.slice().sort((a, b) => (sizes[b[0]] || 0) - (sizes[a[0]] || 0) || a[0] - b[0]);
  }
  // Where along a strip each occurrence stands, 0 to BINS - 1, each once:
  // a word 5,000 times in one document is as many marks as places.
  function places(at, words) {
    const seen = new Set();
    for (const tok of at) seen.add(Math.min(BINS - 1, Math.floor((tok + 0.5) / Math.max(words, 1) * BINS)));
    return Array.from(seen).sort((a, b) => a - b);
  }
  function strip(marks, label) {
    const svg = document.createElementNS(SVG, 'svg');
    const title = document.createElementNS(SVG, 'title');
    title.textContent = label;
    svg.append(title);
    svg.setAttribute('viewBox', '0 0 ' + BINS + ' 10');
    svg.setAttribute('preserveAspectRatio', 'none');
    const path = document.createElementNS(SVG, 'path');
    path.setAttribute('d', marks.map(x => 'M' + (x + 0.5) + ' 0v10').join(''));
    svg.append(path);
    return svg;
  }

  // Fills `box` for the word whose lines `lines` finds (lines.js).
  async function drawPlot(box, lines, dp) {
    const sizes = await load(F.documentSizes.start, F.documentSizes.callback);
    const shown = longestFirst(lines.docs, sizes).slice(0, STRIPS);
    const rows = await Promise.all(shown.map(async ([doc, count]) => {
      const at = await lines.at(doc);
      const words = sizes[doc] || 0;
      const label = fmt(count) + ' of ' + fmt(words) + ' words';
      const name = el('span', { class: 'name', 'data-doc': String(doc) }, docName(titles(), doc));
      return el('div', { class: 'strip' }, name, el('span', { class: 'n', title: label }, fmt(count)),
        strip(places(at, words), label));
    }));
    const more = lines.docs.length - shown.length;
    box.replaceChildren(el('p', { class: 'hint' }, (dp === null || dp === undefined ? '' :
      'DP ' + (dp / 1000).toFixed(3) + ' (0: spread over the documents as their sizes are; 1: all in one document). ') +
      'Each strip is a document, longest first, from its start on the left to its end on the right; ' +
      'a mark is an occurrence.'), el('div', { class: 'plot' }, ...rows));
    if (more > 0) box.append(el('p', { class: 'more' }, 'and ' + fmt(more) + ' more ' + (more === 1 ? 'document' : 'documents') +
      ', none longer'));
    docTitles().then(names => box.querySelectorAll('.name[data-doc]').forEach(s => {
      s.textContent = docName(names, Number(s.dataset.doc));
    }), () => {});
  }

  // A closed <details> under the entry's documents, drawn when first opened:
  // it reads up to STRIPS stored texts, the longest of the word's.
  function dispersionPlot(lines, dp) {
    const body = el('div', { class: 'plotbox' }, el('p', { class: 'hint' }, 'reading the documents\u2026'));
    const details = el('details', { class: 'measures dispersion' },
      el('summary', null, 'Dispersion' + (dp === null || dp === undefined ? '' : ': DP ' + (dp / 1000).toFixed(3))), body);
    details.addEventListener('toggle', () => {
      if (!details.open || details.dataset.drawn) return;
      details.dataset.drawn = 'true';
      drawPlot(body, lines, dp).catch(err => body.replaceChildren(el('p', { class: 'hint' }, 'The plot cannot be drawn: ' + err.message)));
    });
    return details;
  }

  Object.assign(window.velmor, { dispersionPlot, dispersionPlaces: places, longestFirst });
})();
