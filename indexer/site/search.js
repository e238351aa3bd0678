// The search box in the header bar of every page: words by the beginning
// of their search key, or by a pattern with * and ? (search_data.js finds
// them), each with its count; arrows, Enter and Escape work as in a menu.
'use strict';
(function () {
  const { el, fmt, hrefOf, entryStarts, offers, shown, RANK, COUNT } = window.velmor;
  const box = document.getElementById('q');
  const hits = document.getElementById('hits');
  if (!box || !hits) return;
  let asked = 0, on = -1;
  const links = () => hits.querySelectorAll('a');
  function choose(i) {
    const all = links();
    if (!all.length) return;
    on = (i + all.length) % all.length;
    all.forEach((a, k) => a.classList.toggle('on', k === on));
  }
  const note = text => el('li', null, el('span', null, text));
  box.addEventListener('input', async () => {
    const ask = ++asked;
    const typed = box.value.trim();
    if (!typed) { hits.replaceChildren(); return; }
    let found, firsts;
    try {
      [found, firsts] = await Promise.all([offers(typed, 50), entryStarts()]);
    } catch (err) {
      // An answer that cannot be given says why: the list never stays as
      // it was for what was typed before.
      if (ask === asked) { on = -1; hits.replaceChildren(note(err.message)); }
      return;
    }
    if (ask !== asked) return;
    const { rows, total } = found;
    on = -1;
    hits.replaceChildren(...rows.map(row =>
      el('li', null, el('a', { href: hrefOf(firsts, row[RANK]) }, shown(row), el('small', null, fmt(row[COUNT]))))));
    if (!rows.length)
      hits.append(note(/[*?]/.test(typed) ? 'no word matches' : 'no word begins so'));
    else if (total > rows.length)
      hits.prepend(note(fmt(rows.length) + ' of ' + fmt(total) + ' words, the most frequent first'));
    // What was typed is several of the index's words: which one is shown.
    if (found.note) hits.prepend(note(found.note));
    // A phrase or a pattern goes to the query page, first, so Enter takes it.
    if (/[\s"[(]/.test(typed))
      hits.prepend(el('li', null, el('a', { href: 'query.htm#q=' + encodeURIComponent(typed), class: 'phrase' },
        'Find \u201c' + typed + '\u201d in the texts', el('small', null, 'phrases'))));
  });
  box.addEventListener('keydown', e => {
    if (e.key === 'ArrowDown') { choose(on + 1); e.preventDefault(); }
    else if (e.key === 'ArrowUp') { choose(on - 1); e.preventDefault(); }
    else if (e.key === 'Enter') {
      const all = links();
      if (all.length) location.href = all[Math.max(on, 0)].href;
    } else if (e.key === 'Escape') { hits.replaceChildren(); }
  });
})();
