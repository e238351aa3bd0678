#pragma once
// The words ICU's break iterator finds in a whole line, one by one, each a
// segment with a letter or digit in it: what the word splitter's tests and
// its fuzz target hold it to.
#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <string>
#include <vector>

namespace velmor {

inline std::vector<std::string> icu_words_of(const std::string& line) {
  UErrorCode status = U_ZERO_ERROR;
  UBreakIterator* breaks = ubrk_open(UBRK_WORD, "", nullptr, 0, &status);
  UText* text = utext_openUTF8(nullptr, line.data(), static_cast<int64_t>(line.size()), &status);
  ubrk_setUText(breaks, text, &status);
  std::vector<std::string> out;
  int32_t begin = ubrk_first(breaks);
  for (int32_t end = ubrk_next(breaks); end != UBRK_DONE; begin = end, end = ubrk_next(breaks)) {
    bool word = false;
    for (int32_t i = begin; i < end;) {
      UChar32 c;
      U8_NEXT(line.data(), i, end, c);
      word |= c >= 0 && u_isalnum(c);
    }
    if (word) out.push_back(line.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin)));
  }
  ubrk_close(breaks);
  utext_close(text);
  return out;
}

}  // namespace velmor
