// The words by their search keys, for the search box and the double-click:
// the indexer's two keys repeated in the script, and the look-up data of
// lookup/ (site/formats.h) read a shard at a time: by prefix, by a pattern
// of * and ?, or a word's own row. The data (site/formats.h; names and
// callbacks F.keyShards and F.keyShard of formats.js):
//   lookup/keys.js     ([first search key of each shard])
//   lookup/k_NNNN.js   (N, "SEARCH\tKEY\tFORM\tRANK\tCOUNT\tDP[\tDOCS]\n...")
//                      by search key, then rank; KEY empty when it is
//                      SEARCH, FORM empty when it is KEY, DP the word's
//                      DPnorm in thousandths (empty when there is none),
//                      DOCS (the documents) left out when it is COUNT
'use strict';
(function () {
  const velmor = window.velmor;

  // Case folding as ICU's full folding does it, one code point at a time:
  // lowering first turns capital sharp s into ß, upper then lower folds ß
  // to ss, any sigma to σ and ᾼ to αι; dotless ı has no folding and stays.
  // Cherokee folds to its capitals, the letters it had before Unicode 8
  // gave it small ones (ᏣᎳᎩ and ꮳꮃꭹ both fold to ᏣᎳᎩ).
  const CHEROKEE = /[\u13a0-\u13f5\u13f8-\u13fd\uab70-\uabbf]/;
  const foldChar = c => c === '\u0131' ? c : CHEROKEE.test(c) ? c.toUpperCase()
    : c.toLowerCase().toUpperCase().toLowerCase();
  const caseFold = t => Array.from(t, foldChar).join('');

  // The indexer's key (words/fold_key.cc): NFC, then case folding.
  // Apostrophe look-alikes are '.
  const APOSTROPHES = /[\u2018\u2019\u02bc\uff07]/g;
  const fold = s => caseFold(s.normalize('NFC')).replace(APOSTROPHES, "'");

  // What the search box matches, as the indexer's search_key makes it
  // (words/search_key.cc; testing/js/keys_test.mjs checks the two agree on
  // every code point that case or decomposition changes): compatibility
  // forms, no marks, case folded, a few plain letters.
  const PLAIN = { '\u0131': 'i', 'đ': 'd', 'ð': 'd', 'ł': 'l', 'ø': 'o', 'ħ': 'h', 'æ': 'ae', 'œ': 'oe',
                  '\u2018': "'", '\u2019': "'", '\u02bc': "'", '\uff07': "'" };
  // Marks as the indexer's ICU (72: Unicode 15.0) has them; Ahom medial
  // ra (U+1171E) was one there and is a spacing mark in later browsers.
  const MARK = /[\p{Mn}\p{Me}\u{1171e}]/u;
  function searchKey(s) {
    let out = '';
    for (const c of caseFold(s).normalize('NFKD')) {
      if (MARK.test(c)) continue;
      for (const f of foldChar(c)) {
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
  // of lines "search key \t key \t form \t rank \t count \t dp [\t
  // documents]", read into [search key, key or '' (= search key), form or
  // '' (= key), rank, count, documents, dp or null]
  const rowKey = row => row[1] || row[0];
  const shown = row => row[2] || rowKey(row);
  const RANK = 3, COUNT = 4, DOCS = 5, DP = 6;
  const rowOf = line => {
    const f = line.split('\t');
    return [f[0], f[1], f[2], Number(f[3]), Number(f[4]), f.length > 6 ? Number(f[6]) : Number(f[4]),
            f[5] ? Number(f[5]) : null];
  };

  // lookup/keys.js names each shard's first search key; lookup/k_NNNN.js
  // holds the shard's rows.
  const { F, siteFile, lastAtMost } = velmor;
  const shards = () => velmor.load(F.keyShards.start, F.keyShards.callback);
  const shard = n => velmor.load(siteFile(F.keyShard, n), F.keyShard.callback, n);
  // Every shard's text, read at once.
  const everyShard = async () => Promise.all((await shards()).map((_, n) => shard(n)));
  const split = {};  // a shard's lines, once a prefix has looked into it
  const linesOf = async n => split[n] || (split[n] = (await shard(n)).split('\n').slice(0, -1));

  // Equal counts as after: a key's rows may begin in the shard before the
  // one whose first key it is.
  const below = (a, b) => cmp(a, b) || 1;
  const shardOf = (list, key) => Math.max(lastAtMost(list, key, below), 0);
  const searchOf = line => line.slice(0, line.indexOf('\t'));
  const lowerBound = (lines, key) => lastAtMost(lines, key, (line, k) => below(searchOf(line), k)) + 1;
  // The row of a word's identity key, or null.
  async function lookup(key) {
    const want = searchKey(key);
    for (const row of await withPrefix(want, Infinity, true))
      if (rowKey(row) === key) return row;
    return null;
  }
  // Each line whose search key starts with `prefix`, in key order, with
  // where its key ends; `visit` returns true to stop.
  async function eachWithPrefix(prefix, visit) {
    const list = await shards();
    for (let n = list.length ? shardOf(list, prefix) : 0; n < list.length; n++) {
      const lines = await linesOf(n);
      let i = lowerBound(lines, prefix);
      for (; i < lines.length && lines[i].startsWith(prefix); i++) {
        const end = lines[i].indexOf('\t');
        if (end < prefix.length) return;  // a longer key than the prefix's line
        if (visit(lines[i], end)) return;
      }
      if (i < lines.length) return;
    }
  }
  // Rows whose search key starts with `prefix` (or is it, when `whole`).
  async function withPrefix(prefix, limit, whole) {
    const found = [];
    await eachWithPrefix(prefix, (line, end) => {
      if (whole && end !== prefix.length) return true;
      found.push(rowOf(line));
      return found.length >= limit;
    });
    return found;
  }

  // A pattern of * (any characters) and ? (one character) as a test of
  // text[from, to), code point by code point. When the pattern fails after
  // a star, only the last star seen takes one more code point and the rest
  // is tried again from there: what an earlier star could take instead,
  // the last one takes as well, so a word costs at most pattern x word
  // steps. A backtracking RegExp took 8 s for *a*c*g*t*x against a word of
  // 600 letters.
  const STAR = -1, ONE = -2;
  function globMatcher(pattern) {
    const p = Array.from(pattern, c => c === '*' ? STAR : c === '?' ? ONE : c.codePointAt(0));
    return (text, from, to) => {
      let i = from, k = 0, starK = -1, starI = 0;
      while (i < to) {
        const c = text.codePointAt(i);
        if (k < p.length && (p[k] === c || p[k] === ONE)) {
          i += c > 0xffff ? 2 : 1;
          k++;
        } else if (k < p.length && p[k] === STAR) {
          starK = k++;
          starI = i;
        } else if (starK >= 0) {  // the last star takes one more code point
          starI += text.codePointAt(starI) > 0xffff ? 2 : 1;
          i = starI;
          k = starK + 1;
        } else {
          return false;
        }
      }
      while (p[k] === STAR) k++;
      return k === p.length;
    };
  }
  // The longest pattern searched, in code points: longer than any word a
  // reader types (a German compound or a chemical name stays under 100
  // letters), and it bounds a word's cost at 100 steps a letter.
  const MAX_PATTERN = 100;

  // The number written at text[i], up to the next non-digit.
  function numberAt(text, i) {
    let n = 0;
    for (let d; (d = text.charCodeAt(i) - 48) >= 0 && d <= 9; i++) n = n * 10 + d;
    return n;
  }
  // The `limit` most frequent of the lines offered (ties by rank), in a
  // heap whose root is the least of them, and how many were offered:
  // only the lines kept become rows.
  class Best {
    constructor(limit) { this.limit = limit; this.heap = []; this.total = 0; }
    // a before b: the more frequent, then the lower rank
    static before(a, b) { return a[0] > b[0] || (a[0] === b[0] && a[1] < b[1]); }
    offer(text, from, keyEnd, to) {
      this.total++;
      const heap = this.heap;
      if (!this.limit) return;
      const rankAt = text.indexOf('\t', text.indexOf('\t', keyEnd + 1) + 1) + 1;
      const count = numberAt(text, text.indexOf('\t', rankAt) + 1);
      if (heap.length === this.limit && count < heap[0][0]) return;
      const item = [count, numberAt(text, rankAt), text, from, to];
      if (heap.length < this.limit) {
        heap.push(item);
        for (let i = heap.length - 1, up; i > 0 && Best.before(heap[up = (i - 1) >> 1], item); i = up)
          [heap[i], heap[up]] = [heap[up], heap[i]];
      } else if (Best.before(item, heap[0])) {
        heap[0] = item;
        for (let i = 0; ;) {
          const l = 2 * i + 1, r = l + 1;
          let least = i;
          if (l < heap.length && Best.before(heap[least], heap[l])) least = l;
          if (r < heap.length && Best.before(heap[least], heap[r])) least = r;
          if (least === i) break;
          [heap[i], heap[least]] = [heap[least], heap[i]];
          i = least;
        }
      }
    }
    rows() {
      return this.heap.slice().sort((a, b) => (Best.before(a, b) ? -1 : 1))
        .map(([, , text, from, to]) => rowOf(text.slice(from, to)));
    }
  }

  // The `limit` most frequent rows whose search key matches a pattern of *
  // and ?, and how many match: {rows, total}. What comes before the first
  // wildcard narrows the shards to read; a leading wildcard reads them all.
  async function matching(pattern, limit) {
    const length = Array.from(pattern).length;
    if (length > MAX_PATTERN)
      throw new RangeError('a pattern can be at most ' + MAX_PATTERN + ' letters long; this one has ' + velmor.fmt(length));
    const prefix = pattern.slice(0, pattern.search(/[*?]/));
    const matches = globMatcher(pattern.slice(prefix.length));
    const best = new Best(limit);
    if (prefix) {
      await eachWithPrefix(prefix, (line, end) => {
        if (matches(line, prefix.length, end)) best.offer(line, 0, end, line.length);
      });
    } else {
      for (const text of await everyShard())
        for (let at = 0, next; at < text.length; at = next + 1) {
          next = text.indexOf('\n', at);
          if (next < 0) next = text.length;
          const end = text.indexOf('\t', at);
          if (end >= 0 && end < next && matches(text, at, end)) best.offer(text, at, end, next);
        }
    }
    return { rows: best.rows(), total: best.total };
  }

  // What the box offers for what is typed, {rows, total}: the forms
  // written exactly so first, then the words that are the typed one but for
  // accents and case, then longer ones, every word that begins so ranked
  // by count in the heap that patterns use; the total counts them all.
  // Only the first 400 in key order were ranked before, so "a" missed
  // "and" (8,218 occurrences) and 46 of the 50 most frequent.
  async function beginning(typed, limit) {
    const wanted = searchKey(typed);
    if (!wanted) return { rows: [], total: 0 };
    // A key holds no * or ?, which are never part of a word: a pattern's
    // rows come in their order already.
    if (/[*?]/.test(wanted)) return matching(wanted, limit);
    const exact = fold(typed);
    const grade = row => shown(row) === typed ? 0 : rowKey(row) === exact ? 1 : 2;
    const same = [], longer = new Best(limit);
    await eachWithPrefix(wanted, (line, end) => {
      if (end === wanted.length) same.push(rowOf(line)); else longer.offer(line, 0, end, line.length);
    });
    same.sort((a, b) => grade(a) - grade(b) || b[COUNT] - a[COUNT] || a[RANK] - b[RANK]);
    return { rows: same.concat(longer.rows()).slice(0, limit), total: same.length + longer.total };
  }

  // What was typed cut into words as the indexer cuts a text: word
  // segments by Unicode's rules (Intl.Segmenter is ICU's, as the indexer's
  // are), then an elided article apart from the word it leans on when the
  // index holds it as a word of its own, which it does only when the
  // indexer split it off (words/elision.cc: "l'utente" is l' and utente).
  const LETTER = /^\p{L}/u;
  async function indexWords(typed) {
    const segments = typeof Intl.Segmenter === 'function'
      ? Array.from(new Intl.Segmenter('und', { granularity: 'word' }).segment(typed)).filter(s => s.isWordLike).map(s => s.segment)
      : typed.split(/\s+/).filter(Boolean);
    const words = [];
    for (const word of segments) {
      const mark = word.replace(APOSTROPHES, "'").indexOf("'");
      const rest = word.slice(mark + 1);
      if (mark > 0 && LETTER.test(rest) && await lookup(fold(word.slice(0, mark + 1)))) words.push(word.slice(0, mark + 1), rest);
      else words.push(word);
    }
    return words;
  }

  // offers() for what was typed, {rows, total, note}: when no word begins
  // so and the index holds what was typed as several words, the words that
  // begin as its first word does, leaving an elided article aside
  // ("l'utente" finds utente, "nel mezzo" nel), and a note that says so.
  async function offers(typed, limit) {
    const found = await beginning(typed, limit);
    if (found.rows.length || /[*?]/.test(typed)) return found;
    const words = await indexWords(typed);
    if (words.length < 2) return found;
    const elided = w => /['\u2018\u2019\u02bc\uff07]$/.test(w);
    const word = words.find(w => !elided(w)) || words[0];
    const shown = await beginning(word, limit);
    const note = '\u201c' + typed + '\u201d is ' + words.length + ' words in the index (' + words.join(' + ') +
      '): words beginning \u201c' + word + '\u201d';
    return { rows: shown.rows, total: shown.total, note };
  }

  // Every word's row, from every shard: the whole word list, in no order.
  async function everyRow() {
    const rows = [];
    for (const text of await everyShard())
      for (const line of text.split('\n')) if (line) rows.push(rowOf(line));
    return rows;
  }

  // The rows whose search key (or, `byKey`, whose key) passes `test`, from
  // every shard, in key order: the query line's regular expressions.
  async function rowsWhere(test, byKey) {
    const rows = [];
    for (const text of await everyShard())
      for (let at = 0, next; at < text.length; at = next + 1) {
        next = text.indexOf('\n', at);
        if (next < 0) next = text.length;
        const end = text.indexOf('\t', at);
        if (end < 0 || end > next) continue;
        let word = text.slice(at, end);
        if (byKey) {
          const keyEnd = text.indexOf('\t', end + 1);
          if (keyEnd > end + 1) word = text.slice(end + 1, keyEnd);
        }
        if (test(word)) rows.push(rowOf(text.slice(at, next)));
      }
    return rows;
  }

  Object.assign(velmor, { rowsWhere, rowKey, indexWords });
  Object.assign(velmor, { fold, searchKey, cmp, lookup, withPrefix, globMatcher, matching, offers, everyRow, RANK,
                          COUNT, DOCS, DP, shown });
})();
