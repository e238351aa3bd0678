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

  // Sorting the context lines.
  const rows = entry.locator('table.k tr');
  const cells = i => rows.evaluateAll((trs, i) => trs.map(tr => tr.cells[i].textContent), i);
  const before = await cells(2);
  await entry.locator('button[data-sort=r]').click();
  const right = await cells(2);
  const sortedRight = await page.evaluate(xs => [...xs].sort(window.velmor.collator.compare), before);
  assert.deepEqual(right, sortedRight, 'sorted by right context');
  assert.notDeepEqual(right, before, 'right sort changed the order');
  await entry.locator('button[data-sort=l]').click();
  const leftKeys = await rows.evaluateAll(trs => trs.map(tr => window.velmor.sortKey.l(tr)));
  const sortedLeft = await page.evaluate(xs => [...xs].sort(window.velmor.collator.compare), leftKeys);
  assert.deepEqual(leftKeys, sortedLeft, 'sorted by left context, nearest word first');
  assert.equal((await cells(0))[0].trim().split(/\s+/).pop(), 'der', 'nearest left word "der" sorts first');
  await page.screenshot({ path: path.join(shots, 'entry.png') });
  step('context lines sort by right and by left context');

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
  await page.goto(url('index.htm'));
  await page.fill('#q', 'leucht');
  await page.click('#hits a:has-text("Leuchtturm")');
  await page.waitForURL(/i_\d+\.htm#r\d+$/);
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
  await page.waitForURL(/page_\d+\.htm#r=\d+$/);
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
  const late = page.locator('section:target table.d a[href*="#r="]').last();
  await late.click();
  await page.waitForSelector('#t mark');
  assert.equal(await page.textContent('#t mark'), 'a.out');
  assert.match(await page.textContent('#at'), /occurrence 1 of 1\b/);
  step('"show all documents" of a.out lands on a.out');

  assert.deepEqual(problems, []);
  await context.close();
} finally {
  await browser.close();
  fs.rmSync(work, { recursive: true, force: true });
}
console.log('all browser checks passed; screenshots in ' + shots);
