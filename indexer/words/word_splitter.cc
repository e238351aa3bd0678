#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <array>
#include <climits>
#include <stdexcept>
#include <string>
#include <vector>

#include "indexer/words/words.h"

namespace velmor {

// How ICU's word rules class the characters the splitter takes without it:
// letters (and "@", for mail addresses), digits, the marks that join
// letters or digits ("don't", "3.14", "1,000"), and the connector that joins
// anything ("snake_case").
enum CharClass : unsigned char { kOther, kLetter, kDigit, kMidAny, kMidDigits, kConnector };

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

struct Classed {
  uint32_t at;  // byte offset in the line
  unsigned char cls;
  bool alnum;
};

// An ASCII character as the table classes it.
static Classed ascii_classed(const unsigned char* s, uint32_t at) {
  const unsigned char cls = kAsciiClass[s[at]];
  return {at, cls, cls == kDigit || (cls == kLetter && s[at] != '@')};
}

// What the splitter needs to know of a character beyond ASCII.
enum CharKind : unsigned char { kNotLookedUp, kNeedsIcu, kLetterAlnum, kLetterOnly, kExtendAlnum, kExtendOnly };

static CharKind kind_in_icu(UChar32 c) {
  switch (u_getIntPropertyValue(c, UCHAR_WORD_BREAK)) {
    case U_WB_ALETTER:
      // ICU keeps Hangul apart from the letters around it.
      if (u_getIntPropertyValue(c, UCHAR_SCRIPT) == USCRIPT_HANGUL) return kNeedsIcu;
      return u_isalnum(c) ? kLetterAlnum : kLetterOnly;
    case U_WB_EXTEND: return u_isalnum(c) ? kExtendAlnum : kExtendOnly;
    default: return kNeedsIcu;
  }
}

// Each character of the basic plane is looked up in ICU once, the first
// time this splitter meets it: a text repeats its few hundred characters.
class CharKinds {
 public:
  CharKind of(UChar32 c) {
    if (c >= 0x10000) return kind_in_icu(c);
    if (kinds_.empty()) kinds_.assign(0x10000, kNotLookedUp);
    CharKind& k = kinds_[static_cast<size_t>(c)];
    if (k == kNotLookedUp) k = kind_in_icu(c);
    return k;
  }

 private:
  std::vector<CharKind> kinds_;
};

struct WordSplitter::Impl {
  UBreakIterator* breaks = nullptr;
  UText* text = nullptr;
  std::vector<Classed> classed;  // the piece at hand
  CharKinds kinds;
  ~Impl() {
    ubrk_close(breaks);
    utext_close(text);
  }
  void split_icu(std::string_view line, uint32_t from, uint32_t to, std::vector<WordSpan>& out);
};

WordSplitter::WordSplitter(WordRules rules) : impl_(std::make_unique<Impl>()), rules_(rules) {
  UErrorCode status = U_ZERO_ERROR;
  impl_->breaks = ubrk_open(UBRK_WORD, "", nullptr, 0, &status);
  if (U_FAILURE(status)) throw std::runtime_error(std::string("ICU has no word break rules: ") + u_errorName(status));
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

void WordSplitter::Impl::split_icu(std::string_view line, uint32_t from, uint32_t to, std::vector<WordSpan>& out) {
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

// The characters of a blank-free piece as the table above classes them, or
// false when one of them needs ICU's own rules. Beyond ASCII that is all
// but the letters of alphabetic scripts (Word_Break=ALetter: not Hebrew,
// Katakana, ideographs or the scripts ICU splits by dictionary; nor Hangul)
// and the combining marks right after a letter or digit, which belong to it.
static bool classify(std::string_view line, uint32_t from, uint32_t to, CharKinds& kinds, std::vector<Classed>& out) {
  out.clear();
  const char* s = line.data();
  for (int32_t i = static_cast<int32_t>(from); i < static_cast<int32_t>(to);) {
    const auto at = static_cast<uint32_t>(i);
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      ++i;
      out.push_back(ascii_classed(reinterpret_cast<const unsigned char*>(s), at));
      continue;
    }
    UChar32 c;
    U8_NEXT(s, i, static_cast<int32_t>(to), c);
    if (c < 0) return false;
    switch (const CharKind kind = kinds.of(c)) {
      case kLetterAlnum:
      case kLetterOnly: out.push_back({at, kLetter, kind == kLetterAlnum}); break;
      case kExtendAlnum:
      case kExtendOnly:
        if (out.empty() || (out.back().cls != kLetter && out.back().cls != kDigit)) return false;
        out.push_back({at, out.back().cls, kind == kExtendAlnum});
        break;
      default: return false;
    }
  }
  return true;
}

// The words of a piece of `n` characters, exactly as ICU finds them,
// without its per-character machinery; `at(i)` is the i-th as Classed, and
// `end` the piece's end in the line.
template <class At>
static void split_classed(size_t n, At at, uint32_t end, std::vector<WordSpan>& out) {
  size_t i = 0;
  while (i < n) {
    unsigned char c = at(i).cls;
    if (c != kLetter && c != kDigit && c != kConnector) {
      ++i;
      continue;
    }
    const uint32_t begin = at(i).at;
    bool word = at(i).alnum;
    for (++i; i < n; ++i) {
      unsigned char next = at(i).cls;
      if (next == kLetter || next == kDigit || next == kConnector) {
        word |= at(i).alnum;
        continue;
      }
      if ((next != kMidAny && next != kMidDigits) || i + 1 >= n) break;
      unsigned char before = at(i - 1).cls, after = at(i + 1).cls;
      bool joins = (before == kLetter && after == kLetter && next == kMidAny) || (before == kDigit && after == kDigit);
      if (!joins) break;
      ++i;  // the mark; the loop steps over the character after it
      word |= at(i).alnum;
    }
    if (word) out.push_back({begin, (i < n ? at(i).at : end) - begin});
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
    if (&s != &rest.front()) cut = static_cast<uint32_t>(elided_length(line.substr(s.begin, s.length)));
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
  // blank-separated pieces: those of letters, digits and the ASCII marks by
  // the table above, runs of the others through ICU.
  uint32_t icu_from = 0, icu_to = 0;
  for (uint32_t i = 0; i < size;) {
    if (s[i] == ' ') {
      ++i;
      continue;
    }
    const uint32_t begin = i;
    bool ascii = true;
    for (; i < size && s[i] != ' '; ++i) ascii &= s[i] < 0x80;
    // Plain ASCII, the commonest piece, is classed as it is read.
    if (!ascii && !classify(line, begin, i, impl_->kinds, impl_->classed)) {
      if (icu_to == icu_from) icu_from = begin;
      icu_to = i;
      continue;
    }
    if (icu_to != icu_from) impl_->split_icu(line, icu_from, icu_to, out);
    icu_from = icu_to = 0;
    if (ascii)
      split_classed(
          i - begin, [&](size_t k) { return ascii_classed(s, begin + static_cast<uint32_t>(k)); }, i, out);
    else
      split_classed(
          impl_->classed.size(), [&](size_t k) { return impl_->classed[k]; }, i, out);
  }
  if (icu_to != icu_from) impl_->split_icu(line, icu_from, icu_to, out);
  if (rules_.split_elision) split_elisions(line, out);
}

}  // namespace velmor
