// The query page (query.htm) on a built site in headless Chromium from
// file://: the time from opening query.htm#q=QUERY to the total and the
// first 50 lines shown, against the same answer got without query/ (every
// document's text store read and its words matched, the way an answer
// would be had from the stores alone), each query both ways in turns,
// round after round, a fresh browser context for every run; medians.
// Both ways must find the same total.
//
//   node indexer/bench/query_bench.mjs SITE_DIR [ROUNDS] [QUERY...]
//
// SITE_DIR is an indexer's htm_out, e.g. of the 100 MB bench corpus:
//   . indexer/bench/corpus.sh && bench_corpus $PWD /tmp/velmor_bench 100
//   (mkdir -p /tmp/q && cd /tmp/q && ln -sfn /tmp/velmor_bench/corpus_100 htm_in &&
//    $OLDPWD/build/velmor_01_209.exe htm_in htm_out)
//   node indexer/bench/query_bench.mjs /tmp/q/htm_out 5
// The default queries are that corpus's: two of its most frequent words in
// a row, a regular expression followed by the commonest word, a gap, and
// the commonest word alone (499,391 hits, the most any one word has).
// Playwright comes from the browser test's node_modules (npm ci there).
import { createRequire } from 'node:module';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const require = createRequire(new URL('../testing/browser/package.json', import.meta.url));
const { chromium } = require('playwright-core');

const site = path.resolve(process.argv[2] || 'htm_out');
const rounds = Number(process.argv[3] || 5);
const queries = process.argv.length > 4 ? process.argv.slice(4) : ['bak lanu', '[word="ca.*a"] bak', 'bak []{0,2} cafa', 'bak'];
const page = name => pathToFileURL(path.join(site, name)).href;

// In the page: the query's words from the look-up data as query.js finds
// them, then every document's store read, eight at a time, and the places
// of those words in it matched by query.js's own matcher.
async function fromStores(query) {
  const velmor = window.velmor;
  const { words, elements } = await velmor.runQuery(query, false, null, { wordsOnly: true });
  const starts = await velmor.documentStarts();
  const wanted = words.map(ranks => ranks && new Set(ranks));
  const found = elements.map(() => []);
  const docs = starts.length - 1;
  for (let d = 0; d < docs; d += 8) {
    const batch = [];
    for (let n = d; n < Math.min(docs, d + 8); n++) batch.push(window.velmorStore.load(n + 1));
    for (const s of await Promise.all(batch)) {
      const t = s.tokens, base = starts[s.n - 1];
      for (let i = 0; i < t.length / 3; i++)
        wanted.forEach((set, e) => { if (set && set.has(t[3 * i + 2])) found[e].push(base + i, t[3 * i + 2]); });
    }
  }
  const places = found.map((f, e) => {
    if (!wanted[e]) return null;
    const ranks = Int32Array.from({ length: f.length / 2 }, (_, k) => f[2 * k + 1]);
    return { places: Float64Array.from({ length: f.length / 2 }, (_, k) => f[2 * k]), ranks, rank: -1 };
  });
  return [velmor.match(elements, places, starts).docs.length, words.map(w => (w ? w.length : '[]')).join(' + ')];
}

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
});
const times = {};
const totals = {};
const words = {};  // how many of the index's words each element stands for
try {
  for (let r = 0; r < rounds; r++) {
    for (const query of queries) {
      const ways = ['query/', 'stores'];
      for (const way of r % 2 ? ways.reverse() : ways) {
        const context = await browser.newContext({ viewport: { width: 1280, height: 900 } });
        const tab = await context.newPage();
        let ms, total;
        if (way === 'query/') {
          await tab.goto(page('query.htm') + '#q=' + encodeURIComponent(query));
          await tab.waitForFunction(() => document.querySelector('#query-table tr') ||
            document.querySelector('#query-status.error'), null, { timeout: 120000 });
          [ms, total] = await tab.evaluate(() => [performance.now(), document.getElementById('query-status').dataset.total]);
        } else {
          await tab.goto(page('query.htm'));
          let standsFor;
          [total, standsFor] = await tab.evaluate(fromStores, query);
          words[query] = standsFor;
          ms = await tab.evaluate(() => performance.now());
        }
        await context.close();
        (times[query + '|' + way] ||= []).push(ms);
        (totals[query + '|' + way] ||= new Set()).add(String(total));
      }
    }
  }
} finally {
  await browser.close();
}
const median = l => l.slice().sort((a, b) => a - b)[l.length >> 1];
console.log(`${site}, ${rounds} rounds, ms from opening the page, median (min-max)`);
console.log('| query | words | hits | query/ | stores |');
console.log('|---|---|---|---|---|');
for (const q of queries) {
  const cell = way => { const l = times[q + '|' + way]; return `${median(l).toFixed(0)} (${Math.min(...l).toFixed(0)}-${Math.max(...l).toFixed(0)})`; };
  const t = [...totals[q + '|query/']], s = [...totals[q + '|stores']];
  const same = t.length === 1 && s.length === 1 && t[0] === s[0];
  console.log(`| \`${q}\` | ${words[q]} | ${same ? Number(t[0]).toLocaleString('en') : 'DIFFER: ' + t + ' / ' + s} | ${cell('query/')} | ${cell('stores')} |`);
}
