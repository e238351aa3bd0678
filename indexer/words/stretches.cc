#include "indexer/words/stretches.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>

namespace velmor {

bool ends_sentence(std::string_view gap) {
  const auto* s = reinterpret_cast<const uint8_t*>(gap.data());
  const int32_t length = static_cast<int32_t>(gap.size());
  for (int32_t i = 0; i < length;) {
    if (s[i] < 0x80) {
      if (s[i] == '.' || s[i] == '!' || s[i] == '?') return true;
      ++i;
      continue;
    }
    UChar32 c;
    U8_NEXT(s, i, length, c);
    if (c == 0x2026 || (c >= 0 && u_hasBinaryProperty(c, UCHAR_S_TERM))) return true;
  }
  return false;
}

bool parts_stretches(const Document& doc, uint32_t line, uint32_t end, uint32_t next_line, uint32_t begin) {
  if (next_line == line) return ends_sentence(std::string_view(doc.lines[line]).substr(end, begin - end));
  if (next_line != line + 1) return true;
  if (!std::binary_search(doc.continued_lines.begin(), doc.continued_lines.end(), next_line)) return true;
  return ends_sentence(std::string_view(doc.lines[line]).substr(end)) ||
         ends_sentence(std::string_view(doc.lines[next_line]).substr(0, begin));
}

}  // namespace velmor
