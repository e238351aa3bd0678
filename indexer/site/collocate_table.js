// An entry's collocates as the reader wants them: the window on each side,
// the measure, the least pairs and the least frequency of a collocate, and
// stop words left out. The entry holds each collocate's pairs at every
// distance (association.js reads them), so a change re-ranks the table at
// once, with nothing read again. The settings are the page's, shared by
// every entry on it, and kept in localStorage for the next page.
'use strict';
(function () {
  const { F, el, fmt, saveButton, entryLink, MEASURES, rankCollocates } = window.velmor;
  const KEY = 'velmor.collocates', STOP_KEY = 'velmor.stopWords';
  // Function words of the languages the samples are in; the reader edits
  // them, and they are left out only when asked.
  const STOP_WORDS = 'a an and are as at be but by for from had has have he her his i in is it its of on or ' +
    'she that the their them they this to was were which with you ' +
    'der die das und in den von zu mit sich des auf für ist im dem nicht ein eine als auch es an ' +
    'in je na se so v z za da ki to pa ne bi s o';
  const DEFAULTS = { left: F.maxReach, right: F.maxReach, measure: 'logdice', minTogether: F.minTogether, minFrequency: 1, useStop: false };

  const stored = (key, fallback) => {
    try { const v = localStorage.getItem(key); return v === null ? fallback : v; } catch (e) { return fallback; }
  };
  const keep = (key, value) => { try { localStorage.setItem(key, value); } catch (e) { /* private window */ } };
  function loadSettings() {
    let s = {};
    try { s = JSON.parse(stored(KEY, '{}')) || {}; } catch (e) { s = {}; }
    const out = { ...DEFAULTS };
    for (const k of Object.keys(DEFAULTS)) if (typeof s[k] === typeof DEFAULTS[k]) out[k] = s[k];
    out.left = Math.min(F.maxReach, Math.max(0, out.left | 0));
    out.right = Math.min(F.maxReach, Math.max(0, out.right | 0));
    if (!MEASURES[out.measure]) out.measure = DEFAULTS.measure;
    return out;
  }
  const settings = loadSettings();
  let stopText = stored(STOP_KEY, STOP_WORDS);
  const stopSet = () => new Set(stopText.toLowerCase().split(/[\s,;]+/).filter(Boolean));
  const tables = new Set();  // redraw of each table on the page
  function change(patch) {
    Object.assign(settings, patch);
    keep(KEY, JSON.stringify(settings));
    for (const redraw of tables) redraw();
  }

  function controls() {
    const reach = (name, label) => {
      const s = el('select', { 'aria-label': label, 'data-set': name });
      for (let n = 0; n <= F.maxReach; n++) s.append(el('option', { value: String(n) }, String(n)));
      s.value = String(settings[name]);
      s.addEventListener('change', () => change({ [name]: Number(s.value) }));
      return s;
    };
    const measure = el('select', { 'aria-label': 'measure', 'data-set': 'measure' });
    for (const [k, m] of Object.entries(MEASURES)) measure.append(el('option', { value: k }, m.label));
    measure.value = settings.measure;
    measure.addEventListener('change', () => change({ measure: measure.value }));
    const least = (name, label) => {
      const i = el('input', { type: 'number', min: '1', step: '1', value: String(settings[name]), 'aria-label': label, 'data-set': name });
      i.addEventListener('change', () => change({ [name]: Math.max(1, Math.floor(Number(i.value)) || 1) }));
      return i;
    };
    const useStop = el('input', { type: 'checkbox', checked: settings.useStop, 'data-set': 'useStop' });
    useStop.addEventListener('change', () => change({ useStop: useStop.checked }));
    const list = el('textarea', { rows: 3, 'aria-label': 'stop words', hidden: true, value: stopText });
    list.addEventListener('change', () => { stopText = list.value; keep(STOP_KEY, stopText); change({}); });
    const edit = el('button', { type: 'button', 'aria-expanded': 'false' }, 'edit');
    edit.addEventListener('click', () => {
      list.hidden = !list.hidden;
      edit.setAttribute('aria-expanded', String(!list.hidden));
    });
    return el('div', { class: 'collocset' },
      el('label', null, 'left ', reach('left', 'words to the left')), ' ',
      el('label', null, 'right ', reach('right', 'words to the right')), ' ',
      el('label', null, 'by ', measure), ' ',
      el('label', null, 'together \u2265 ', least('minTogether', 'least pairs')), ' ',
      el('label', null, 'frequency \u2265 ', least('minFrequency', 'least frequency of a collocate')), ' ',
      el('label', null, useStop, ' leave out stop words'), ' ', edit, list);
  }

  // The collocates `rows` of a word of `total` occurrences named `name`;
  // `show(rank, form, window)` narrows its lines to one.
  function collocateTable(rows, name, data, total, show, note) {
    const table = el('table', { class: 'freq colloc' });
    const hint = el('p', { class: 'hint' });
    const summary = el('summary');
    const bar = controls();
    let ranked = [];
    function redraw() {
      const s = settings;
      // Another entry's controls may have made the change.
      for (const i of bar.querySelectorAll('[data-set]')) {
        if (i.type === 'checkbox') i.checked = s[i.dataset.set]; else i.value = String(s[i.dataset.set]);
      }
      bar.querySelector('textarea').value = stopText;
      ranked = rankCollocates(rows, total, data.tokens, { ...s, stop: s.useStop ? stopSet() : null });
      const label = MEASURES[s.measure].label;
      summary.textContent = 'Collocates (' + ranked.length + ' of ' + rows.length + ')';
      table.replaceChildren(el('tr', null, ...['collocate', 'together', 'frequency', MEASURES[s.measure].short, ''].map(h => el('th', null, h))));
      for (const c of ranked) {
        const b = el('button', { type: 'button', class: 'narrow', 'data-c': String(c.rank) }, 'lines');
        b.addEventListener('click', () => show(c.rank, c.form, [s.left, s.right]));
        table.append(el('tr', null, el('td', null, entryLink(c.rank, c.form)), el('td', null, fmt(c.together)),
          el('td', null, fmt(c.frequency)), el('td', null, c.score.toFixed(2)), el('td', null, b)));
      }
      hint.textContent = 'Words within ' + s.left + ' to the left and ' + s.right + ' to the right, each occurrence of ' +
        'either paired once, by ' + label + '; expected pairs E = frequency of each \u00d7 ' + (s.left + s.right) +
        ' / words in the corpus. ' + (note || 'The indexer kept the best ' + rows.length + ' by any measure in 5 and 5.');
    }
    redraw();
    tables.add(redraw);
    const save = saveButton('Save collocates as TSV', 'collocates_' + name, () =>
      [['collocate', 'together', 'frequency', MEASURES[settings.measure].label]].concat(
        ranked.map(c => [c.form, c.together, c.frequency, Number(c.score.toFixed(4))])));
    return el('details', { class: 'measures collocates' }, summary, hint, bar, el('div', { class: 'sort' }, save), table);
  }

  const collocateWindow = () => [settings.left, settings.right];
  Object.assign(window.velmor, { collocateTable, collocateWindow });
})();
