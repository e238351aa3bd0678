// The entries of an i_NNN.htm drawn from the data the file holds
// (site/formats.h), each when it is first seen: its counts, the documents
// where it occurs most (all on demand), its lines (concordance.js), its
// collocates and clusters, each leading to its lines. Addresses:
// i_NNN.htm#rRANK, #rRANK~c=R (the lines with collocate R),
// #rRANK~n=R1.R2~at=A (the lines in that cluster, the word at place A).
//
// The data, as site/formats.h describes it:
//   i_NNN.htm   <script type=application/json id=entry-data>
//               {first, file, tokens, docs, window: [left, right], words:
//                [[FORM, DOCS, COLLOCATES?, CLUSTERS?], ...], dp: [DP, ...]}
//     DOCS        the word's documents and counts (lines.js reads them)
//     DP          one per word: its DPnorm in thousandths, or null
//     COLLOCATES  [[RANK, FREQUENCY, DIST, FORM], ...], DIST the pairs at
//                 each distance (association.js reads it)
//     CLUSTERS    [[COUNT, AT, [RANK, ...], TEXT], ...]
'use strict';
(function () {
  const { el, fmt, entryLink, saveButton, docTitles, docName, titles, pageHref,
          collocateFilter, clusterFilter, fragment, Concordance, dispersionPlot, collocateTable,
          collocateWindow, localMeasures } = window.velmor;

  // The documents a word occurs in most, then all on demand.
  function documentTable(section, conc) {
    const docs = conc.lines.docs;
    const top = docs.length > 25 ? docs.slice().sort((a, b) => b[1] - a[1] || a[0] - b[0]).slice(0, 25).sort((a, b) => a[0] - b[0]) : docs;
    const table = el('table', { class: 'd' }, el('tbody'));
    const rowsOf = list => list.map(([doc, count]) => {
      const a = el('a', { href: pageHref(doc), 'data-doc': String(doc) }, docName(titles(), doc));
      return el('tr', null, el('td', null, a), el('td', null, fmt(count)));
    });
    const fill = list => {
      table.tBodies[0].replaceChildren(...rowsOf(list));
      docTitles().then(names => table.querySelectorAll('a[data-doc]').forEach(a => {
        a.textContent = docName(names, Number(a.dataset.doc));
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

  // The entry's own collocates and clusters when it has them; a rarer
  // word's are counted here when asked for (local_measures.js).
  function measureTables(section, rank, word, data, conc) {
    if (word.length > 2) return drawMeasures(section, word, word[2] || [], word[3] || [], data, conc);
    if (conc.lines.total < 2) return;
    const host = el('details', { class: 'measures local' }, el('summary', null, 'Collocates and clusters'));
    host.addEventListener('toggle', async () => {
      if (!host.open || host.dataset.counted) return;
      host.dataset.counted = 'yes';
      const note = el('p', { class: 'hint' }, 'counting in ' + fmt(conc.lines.docs.length) + ' documents\u2026');
      host.append(note);
      try {
        const [collocates, clusters] = await localMeasures(conc.lines);
        note.textContent = 'Counted here from the word\'s ' + fmt(conc.lines.docs.length) + ' documents: the index ' +
          'writes them only for the more frequent words.';
        drawMeasures(host, word, collocates, clusters, data, conc, 'Every word paired with this one is listed.');
        host.querySelectorAll('details').forEach(d => { d.open = true; });
      } catch (err) { note.textContent = 'the documents could not be read: ' + err.message; }
    });
    section.append(host);
  }

  function drawMeasures(host, word, collocates, clusters, data, conc, note) {
    const section = conc.section;
    if (collocates.length)
      host.append(collocateTable(collocates, word[0], data, conc.lines.total,
                                 (r, form, w) => showCollocate(conc, section, r, form, w), note));
    if (clusters.length) {
      const table = el('table', { class: 'freq clusters' });
      table.append(el('tr', null, ...['cluster', 'count', ''].map(h => el('th', null, h))));
      for (const [count, at, ranks, text] of clusters) {
        const b = el('button', { type: 'button', class: 'narrow' }, 'lines');
        b.addEventListener('click', () => showCluster(conc, section, ranks, at, text));
        table.append(el('tr', null, el('td', null, text), el('td', null, fmt(count)), el('td', null, b)));
      }
      host.append(el('details', { class: 'measures clusters' },
        el('summary', null, 'Clusters (' + clusters.length + ')'),
        el('p', { class: 'hint' }, 'Runs of 2 to 4 words within a sentence, a paragraph, a cell or an item, at least 3 times.'),
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
      const dp = data.dp ? data.dp[i] : null;
      conc.onBuild = c => {
        documentTable(section, c);
        section.append(dispersionPlot(c.lines, dp));
        measureTables(section, rank, word, data, c);
      };
      const n = conc.lines.total, d = conc.lines.docs.length;
      section.querySelector('.counts').textContent = fmt(n) + (n === 1 ? ' occurrence' : ' occurrences') + ' in ' +
        fmt(d) + (d === 1 ? ' document' : ' documents') + (dp === null || dp === undefined ? '' : ' \u00b7 DP ' + (dp / 1000).toFixed(3));
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
        showCollocate(e.conc, e.section, Number(m[2]), c ? c[3] : 'the collocate', collocateWindow());
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

  const entries = document.getElementById('entry-data');
  if (entries) drawEntries(JSON.parse(entries.textContent));
})();
