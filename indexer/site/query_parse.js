// The query line's language (query.js matches it; query_page.js shows it):
// a row of words, each one of:
//   tea  l'eau  colo*r      a word, as the search box takes it (* and ?
//                           as wildcards; what the index holds as two
//                           words, as l'eau, is two)
//   "colou?r"  [word="colou?r"]   a regular expression over the whole word
//   ("a"|"the"|an)          any of several
//   []  []{0,2}  []?        any word; a number or a range of them, between
//                           two words (never first or last)
// Words are matched by their search key (no accents or case) or, with
// `exact`, by the index's own key (accents count; case never does, since
// the index holds one word for every case).
//
// Bad input gets a QueryError that says what is wrong and where; nothing
// a query may hold makes the work unbounded (the limits below).
'use strict';
(function () {
  const velmor = window.velmor;

  class QueryError extends Error {}
  const fail = text => { throw new QueryError(text); };

  // Bounds that keep any query's work small: a query is read in one go and
  // a regular expression runs over one word at a time.
  const MAX_QUERY = 300;      // UTF-16 units
  const MAX_ELEMENTS = 10;
  const MAX_GAP = 10;         // []{0,10}
  const MAX_WORDS = 50000;    // words one element may stand for
  const MAX_REPEATS = 3;      // *, + and {n,m} in one expression
  // The longest word a regular expression is tried on, in UTF-16 units.
  // Within the bounds below, ".*.*.*q" still takes time as the cube of a
  // word's length: 0.15 ms over 64 letters, but 10 s over one 3,000-letter
  // word (a DNA sequence, a hash), which would freeze the tab. Longer words
  // are found by their spelling or a wildcard, whose matcher is linear.
  const MAX_REGEX_WORD = 64;

  // A regular expression that cannot backtrack without end: no group that
  // holds a repeat or a choice may itself repeat more than once ((a+)+,
  // (a|aa)*), no back-references or look-arounds, at most MAX_REPEATS
  // repeats other than ?, and {n,m} up to 50.
  function checkRegex(source) {
    const stack = [];  // per open group: does it hold a repeat or a choice
    let repeats = 0;
    for (let i = 0; i < source.length; i++) {
      const c = source[i];
      let repeat = 0;  // 1: ?, 2: any other repeat
      if (c === '\\') {
        const next = source[i + 1] || '';
        if (/[1-9k]/.test(next)) fail('a back-reference (\\' + next + ') is not taken in a word pattern');
        if (/[pPu]/.test(next) && source[i + 2] === '{') i = source.indexOf('}', i);
        else i++;
        if (i < 0) break;  // RegExp says what is wrong
      } else if (c === '[') {
        for (i++; i < source.length && source[i] !== ']'; i++) if (source[i] === '\\') i++;
      } else if (c === '(') {
        if (/^\(\?<?[=!]/.test(source.slice(i, i + 4))) fail('a look-around ((?=, (?!) is not taken in a word pattern');
        stack.push(false);
      } else if (c === ')') {
        const held = stack.pop();
        const after = source.slice(i + 1);
        const m = /^(?:\?|[*+]|\{\d+(?:,\d*)?\})/.exec(after);
        if (m && held && m[0] !== '?')
          fail('a repeated group that holds a repeat or a choice (as (a+)+) can take the browser minutes: write it without');
        if (held && stack.length) stack[stack.length - 1] = true;
      } else if (c === '|') {
        if (stack.length) stack[stack.length - 1] = true;
      } else if (c === '*' || c === '+') repeat = 2;
      else if (c === '?' && source[i - 1] !== '(') repeat = 1;
      else if (c === '{') {
        const m = /^\{(\d+)(,(\d*))?\}/.exec(source.slice(i));
        if (m) {
          if (!m[2] || m[3] !== '') {
            if (Number(m[3] || m[1]) > 50) fail('a repeat {n,m} may go up to 50, not ' + (m[3] || m[1]));
          }
          repeat = 2;
          i += m[0].length - 1;
        }
      }
      if (repeat === 2) {
        if (++repeats > MAX_REPEATS)
          fail('a word pattern may hold at most ' + MAX_REPEATS + ' repeats (*, +, {n,m}) besides ?');
        if (stack.length) stack[stack.length - 1] = true;
      }
    }
  }

  // The pattern as the words' search keys are (letters without accents or
  // case) or, `exact`, as their keys are (case folded); an escape (\w,
  // \p{Lu}) stays as written.
  function foldPattern(source, exact) {
    let out = '';
    for (let i = 0; i < source.length; i++) {
      if (source[i] === '\\') {
        const end = /[pPu]/.test(source[i + 1] || '') && source[i + 2] === '{' ? source.indexOf('}', i) : i + 1;
        out += source.slice(i, (end < 0 ? source.length : end) + 1);
        i = end < 0 ? source.length : end;
      } else {
        const c = String.fromCodePoint(source.codePointAt(i));
        if (c.length > 1) i++;
        out += /\p{L}/u.test(c) ? (exact ? velmor.fold(c) : velmor.searchKey(c)) : c;
      }
    }
    return out;
  }

  function regexOf(source, exact) {
    checkRegex(source);
    try {
      return new RegExp('^(?:' + foldPattern(source, exact) + ')$', 'u');
    } catch (e) {
      return fail('“' + source + '” is not a regular expression the browser takes: ' + e.message);
    }
  }

  // The query's text as elements: {words: [{word} | {regex}]} or {gap: [min, max]}.
  function parse(text) {
    if (text.length > MAX_QUERY) fail('a query may be ' + MAX_QUERY + ' characters long; this one has ' + velmor.fmt(text.length));
    const elements = [];
    let i = 0;
    const space = () => { while (i < text.length && /\s/.test(text[i])) i++; };
    function quoted() {  // text[i] is '"'
      const end = text.indexOf('"', i + 1);
      if (end < 0) fail('a quote (") at ' + (i + 1) + ' is not closed');
      const source = text.slice(i + 1, end);
      if (!source) fail('"" at ' + (i + 1) + ' holds no pattern');
      i = end + 1;
      return { regex: source };
    }
    function bare() {
      const m = /^[^\s"[\](){}|]+/.exec(text.slice(i));
      if (!m) fail('“' + text[i] + '” at ' + (i + 1) + ' cannot stand there');
      i += m[0].length;
      return { word: m[0] };
    }
    function one() {
      if (text[i] === '"') return quoted();
      if (text[i] === '[') {
        const m = /^\[\s*word\s*=\s*/.exec(text.slice(i));
        if (!m) fail('[ at ' + (i + 1) + ' must be [] or [word="..."]');
        i += m[0].length;
        if (text[i] !== '"') fail('[word= at ' + (i + 1) + ' must be followed by a quoted pattern');
        const w = quoted();
        space();
        if (text[i] !== ']') fail('[word="..." at ' + (i + 1) + ' is not closed by ]');
        i++;
        return w;
      }
      return bare();
    }
    for (space(); i < text.length; space()) {
      if (elements.length >= MAX_ELEMENTS) fail('a query may hold at most ' + MAX_ELEMENTS + ' words');
      const at = i;
      if (/^\[\s*\]/.test(text.slice(i))) {
        i = text.indexOf(']', i) + 1;
        let min = 1, max = 1;
        const m = /^(?:\{(\d+)(?:,(\d+))?\}|\?)/.exec(text.slice(i));
        if (m) {
          if (m[0] === '?') min = 0;
          else { min = Number(m[1]); max = m[2] === undefined ? min : Number(m[2]); }
          i += m[0].length;
          if (min > max || max > MAX_GAP) fail(m[0] + ' at ' + (at + 1) + ': a gap may run from 0 to ' + MAX_GAP + ' words, the smaller number first');
        }
        elements.push({ gap: [min, max] });
      } else if (text[i] === '(') {
        i++;
        const words = [];
        for (;;) {
          space();
          if (i >= text.length) fail('( at ' + (at + 1) + ' is not closed');
          words.push(one());
          space();
          if (i >= text.length) fail('( at ' + (at + 1) + ' is not closed');
          if (text[i] === '|') { i++; continue; }
          if (text[i] === ')') { i++; break; }
          fail('words in ( ) are parted by | and closed by ), not “' + (text[i] || '') + '” at ' + (i + 1));
        }
        elements.push({ words });
      } else if (/[)\]|{}]/.test(text[i])) {
        fail('“' + text[i] + '” at ' + (i + 1) + ' has nothing to belong to');
      } else {
        elements.push({ words: [one()] });
      }
      if (elements[elements.length - 1].words && /^[+*?{]/.test(text.slice(i)))
        fail('“' + text[i] + '” at ' + (i + 1) + ': only [] repeats; a word stands once');
    }
    if (!elements.length) fail('the query is empty');
    if (elements[0].gap || elements[elements.length - 1].gap)
      fail('[] stands between two words, not first or last: the lines show the words around a hit anyway');
    for (const e of elements) if (e.words) for (const w of e.words) if (w.regex !== undefined) regexOf(w.regex, false);
    return elements;
  }

  Object.assign(velmor, { QueryError, parse, checkRegex, foldPattern, regexOf, MAX_QUERY, MAX_ELEMENTS, MAX_WORDS,
    MAX_REGEX_WORD });
})();
