#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <climits>
#include <stdexcept>
#include <string>

#include "indexer/words/words.h"

namespace velmor {

struct WordSplitter::Impl {
  UBreakIterator* breaks = nullptr;
  UText* text = nullptr;
  ~Impl() {
    ubrk_close(breaks);
    utext_close(text);
  }
};

WordSplitter::WordSplitter() : impl_(std::make_unique<Impl>()) {
  UErrorCode status = U_ZERO_ERROR;
  impl_->breaks = ubrk_open(UBRK_WORD, "", nullptr, 0, &status);
  if (U_FAILURE(status))
    throw std::runtime_error(std::string("ICU has no word break rules: ") + u_errorName(status));
}

WordSplitter::~WordSplitter() = default;

// ICU tags the segments it knows as words; a segment it leaves untagged
// still counts when it holds a letter or digit, so no text is lost.
static bool has_letter_or_digit(std::string_view line, int32_t begin, int32_t end) {
  const char* s = line.data();
  for (int32_t i = begin; i < end;) {
    UChar32 c;
    U8_NEXT(s, i, end, c);
    if (c >= 0 && u_isalnum(c)) return true;
  }
  return false;
}

void WordSplitter::split(std::string_view line, std::vector<WordSpan>& out) {
  out.clear();
  // Offsets are 32-bit: a single line past 2 GB has its words up to there.
  if (line.size() > INT32_MAX) line = line.substr(0, INT32_MAX);
  if (line.empty()) return;
  UErrorCode status = U_ZERO_ERROR;
  impl_->text = utext_openUTF8(impl_->text, line.data(), static_cast<int64_t>(line.size()), &status);
  ubrk_setUText(impl_->breaks, impl_->text, &status);
  if (U_FAILURE(status)) return;
  int32_t begin = ubrk_first(impl_->breaks);
  for (int32_t end = ubrk_next(impl_->breaks); end != UBRK_DONE;
       begin = end, end = ubrk_next(impl_->breaks)) {
    if (ubrk_getRuleStatus(impl_->breaks) >= UBRK_WORD_NONE_LIMIT ||
        has_letter_or_digit(line, begin, end))
      out.push_back({static_cast<uint32_t>(begin), static_cast<uint32_t>(end - begin)});
  }
}

}  // namespace velmor
