#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <array>
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
  void split_icu(std::string_view line, uint32_t from, uint32_t to, std::vector<WordSpan>& out);
};

WordSplitter::WordSplitter(WordRules rules) : impl_(std::make_unique<Impl>()), rules_(rules) {
  UErrorCode status = U_ZERO_ERROR;
  impl_->breaks = ubrk_open(UBRK_WORD, "", nullptr, 0, &status);
  if (U_FAILURE(status))
    throw std::runtime_error(std::string("ICU has no word break rules: ") + u_errorName(status));
}

WordSplitter::~WordSplitter() = default;

// ICU also makes segments of "__" or "@@"; a word needs a letter or digit.
static bool has_letter_or_digit(std::string_view line, int32_t begin, int32_t end) {
  const char* s = line.data();
  for (int32_t i = begin; i < end;) {
    UChar32 c;
    U8_NEXT(s, i, end, c);
    if (c >= 0 && u_isalnum(c)) return true;
  }
  return false;
}

void WordSplitter::Impl::split_icu(std::string_view line, uint32_t from, uint32_t to,
                                   std::vector<WordSpan>& out) {
  UErrorCode status = U_ZERO_ERROR;
  text = utext_openUTF8(text, line.data() + from, to - from, &status);
  ubrk_setUText(breaks, text, &status);
  if (U_FAILURE(status)) return;
  int32_t begin = ubrk_first(breaks);
  for (int32_t end = ubrk_next(breaks); end != UBRK_DONE; begin = end, end = ubrk_next(breaks)) {
    if (has_letter_or_digit(line, static_cast<int32_t>(from) + begin, static_cast<int32_t>(from) + end))
      out.push_back({from + static_cast<uint32_t>(begin), static_cast<uint32_t>(end - begin)});
  }
}

// How ICU's word rules class the ASCII characters: letters (and "@", for
// mail addresses), digits, the marks that join letters or digits ("don't",
// "3.14", "1,000"), and the connector that joins anything ("snake_case").
enum AsciiClass : unsigned char { kOther, kLetter, kDigit, kMidAny, kMidDigits, kConnector };

static constexpr auto kAsciiClass = [] {
  std::array<unsigned char, 128> t{};
  for (int c = 'a'; c <= 'z'; ++c) t[c] = t[c - 'a' + 'A'] = kLetter;
  for (int c = '0'; c <= '9'; ++c) t[c] = kDigit;
  t['@'] = kLetter;
  t['.'] = t['\''] = kMidAny;
  t[','] = t[';'] = kMidDigits;
  t['_'] = kConnector;
  return t;
}();

static bool is_alnum(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The words of an ASCII stretch, exactly as ICU finds them, without its
// per-character machinery.
static void split_ascii(std::string_view line, uint32_t from, uint32_t to,
                        std::vector<WordSpan>& out) {
  const auto* s = reinterpret_cast<const unsigned char*>(line.data());
  uint32_t i = from;
  while (i < to) {
    unsigned char c = kAsciiClass[s[i]];
    if (c != kLetter && c != kDigit && c != kConnector) {
      ++i;
      continue;
    }
    uint32_t begin = i;
    bool word = is_alnum(s[i]);
    for (++i; i < to; ++i) {
      unsigned char next = kAsciiClass[s[i]];
      if (next == kLetter || next == kDigit || next == kConnector) {
        word |= is_alnum(s[i]);
        continue;
      }
      if ((next != kMidAny && next != kMidDigits) || i + 1 >= to) break;
      unsigned char before = kAsciiClass[s[i - 1]], after = kAsciiClass[s[i + 1]];
      bool joins = (before == kLetter && after == kLetter && next == kMidAny) ||
                   (before == kDigit && after == kDigit);
      if (!joins) break;
      ++i;  // the mark; the loop steps over the character after it
      word |= is_alnum(s[i]);
    }
    if (word) out.push_back({begin, i - begin});
  }
}

// The elided articles of `spans` become words of their own, in place.
static void split_elisions(std::string_view line, std::vector<WordSpan>& spans) {
  size_t first = 0;
  uint32_t cut = 0;
  for (; first < spans.size(); ++first) {
    cut = static_cast<uint32_t>(elided_length(line.substr(spans[first].begin, spans[first].length)));
    if (cut) break;
  }
  if (first == spans.size()) return;
  std::vector<WordSpan> rest(spans.begin() + static_cast<std::ptrdiff_t>(first), spans.end());
  spans.resize(first);
  for (const WordSpan& s : rest) {
    if (&s != &rest.front())
      cut = static_cast<uint32_t>(elided_length(line.substr(s.begin, s.length)));
    if (cut) spans.push_back({s.begin, cut});
    spans.push_back({s.begin + cut, s.length - cut});
  }
}

void WordSplitter::split(std::string_view line, std::vector<WordSpan>& out) {
  out.clear();
  // Offsets are 32-bit: a single line past 2 GB has its words up to there.
  if (line.size() > INT32_MAX) line = line.substr(0, INT32_MAX);
  const auto* s = reinterpret_cast<const unsigned char*>(line.data());
  const auto size = static_cast<uint32_t>(line.size());
  // Unicode's word rules never join across a blank, so the line goes in
  // blank-separated pieces: plain ASCII ones by the table above, runs of
  // the others through ICU.
  uint32_t icu_from = 0, icu_to = 0;
  for (uint32_t i = 0; i < size;) {
    if (s[i] == ' ') {
      ++i;
      continue;
    }
    uint32_t begin = i;
    bool ascii = true;
    for (; i < size && s[i] != ' '; ++i) ascii &= s[i] < 0x80;
    if (!ascii) {
      if (icu_to == icu_from) icu_from = begin;
      icu_to = i;
      continue;
    }
    if (icu_to != icu_from) impl_->split_icu(line, icu_from, icu_to, out);
    icu_from = icu_to = 0;
    split_ascii(line, begin, i, out);
  }
  if (icu_to != icu_from) impl_->split_icu(line, icu_from, icu_to, out);
  if (rules_.split_elision) split_elisions(line, out);
}

}  // namespace velmor
