// The words by their search keys, for the search box and the double-click:
// the indexer's two keys repeated in the script, and the look-up data of
// lookup/ (site/formats.h) read a shard at a time: by prefix, by a pattern
// of * and ?, or a word's own row. The data (site/formats.h):
//   lookup/keys.js     velmorShards([first search key of each shard])
//   lookup/k_NNNN.js   velmorKeys(N, "SEARCH\tKEY\tFORM\tRANK\tCOUNT[\tDOCS]\n...")
//                      by search key, then rank; KEY empty when it is
//                      SEARCH, FORM empty when it is KEY, DOCS (the
//                      documents) left out when it is COUNT
'use strict';
(function () {
  const velmor = window.velmor;

  // The indexer's key: NFC, then full case folding. Lowering first turns
  // capital sharp s into ß, upper then lower folds ß to ss and any sigma to
  // σ; dotless ı has no folding and stays. Apostrophe look-alikes are '.
  const APOSTROPHES = /[\u2018\u2019\u02bc\uff07]/g;
  function fold(s) {
    let out = '';
    for (const c of s.normalize('NFC'))
      out += c === 'ı' ? c : c.toLowerCase().toUpperCase().toLowerCase();
    return out.replace(APOSTROPHES, "'");
  }

  // What the search box matches, as the indexer's search_key makes it
  // (words/words.h; words/search_key_cases.tsv holds the cases both pass):
  // compatibility forms, no marks, case folded, a few plain letters.
  const PLAIN = { 'ı': 'i', 'đ': 'd', 'ð': 'd', 'ł': 'l', 'ø': 'o', 'ħ': 'h', 'æ': 'ae', 'œ': 'oe',
                  '\u2018': "'", '\u2019': "'", '\u02bc': "'", '\uff07': "'" };
  const MARK = /[\p{Mn}\p{Me}]/u;
  function searchKey(s) {
    const caseFold = t => Array.from(t, c => c.toLowerCase().toUpperCase().toLowerCase()).join('');
    let out = '';
    for (const c of caseFold(s).normalize('NFKD')) {
      if (MARK.test(c)) continue;
      for (const f of caseFold(c)) {
        const u = f.codePointAt(0);
        out += PLAIN[f] || (u >= 0x30a1 && u <= 0x30f6 ? String.fromCharCode(u - 0x60) : f);
      }
    }
    return out.normalize('NFC');
  }

  // Keys are ordered by code point, as the indexer sorts their UTF-8 bytes.
  function cmp(a, b) {
    const n = Math.min(a.length, b.length);
    for (let i = 0; i < n; i++) {
      const x = a.codePointAt(i), y = b.codePointAt(i);
      if (x !== y) return x - y;
      if (x > 0xffff) i++;
    }
    return a.length - b.length;
  }

  // Look-up rows, as site/formats.h describes them, each shard one string
  // of lines "search key \t key \t form \t rank \t count [\t documents]",
  // read into [search key, key or '' (= search key), form or '' (= key),
  // rank, count, documents]
  const rowKey = row => row[1] || row[0];
  const shown = row => row[2] || rowKey(row);
  const RANK = 3, COUNT = 4, DOCS = 5;
  const rowOf = line => {
    const f = line.split('\t');
    return [f[0], f[1], f[2], Number(f[3]), Number(f[4]), f.length > 5 ? Number(f[5]) : Number(f[4])];
  };

  // lookup/keys.js names each shard's first search key; lookup/k_NNNN.js
  // holds the shard's rows.
  const shards = () => velmor.load('lookup/keys.js', 'velmorShards');
  const shard = n => velmor.load('lookup/k_' + velmor.pad(n, 4) + '.js', 'velmorKeys', n);
  // Every shard's text, read at once.
  const everyShard = async () => Promise.all((await shards()).map((_, n) => shard(n)));
  const split = {};  // a shard's lines, once a prefix has looked into it
  const linesOf = async n => split[n] || (split[n] = (await shard(n)).split('\n').slice(0, -1));

  function shardOf(list, key) {
    let lo = 0, hi = list.length - 1;
    while (lo < hi) {
      const mid = (lo + hi + 1) >> 1;
      if (cmp(list[mid], key) < 0) lo = mid; else hi = mid - 1;
    }
    return lo;
  }
  const searchOf = line => line.slice(0, line.indexOf('\t'));
  function lowerBound(lines, key) {
    let lo = 0, hi = lines.length;
    while (lo < hi) {
      const mid = (lo + hi) >> 1;
      if (cmp(searchOf(lines[mid]), key) < 0) lo = mid + 1; else hi = mid;
    }
    return lo;
  }
  // The row of a word's identity key, or null.
  async function lookup(key) {
    const want = searchKey(key);
    for (const row of await withPrefix(want, Infinity, true))
      if (rowKey(row) === key) return row;
    return null;
  }
  // Rows whose search key starts with `prefix` (or is it, when `whole`).
  async function withPrefix(prefix, limit, whole) {
    const list = await shards();
    const found = [];
    for (let n = list.length ? shardOf(list, prefix) : 0; n < list.length; n++) {
      const lines = await linesOf(n);
      let i = lowerBound(lines, prefix);
      for (; i < lines.length && lines[i].startsWith(prefix); i++) {
        const row = rowOf(lines[i]);
        if (!row[0].startsWith(prefix)) break;  // a longer key than the prefix's line
        if (whole && row[0] !== prefix) return found;
        found.push(row);
        if (found.length >= limit) return found;
      }
      if (i < lines.length) break;
    }
    return found;
  }
  // Rows whose search key matches a pattern of * (any characters) and ?
  // (one character), the most frequent first. What comes before the first
  // wildcard narrows the shards to read; a leading wildcard reads them
  // all, with one regular expression over each shard's text.
  async function matching(pattern, limit) {
    const source = Array.from(pattern, c => c === '*' ? '[^\\t\\n]*' : c === '?' ? '[^\\t\\n]'
                                          : c.replace(/[\\^$.|+()[\]{}\/]/g, '\\$&')).join('');
    const prefix = pattern.slice(0, pattern.search(/[*?]/));
    let rows;
    if (prefix) {
      const re = new RegExp('^' + source + '$', 'u');
      rows = (await withPrefix(prefix, Infinity)).filter(row => re.test(row[0]));
    } else {
      const re = new RegExp('^' + source + '\t', 'gmu');
      rows = [];
      for (const text of await everyShard())
        for (let m; (m = re.exec(text));) rows.push(rowOf(text.slice(m.index, text.indexOf('\n', m.index))));
    }
    return rows.sort((a, b) => b[COUNT] - a[COUNT] || a[RANK] - b[RANK]).slice(0, limit);
  }

  // What the box offers for what is typed: the forms written exactly so
  // first, then the words that are the typed one but for accents and case,
  // then longer ones; the most frequent first within each.
  async function offers(typed, limit) {
    const wanted = searchKey(typed);
    if (!wanted) return [];
    const wild = /[*?]/.test(wanted);
    const rows = wild ? await matching(wanted, limit) : await withPrefix(wanted, 400);
    const exact = fold(typed);
    const grade = row => shown(row) === typed ? 0 : rowKey(row) === exact ? 1 : row[0] === wanted ? 2 : 3;
    return rows.map(row => [grade(row), row])
      .sort((a, b) => a[0] - b[0] || b[1][COUNT] - a[1][COUNT] || a[1][RANK] - b[1][RANK])
      .slice(0, limit).map(x => x[1]);
  }

  // Every word's row, from every shard: the whole word list, in no order.
  async function everyRow() {
    const rows = [];
    for (const text of await everyShard())
      for (const line of text.split('\n')) if (line) rows.push(rowOf(line));
    return rows;
  }

  Object.assign(velmor, { fold, searchKey, cmp, lookup, withPrefix, matching, offers, everyRow, RANK, COUNT, DOCS,
                          shown });
})();
