// The elision rule: an article or pronoun that lost its vowel before another
// word is a word of its own. "l'utilisateur" is "l'" and "utilisateur",
// "dell'arte" is "dell'" and "arte"; "don't", "O'Brien", "aujourd'hui" and
// "rock'n'roll" start with no such article and stay whole.
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <string_view>

#include "indexer/words/words.h"

namespace velmor {

// French (the articles and pronouns, and the conjunctions ending in qu'),
// Italian (articles, articulated prepositions, the pronouns and quest',
// quell', nessun'), lower case; Catalan's are among them.
static constexpr std::string_view kElided[] = {"c",    "d",    "j",     "l",      "m",      "n",      "s",     "t",
                                               "v",    "qu",   "jusqu", "lorsqu", "puisqu", "quoiqu", "all",   "dall",
                                               "dell", "nell", "sull",  "coll",   "pell",   "gl",     "agl",   "dagl",
                                               "degl", "negl", "sugl",  "un",     "quest",  "quell",  "nessun"};
constexpr size_t kLongestElided = 6;

size_t elided_length(std::string_view word) {
  size_t at = 0;
  while (at < word.size() && at <= kLongestElided) {
    const unsigned char c = static_cast<unsigned char>(word[at]);
    if (!((c | 0x20) >= 'a' && (c | 0x20) <= 'z')) break;
    ++at;
  }
  if (at == 0 || at > kLongestElided || at >= word.size()) return 0;
  const size_t mark = apostrophe_at(word, at);
  if (mark == 0) return 0;
  const size_t rest = at + mark;
  // "Dell's" and "Nell's" are English possessives, not Italian articles.
  if (word.size() - rest == 1 && (word[rest] | 0x20) == 's') return 0;
  UChar32 next;
  int32_t i = static_cast<int32_t>(rest);
  U8_NEXT(word.data(), i, static_cast<int32_t>(word.size()), next);
  if (next < 0 || !u_isalpha(next)) return 0;
  char lower[kLongestElided];
  for (size_t k = 0; k < at; ++k) lower[k] = static_cast<char>(word[k] | 0x20);
  const std::string_view prefix(lower, at);
  for (std::string_view elided : kElided)
    if (elided == prefix) return rest;
  return 0;
}

}  // namespace velmor
