// The corpus the browser test walks: a few documents in several languages
// and scripts, written as pages and indexed into a site.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

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
  // Cherokee, which case folding takes to its capitals; a title and
  // text a spreadsheet would run as formulas; words a backtracking
  // wildcard took seconds over.
  fs.writeFileSync(path.join(dir, 'tsalagi.htm'), `<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>ꮳꮃꭹ ꭰꮿ</title></head>
<body><p>ᏣᎳᎩ ꮳꮃꭹ ꮳꮃꭹ ꭰꮿ.</p></body></html>
`);
  fs.writeFileSync(path.join(dir, 'zeichen.htm'), `<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>=HYPERLINK("http://example.org","x")</title></head>
<body><p>=SUM(A1) -2+3 @home "zitat</p><p>${'acgt'.repeat(150)} ${'a'.repeat(300)}</p></body></html>
`);
}

// Writes the pages alone, for a test that indexes them itself:
// node corpus.mjs DIR
if (process.argv[1] && path.resolve(process.argv[1]) === path.resolve(new URL(import.meta.url).pathname)) {
  fs.mkdirSync(process.argv[2], { recursive: true });
  writePages(process.argv[2]);
}

// Indexes the corpus inside the folder work with the indexer built in build;
// returns the folder of the site. `write` writes the pages into a folder
// (the corpus above unless given), `env` is added to the indexer's.
export function index(build, work, write = writePages, env = {}) {
  const input = path.join(work, 'htm_in');
  const out = path.join(work, 'htm_out');
  fs.mkdirSync(input);
  write(input);
  env = { ...process.env, ...env };
  delete env.DISPLAY;  // no browser of the user's to open
  delete env.WAYLAND_DISPLAY;
  const indexer = path.join(build, 'velmor_01_209.exe');
  // VELMOR_RUNNER=wine runs the Windows build's indexer, so that the site a
  // Windows user gets is walked too.
  const runner = process.env.VELMOR_RUNNER;
  const args = ['--locale', 'sl', input, out];
  const said = (runner ? execFileSync(runner, [indexer, ...args], { env })
    : execFileSync(indexer, args, { env })).toString();
  console.log(said.trim().split('\n').map(l => '  | ' + l).join('\n'));
  return out;
}
