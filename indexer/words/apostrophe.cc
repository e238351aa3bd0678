// The apostrophe rule: the marks people type for an apostrophe, the
// typewriter's ' and the typesetter's ’ above all, are one in a word's
// key, so "l’option" and "l'option" are one entry. The grave accent `
// is not among them: it quotes (`ls') rather than elides, and Unicode's
// word rules never put it inside a word.
#include <string>
#include <string_view>

#include "indexer/words/words.h"

namespace velmor {

size_t apostrophe_at(std::string_view text, size_t i) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  if (s[i] == '\'') return 1;
  if (s[i] == 0xE2 && i + 2 < n && s[i + 1] == 0x80 && (s[i + 2] == 0x98 || s[i + 2] == 0x99)) return 3;
  if (s[i] == 0xCA && i + 1 < n && s[i + 1] == 0xBC) return 2;                      // U+02BC
  if (s[i] == 0xEF && i + 2 < n && s[i + 1] == 0xBC && s[i + 2] == 0x87) return 3;  // U+FF07
  return 0;
}

void unify_apostrophes(std::string& key) {
  size_t to = 0;
  for (size_t i = 0; i < key.size();) {
    const size_t mark = static_cast<unsigned char>(key[i]) < 0x80 ? 0 : apostrophe_at(key, i);
    if (mark > 1) {
      key[to++] = '\'';
      i += mark;
    } else {
      key[to++] = key[i++];
    }
  }
  key.resize(to);
}

}  // namespace velmor
