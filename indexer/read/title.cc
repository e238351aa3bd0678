#include "indexer/read/title.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace velmor {

// More "_" than letters and digits: the name is mostly stand-ins.
static bool lost_its_letters(std::string_view name) {
  name = name.substr(0, name.rfind('.'));
  size_t blanks = 0, kept = 0;
  for (int32_t i = 0, n = static_cast<int32_t>(name.size()); i < n;) {
    UChar32 c;
    U8_NEXT(name.data(), i, n, c);
    if (c == '_') ++blanks;
    else if (c >= 0 && u_isalnum(c)) ++kept;
  }
  return blanks > kept;
}

static bool holds_letter_or_digit(std::string_view line) {
  for (int32_t i = 0, n = static_cast<int32_t>(line.size()); i < n;) {
    UChar32 c;
    U8_NEXT(line.data(), i, n, c);
    if (c >= 0 && u_isalnum(c)) return true;
  }
  return false;
}

std::string text_page_title(std::string_view name, const std::vector<std::string>& lines) {
  if (!lost_its_letters(name)) return std::string(name);
  for (std::string_view line : lines) {
    if (!holds_letter_or_digit(line)) continue;
    // Blanks and tabs between the words of a heading ("LS(1)   User
    // Commands   LS(1)") read as one space in a name.
    std::string words;
    for (size_t i = 0; i < line.size(); ++i) {
      const bool blank = line[i] == ' ' || line[i] == '\t';
      if (!blank) words += line[i];
      else if (!words.empty() && words.back() != ' ') words += ' ';
    }
    if (!words.empty() && words.back() == ' ') words.pop_back();
    line = words;
    // Cut at a whole code point, and say so.
    int32_t at = 0, n = static_cast<int32_t>(line.size());
    for (size_t count = 0; at < n && count < kTitleCodePoints; ++count) U8_FWD_1(line.data(), at, n);
    if (at >= n) return std::string(line);
    return std::string(line.substr(0, static_cast<size_t>(at))) + "\xE2\x80\xA6";
  }
  return std::string(name);
}

}  // namespace velmor
