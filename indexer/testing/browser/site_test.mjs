// Browser test of the indexer's site: writes a small multilingual corpus,
// indexes it, and walks the site in headless Chromium from file:// the way a
// reader would. Usage: node site_test.mjs BUILD_DIR [SHOTS_DIR]
import { chromium } from 'playwright-core';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import assert from 'node:assert/strict';

const build = path.resolve(process.argv[2] || 'build');
const shots = path.resolve(process.argv[3] || path.join(build, 'browser-shots'));
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'velmor-browser-'));

// The documents: each a name and its lines.
const documents = [
  ['deutsch', [
    'Die Straße ist lang, und die STRASSE ist breit.',
    'Über die Straße geht der Bär; der Bär heißt Bruno.',
    'Das Buch liegt auf der Straße. Es ist ein schöner Tag.',
    'Zuletzt: eine Straße am Meer, eine Straße im Wald.',
  ]],
  ['slovenscina', [
    'Čas je, da gremo domov. Čas teče počasi,',
    'in čaša je polna vode. Cesta je dolga, a dan je lep.',
    '',
    'Življenje ni vedno lahko, toda čas vse zaceli.',
  ]],
  ['ellinika', [
    'Ο δρόμος είναι μακρύς. ΟΔΟΣ και οδος.',
    'Η ΟΔΟΣ οδηγεί στη θάλασσα· ο δρόμος είναι ωραίος.',
  ]],
  ['markup', [
    'A page holding <script>alert("x")</script> & other "markup" must show it as text.',
    "It's O'Neill's rock'n'roll: e-mail, 3.14 and 1,000 words.",
    'Folding: GROẞE İstanbul ıslak ﬁne ǅemal Ⅻ ＡＢＣ Ǆ ΐ ᾼ.',
  ]],
  ['francais', [
    "L'utilisateur lance a.out, puis l’utilisateur lit la Zeitung.",
    "Un utilisateur, e.g. root, écrit à user@example.org; qu'il vienne jusqu'à l'heure.",
  ]],
  ['italiano', ["Dell'arte e dell’utente: un'altra Ordnung nell'anno."]],
  ['mixed', ['Đorđe i Ljubljana, Łódź lato, あめ アメ 東京, _intern 2026 Ωμέγα чай Δρόμος дом']],
];
// A word in more documents than an entry shows at first.
for (let i = 1; i <= 30; i++) {
  documents.push(['anhang_' + String(i).padStart(2, '0'), [
    'Anhang ' + i + '.',
    ...Array(i % 5).fill('Ein ruhiger Tag ohne besondere Vorkommnisse.'),
    ...Array(i % 6 ? 3 : 2).fill('Der Leuchtturm Nummer ' + i + ' leuchtet hell.'),
    'Die Ausgabe steht in a.out.',
  ]]);
}

// Text documents arrive as korvel's pages: its fixed frame around the lines,
// which stay unescaped; one document is an ordinary HTML page.
function writePages(dir) {
  for (const [name, lines] of documents) {
    const frame = ['<HTML>', '<head>', '<meta http-equiv="content-type"  content="text/HTML; charset=utf-8">',
      '<title>', 'htm_wrk\\' + name + '.htm', '</title>', '</head>', '<body>', '<pre>', ...lines,
      '</pre>', '</body>', '</html>'];
    fs.writeFileSync(path.join(dir, name + '.htm'), frame.join('\r\n') + '\r\n');
  }
  fs.writeFileSync(path.join(dir, 'zapiski.htm'), `<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Zapiski &amp; Notizen</title>
<style>p { color: red }</style><script>var skrito = "nevidno";</script></head>
<body><h1>Zapiski</h1><p>Šola je blizu&nbsp;doma. Der B&auml;r schl&auml;ft.</p><!-- komentar --></body></html>
`);
}

