// The word splitter on any text finds exactly the words ICU's break
// iterator finds, as the splitter's own table reads letters and marks that
// ICU would otherwise class one by one.
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/fuzz_check.h"
#include "indexer/read/utf8_text.h"
#include "indexer/testing/icu_words.h"
#include "indexer/words/words.h"

namespace {

// The splitter cuts at blanks first; ICU joins a mark (or a format or
// joiner character) to the blank before it, a difference only such lines show.
bool mark_after_blank(const std::string& line) {
  for (int32_t i = 0; i < static_cast<int32_t>(line.size());) {
    const bool blank = line[static_cast<size_t>(i)] == ' ';
    ++i;
    if (!blank || i >= static_cast<int32_t>(line.size())) continue;
    UChar32 c;
    int32_t at = i;
    U8_NEXT(line.data(), at, static_cast<int32_t>(line.size()), c);
    const int wb = u_getIntPropertyValue(c, UCHAR_WORD_BREAK);
    if (wb == U_WB_EXTEND || wb == U_WB_FORMAT || wb == U_WB_ZWJ) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string line;
  velmor::append_valid_utf8(std::string_view(reinterpret_cast<const char*>(data), size), line);
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  if (mark_after_blank(line)) return 0;
  velmor::WordRules unicode_only;
  unicode_only.split_elision = false;
  static velmor::WordSplitter splitter(unicode_only);
  std::vector<velmor::WordSpan> spans;
  splitter.split(line, spans);
  std::vector<std::string> words;
  for (const velmor::WordSpan& s : spans) words.push_back(line.substr(s.begin, s.length));
  FUZZ_CHECK(words == velmor::icu_words_of(line));
  return 0;
}
