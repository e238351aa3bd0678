// A matcher of * and ? written the plain way, for the tests to hold the
// site's against: does pattern match word, code point by code point, by
// dynamic programming over every pair of places (pattern length x word
// length steps, every time).
export function globReference(pattern, word) {
  const p = Array.from(pattern), w = Array.from(word);
  // at[j]: the first i pattern characters match the first j word characters
  let at = w.map(() => false).concat(false);
  at[0] = true;
  for (const c of p) {
    const next = at.map(() => false);
    for (let j = 0; j <= w.length; j++) {
      if (c === '*') next[j] = at[j] || (j > 0 && next[j - 1]);
      else next[j] = j > 0 && at[j - 1] && (c === '?' || c === w[j - 1]);
    }
    at = next;
  }
  return at[w.length];
}