function index() {
  const input = path.join(work, 'htm_in');
  const out = path.join(work, 'htm_out');
  fs.mkdirSync(input);
  writePages(input);
  const env = { ...process.env };
  delete env.DISPLAY;  // no browser of the user's to open
  delete env.WAYLAND_DISPLAY;
  const indexer = path.join(build, 'velmor_01_209.exe');
  const said = execFileSync(indexer, ['--locale', 'sl', input, out], { env }).toString();
  console.log(said.trim().split('\n').map(l => '  | ' + l).join('\n'));
  return out;
}

const site = index();
const url = name => pathToFileURL(path.join(site, name)).href;
fs.mkdirSync(shots, { recursive: true });

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
const step = name => console.log('ok - ' + name);
try {
  const context = await browser.newContext({ viewport: { width: 1100, height: 700 } });
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', e => problems.push('script error: ' + e.message));
  page.on('dialog', d => { problems.push('dialog: ' + d.message()); d.dismiss(); });
  page.on('request', r => { if (!r.url().startsWith('file:')) problems.push('network: ' + r.url()); });

  // The start page and the search box.
  await page.goto(url('index.htm'));
  assert.match(await page.textContent('.totals'), /^38\D+documents/);
  await page.fill('#q', 'stra');
  await page.waitForSelector('#hits a');
  const hits = await page.$$eval('#hits a', as => as.map(a => a.firstChild.textContent));
  assert.ok(hits.includes('Straße'), 'search lists Straße: ' + hits);
  assert.ok(hits.every(h => h.toLowerCase().startsWith('str')), 'only prefix matches: ' + hits);
  await page.screenshot({ path: path.join(shots, 'search.png') });
  step('search box finds words by prefix');

  // The script's folding agrees with the indexer's keys for every word,
  // and with the indexer's search key on the cases both are tested on.
  const disagree = await page.evaluate(async () => {
    const bad = [];
    for (const row of await window.velmor.withPrefix('', 1e6)) {
      const key = row[1] || row[0], form = row[2] || key;
      if (window.velmor.fold(form) !== key || window.velmor.searchKey(form) !== row[0]) bad.push(row);
    }
    return bad;
  });
  assert.deepEqual(disagree, [], 'script folds like the indexer');
  const cases = fs.readFileSync(new URL('../../words/search_key_cases.tsv', import.meta.url), 'utf8')
    .split('\n').filter(l => l && !l.startsWith('#')).map(l => l.split('\t'))
    .map(([w, k]) => [w.replace(/\\u([0-9a-f]{4})/gi, (_, h) => String.fromCharCode(parseInt(h, 16))), k]);
  const misfolded = await page.evaluate(cases => cases.filter(([w, k]) => window.velmor.searchKey(w) !== k)
    .map(([w, k]) => [w, k, window.velmor.searchKey(w)]), cases);
  assert.deepEqual(misfolded, [], 'search keys as in search_key_cases.tsv');
  step('folding matches the indexer for every word and every search key case');

  // The box forgives accents and case, takes * and ?, and shows counts.
  async function offered(typed) {
    await page.fill('#q', typed);
    await page.waitForFunction(t => document.getElementById('q').value === t &&
      document.querySelector('#hits li'), typed);
    await page.waitForTimeout(50);
    return page.$$eval('#hits a', as => as.map(a => [a.firstChild.textContent, a.querySelector('small').textContent]));
  }
  assert.deepEqual((await offered('uber'))[0], ['Über', '1']);
  assert.equal((await offered('Bär'))[0][0], 'Bär', 'the form typed exactly comes first');
  const ung = await offered('*ung');
  assert.deepEqual(ung.map(h => h[0]).sort(), ['Ordnung', 'Zeitung']);
  assert.deepEqual((await offered('b?r')).map(h => h[0]), ['Bär']);
  assert.deepEqual((await offered('*.out')).map(h => h[0]), ['a.out']);
  step('search: "uber" offers Über, "*ung" and "b?r" match anywhere, with counts');

  // The alphabet: each letter once, digits and symbols a tile each.
  const tiles = await page.$$eval('nav.alpha a', as => as.map(a => a.textContent));
  assert.deepEqual(tiles.filter((t, i) => tiles.indexOf(t) !== i), [], 'no letter twice: ' + tiles);
  for (const t of ['0-9', '#', 'D', 'Đ', 'L', 'Ω', 'Д', 'あ', '漢']) assert.ok(tiles.includes(t), t + ' in ' + tiles);
  // In Slovenian Đ is a letter of its own and Ł files under L.
  for (const t of ['Ł', 'ア', '_']) assert.ok(!tiles.includes(t), t + ' not in ' + tiles);
  step('the alphabet shows each letter once on a mixed-script corpus');
  await offered('stra');

  await page.click('#hits a:has-text("Straße")');
  await page.waitForURL(/i_\d+\.htm#r\d+$/);
  const entry = page.locator('section:target');
  assert.equal(await entry.locator('h2').textContent(), 'Straße');
  assert.match(await entry.locator('h2 + p').textContent(), /^6 occurrences in 1 document/);
  step('a search hit opens the entry');

  // The lines, cut from the stored texts, sorted by the words around.
  const rows = entry.locator('table.k tbody tr');
  await page.waitForFunction(() => document.querySelectorAll('section:target table.k tbody tr').length === 6);
  const keys = () => rows.evaluateAll(trs => trs.map(tr => tr.dataset.k.split(' ').map(Number)));
  const ascending = ks => ks.every((k, i) => i === 0 || ks[i - 1][0] <= k[0]);
  await entry.locator('select[data-level="0"]').selectOption('1R');
  await page.waitForFunction(() => document.querySelector('section:target table.k tbody tr[data-k]'));
  assert.ok(ascending(await keys()), 'sorted by the first word to the right');
  await entry.locator('select[data-level="0"]').selectOption('1L');
  await page.waitForFunction(() => document.querySelector('section:target select[data-level="1"]').value === '2L');
  const left = await keys();
  assert.ok(ascending(left), 'sorted by the first word to the left');
  assert.equal((await rows.nth(0).locator('td').nth(0).textContent()).trim().split(/\s+/).pop(), 'der',
    'nearest left word "der" sorts first');
  await page.screenshot({ path: path.join(shots, 'entry.png') });
  step('context lines sort by the words to their right and left');

  // A context line leads to its place in the document.
  const line = rows.nth(0).locator('a');
  const wanted = await line.textContent();
  await line.click();
  await page.waitForURL(/page_\d+\.htm#o\d+\.\d+\.\d+$/);
  await page.waitForSelector('#t mark');
  assert.equal(await page.textContent('#t mark'), wanted);
  const seen = await page.$eval('#t mark', m => {
    const r = m.getBoundingClientRect();
    return r.top >= 0 && r.bottom <= innerHeight;
  });
  assert.ok(seen, 'the marked occurrence is scrolled into view');
  await page.waitForFunction(() => /of 6/.test(document.getElementById('at').textContent));
  const first = await page.$eval('#t mark', m => m.previousSibling.textContent.length);
  await page.keyboard.press('n');
  const next = await page.$eval('#t mark', m => [m.previousSibling.textContent.length, m.textContent]);
  assert.notEqual(next[0], first, 'n moves to another occurrence');
  assert.equal(await page.evaluate(w => window.velmor.fold(w), next[1]), 'strasse');
  await page.keyboard.press('p');
  assert.equal(await page.$eval('#t mark', m => m.previousSibling.textContent.length), first);
  await page.screenshot({ path: path.join(shots, 'page.png') });
  step('a context line marks its occurrence; n and p step through the others');

  // The lines of the TSV that a save button gives.
  async function savedLines(button) {
    const download = page.waitForEvent('download');
    await page.click(button);
    return fs.readFileSync(await (await download).path(), 'utf8').split('\r\n');
  }
  // A word's link opens the entry of that word.
  async function opensItsEntry(link) {
    const form = await link.textContent();
    await link.click();
    await page.waitForURL(/i_\d+\.htm#r\d+$/);
    assert.equal(await page.locator('section:target h2').textContent(), form);
  }

  // A word's entry, opened from the search box's hit for what is typed.
  async function openBySearch(typed, form) {
    await page.goto(url('index.htm'));
    await page.fill('#q', typed);
    await page.click(`#hits a:has-text("${form}")`);
    await page.waitForURL(/i_\d+\.htm#r\d+$/);
  }

  // Double-clicking words on a document page.
  async function doubleClick(word, nth = 0) {
    const box = await page.evaluate(([word, nth]) => {
      const pre = document.getElementById('t');
      const walker = document.createTreeWalker(pre, NodeFilter.SHOW_TEXT);
      let seen = 0;
      for (let node; (node = walker.nextNode());) {
        for (let at = node.data.indexOf(word); at >= 0; at = node.data.indexOf(word, at + 1)) {
          if (seen++ < nth) continue;
          const range = document.createRange();
          range.setStart(node, at + 1);
          range.setEnd(node, at + 2);
          const r = range.getBoundingClientRect();
          return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
        }
      }
      return null;
    }, [word, nth]);
    assert.ok(box, 'found ' + word);
    await page.mouse.dblclick(box.x, box.y);
    await page.waitForURL(/i_\d+\.htm#r\d+$/);
    return page.locator('section:target');
  }
  async function openDocument(name) {
    await page.goto(url('s_docs.htm'));
    await page.click(`main table a:has-text("${name}")`);
    await page.waitForSelector('#t[data-ready]');
  }

  let target = await doubleClick('Über');
  assert.equal(await target.locator('h2').textContent(), 'Über');
  step('double-click on "Über" opens its entry');

  await openDocument('ellinika');
  target = await doubleClick('οδος');
  assert.equal(await target.locator('h2').textContent(), 'ΟΔΟΣ');
  assert.match(await target.locator('h2 + p').textContent(), /^3 occurrences/);
  step('double-click on "οδος" (final sigma) opens the entry of ΟΔΟΣ');

  await openDocument('markup');
  assert.equal(await page.$$eval('#t script', s => s.length), 0);
  assert.match(await page.textContent('#t'), /<script>alert\("x"\)<\/script> &/);
  target = await doubleClick("O'Neill's");
  assert.equal(await target.locator('h2').textContent(), "O'Neill's");
  step('markup in a document shows as text; a word with apostrophes opens its entry');

  // The HTML page: its text is indexed, its script, style and comment are not.
  await openDocument('Zapiski');
  assert.match(await page.textContent('#t'), /Šola je blizu\u00a0doma\. Der Bär schläft\./);
  for (const [prefix, expected] of [['šol', 'Šola'], ['nevid', null], ['koment', null], ['colo', null]]) {
    await page.fill('#q', prefix);
    await page.waitForSelector('#hits li');
    const found = await page.$$eval('#hits a', as => as.map(a => a.firstChild.textContent));
    assert.deepEqual(found, expected ? [expected] : [], prefix);
  }
  step('an HTML page is indexed by its text only');

  // An entry that shows some of its documents lists the others on demand,
  // and each leads to the word's first occurrence there.
  await openBySearch('leucht', 'Leuchtturm');
  const docs = page.locator('section:target table.d tr');
  const firstShown = await docs.evaluateAll(trs => trs.map(tr => tr.querySelector('a').getAttribute('href')));
  assert.equal(firstShown.length, 25);
  const more = page.locator('section:target button.alldocs');
  assert.equal(await more.textContent(), 'show all 30 documents');
  await more.click();
  await page.waitForFunction(() => document.querySelectorAll('section:target table.d tr').length === 30);
  const all = await docs.evaluateAll(trs => trs.map(tr => [tr.querySelector('a').getAttribute('href'),
    tr.cells[0].textContent, tr.cells[1].textContent]));
  const hidden = all.filter(([href]) => !firstShown.includes(href));
  assert.equal(hidden.length, 5);
  const [href, title, count] = hidden[hidden.length - 1];
  await page.screenshot({ path: path.join(shots, 'all-documents.png') });
  await page.click(`section:target table.d a[href="${href}"]`);
  await page.waitForURL(/page_\d+\.htm#o\d+\.\d+\.\d+$/);
  await page.waitForSelector('#t mark');
  assert.equal(await page.textContent('h1'), title);
  assert.equal(await page.textContent('#t mark'), 'Leuchtturm');
  assert.match(await page.textContent('#at'), new RegExp('occurrence 1 of ' + count + '\\b'));
  const at = await page.$eval('#t mark', m => m.previousSibling.textContent.length);
  await page.keyboard.press('n');
  assert.equal(await page.textContent('#t mark'), 'Leuchtturm');
  assert.notEqual(await page.$eval('#t mark', m => m.previousSibling.textContent.length), at);
  assert.match(await page.textContent('#at'), new RegExp('occurrence 2 of ' + count + '\\b'));
  step('an entry lists all its documents on demand; one not shown at first opens with the word marked');

  // Words as the index has them: elided articles apart, a.out whole.
  await openDocument('francais');
  target = await doubleClick('utilisateur');
  assert.equal(await target.locator('h2').textContent(), 'utilisateur');
  assert.match(await target.locator('h2 + p').textContent(), /^3 occurrences/);
  await openDocument('francais');
  target = await doubleClick("L'utilisateur");
  assert.equal((await target.locator('h2').textContent()).toLowerCase(), "l'");
  await openDocument('francais');
  target = await doubleClick('a.out');
  assert.equal(await target.locator('h2').textContent(), 'a.out');
  step('double-click on an elided form and on a.out opens the index\'s own word');

  const dotted = page.locator('section:target button.alldocs');
  assert.equal(await dotted.textContent(), 'show all 31 documents');
  await dotted.click();
  await page.waitForFunction(() => document.querySelectorAll('section:target table.d tr').length === 31);
  await page.locator('section:target table.d a[data-doc]').last().click();
  await page.waitForSelector('#t mark');
  assert.equal(await page.textContent('#t mark'), 'a.out');
  assert.match(await page.textContent('#at'), /occurrence 1 of 1\b/);
  step('"show all documents" of a.out lands on a.out');

  // A frequent word: every line, page by page; sorted by 2L; its
  // collocates and clusters lead to their lines; the lines save as TSV.
  await openBySearch('leucht', 'Leuchtturm');
  const lt = page.locator('section:target');
  const total = Number((await lt.locator('h2 + p').textContent()).match(/^(\d+)/)[1]);
  assert.ok(total > 50, 'more lines than a page: ' + total);
  const ltRows = lt.locator('table.k tbody tr');
  const status = lt.locator('.kwicbar .count');
  await page.waitForFunction(() => /^lines 1–50 of/.test(document.querySelector('section:target .kwicbar .count').textContent));
  const seenLines = new Set();
  for (let guard = 0; guard < 10; guard++) {
    for (const id of await ltRows.evaluateAll(trs => trs.map(tr => tr.dataset.d + ':' + tr.dataset.t))) seenLines.add(id);
    const next = lt.locator('button[aria-label="next lines"]');
    if (await next.isDisabled()) break;
    const was = await status.textContent();
    await next.click();
    await page.waitForFunction(w => document.querySelector('section:target .kwicbar .count').textContent !== w, was);
  }
  assert.equal(seenLines.size, total, 'every line reachable');
  step('a frequent word shows every one of its lines, a page at a time');

  await lt.locator('select[data-level="0"]').selectOption('2L');
  await page.waitForFunction(() => document.querySelector('section:target table.k tbody tr[data-k]') &&
    /^lines 1–50 of/.test(document.querySelector('section:target .kwicbar .count').textContent));
  const byTwoLeft = await ltRows.evaluateAll(trs => trs.map(tr => tr.dataset.k.split(' ').map(Number)));
  assert.ok(byTwoLeft.every((k, i) => i === 0 || byTwoLeft[i - 1][0] < k[0] ||
    (byTwoLeft[i - 1][0] === k[0] && byTwoLeft[i - 1][1] <= k[1])), 'sorted by 2L, then 3L');
  await page.screenshot({ path: path.join(shots, 'sorted-2L.png') });
  step('the lines sort by the second word to the left');

  const download = page.waitForEvent('download');
  await lt.locator('button.save:has-text("Save lines")').click();
  const saved = fs.readFileSync(await (await download).path(), 'utf8');
  const tsvLines = saved.replace(/\r\n$/, '').split('\r\n');
  assert.equal(tsvLines[0], '\ufeffdocument\tline\tleft\tword\tright');
  assert.equal(tsvLines.length, total + 1);
  assert.ok(tsvLines.slice(1).every(l => l.split('\t')[3] === 'Leuchtturm'));
  step('an entry\'s lines save as TSV and read back');

  await lt.locator('details.collocates summary').click();
  const colloc = lt.locator('details.collocates tr:has(button.narrow)');
  assert.ok(await colloc.count() > 0, 'collocates listed');
  const [cform, ctogether] = await colloc.last().evaluate(tr => [tr.cells[0].textContent, Number(tr.cells[1].textContent.replace(/,/g, ''))]);
  await colloc.last().locator('button.narrow').click();
  await page.waitForFunction(() => !document.querySelector('section:target p.filter').hidden &&
    /of \d+$/.test(document.querySelector('section:target .kwicbar .count').textContent));
  const withIt = await ltRows.evaluateAll(trs => trs.map(tr => tr.textContent));
  assert.ok(withIt.length >= 1 && withIt.length <= ctogether, withIt.length + ' lines for ' + ctogether + ' together');
  assert.ok(withIt.every(t => t.toLowerCase().includes(cform.toLowerCase())), 'every line holds ' + cform);
  await page.screenshot({ path: path.join(shots, 'collocate.png') });
  step('a collocate leads to the lines where both occur');

  // A word in a line's context is the index's own word, as on its page:
  // in "puis l'utilisateur" the elided article is one ("l'"), which the
  // browser's own selection of "L'utilisateur" would not find.
  await openDocument('francais');
  await doubleClick('utilisateur');
  const utRows = page.locator('section:target table.k tbody tr');
  await page.waitForFunction(() => document.querySelectorAll('section:target table.k tbody tr').length >= 2);
  const inLine = await utRows.nth(1).evaluate(tr => {
    const text = tr.cells[0].querySelector('span').firstChild;
    const at = text.data.indexOf("L'utilisateur");
    const range = document.createRange();
    range.setStart(text, at);
    range.setEnd(text, at + 1);
    const r = range.getBoundingClientRect();
    return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
  });
  await page.mouse.dblclick(inLine.x, inLine.y);
  await page.waitForURL(/i_\d+\.htm#r\d+$/);
  assert.equal((await page.locator('section:target h2').textContent()).toLowerCase().replace('\u2019', "'"), "l'");
  step('double-click on a word of a line\'s context opens its entry');

  await page.goto(url('s_ngrams.htm'));
  const gram = page.locator('table.freq a').first();
  const gramText = await gram.textContent();
  await gram.click();
  await page.waitForURL(/i_\d+\.htm#r\d+~n=/);
  await page.waitForFunction(() => document.querySelector('section p.filter:not([hidden])') &&
    /of \d+( so far)?$/.test(document.querySelector('p.filter:not([hidden])').closest('section').querySelector('.kwicbar .count').textContent));
  const gramLines = await page.locator('section:has(p.filter:not([hidden])) table.k tbody tr').evaluateAll(trs => trs.map(tr => tr.textContent.replace(/\s+/g, ' ')));
  assert.ok(gramLines.length > 0);
  const gramWords = gramText.toLowerCase().split(' ');
  assert.ok(gramLines.every(t => gramWords.every(w => t.toLowerCase().includes(w))), 'each line holds ' + gramText);
  step('the n-gram list leads to the lines of an n-gram');

  await page.goto(url('s_freq_001.htm'));
  const freq = await savedLines('button.save');
  assert.equal(freq[0], '\ufeff#\tword\tcount\tdocuments\tshare');
  assert.equal(freq.length - 2, await page.locator('#word-list tr').count() - 1);
  // The whole list, hapaxes included, comes from the search data: every
  // word once, by falling count, the counts adding up to the corpus.
  const whole = (await savedLines('button.save:has-text("whole list")')).slice(1, -1);
  const totals = (await page.evaluate(() => JSON.parse(document.getElementById('list-data').textContent).tokens));
  assert.equal(whole.reduce((sum, l) => sum + Number(l.split('\t')[2]), 0), totals);
  assert.equal(new Set(whole.map(l => l.split('\t')[1])).size, whole.length);
  assert.ok(whole.every((l, i) => i === 0 || Number(whole[i - 1].split('\t')[2]) >= Number(l.split('\t')[2])));
  assert.ok(whole.some(l => /\t1\t1\t/.test(l)) && whole.length > freq.length - 2, 'the hapaxes are there');
  // Rows carry their ranks as differences: the last word's link must
  // still open its own entry.
  await opensItsEntry(page.locator('#word-list tr:last-child td:nth-child(2) a'));
  step('the frequency list saves as TSV, a page or whole; its words lead to their entries');

  await page.goto(url('index_001.htm'));
  const words = await savedLines('button.save');
  assert.equal(words[0], '\ufeffword\tcount\tdocuments');
  assert.equal(words.length - 2, await page.locator('table.words tr:not(.letter)').count() - 1);
  assert.ok(words.includes('Straße\t6\t1'), 'a word with its counts');
  step('a word list saves as TSV');

  // The A-Z page is drawn from its data: a letter of the alphabet bar lands
  // on its heading, and a word leads to its entry.
  const tile = page.locator('nav.alpha a', { hasText: /^Ž$/ });
  const tileHref = await tile.getAttribute('href');
  await page.goto(url('index.htm'));  // from another page, so the list draws before it is scrolled
  await page.goto(new URL(tileHref, url('index.htm')).href);
  await page.waitForSelector('table.words tr.letter');
  const landed = await page.evaluate(() => {
    const th = document.getElementById(location.hash.slice(1));
    const r = th && th.getBoundingClientRect();
    return th && [th.textContent, r.top >= 0 && r.top < innerHeight, scrollY > 0];
  });
  assert.deepEqual(landed, ['Ž', true, true], tileHref);
  await opensItsEntry(page.locator('table.words tr.letter:has(th:text-is("Ž")) + tr a'));
  step('an A-Z page draws its words; a letter lands on its heading, a word opens its entry');

  // A document's keywords, from its stored text, each leading to its entry.
  await page.goto(url('page_0001.htm'));
  await page.waitForSelector('#velmor-keywords table.keywords a');
  const keyword = await page.textContent('#velmor-keywords table.keywords a');
  await page.click('#velmor-keywords table.keywords a');
  await page.waitForURL(/i_\d+\.htm#r\d+$/);
  assert.equal(await page.locator('section:target h2').textContent(), keyword);
  step('a document\'s keywords lead to their entries');

  assert.deepEqual(problems, []);
  await context.close();
} finally {
  await browser.close();
  fs.rmSync(work, { recursive: true, force: true });
}
console.log('all browser checks passed; screenshots in ' + shots);
