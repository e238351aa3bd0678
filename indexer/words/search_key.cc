// The search key: what is left of a word once the differences a reader
// does not type are gone. Built from Unicode's own tables (compatibility
// decomposition, marks, case folding) plus the few letters that ICU's
// primary strength treats as plain ones though Unicode gives them no
// decomposition; the site's script repeats exactly these steps.
#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <string>

#include "indexer/words/icu_call.h"
#include "indexer/words/words.h"

namespace velmor {

// Letters that fold to others at primary strength without a decomposition.
static const char16_t* plain_letters(UChar32 c) {
  switch (c) {
    case u'ı': return u"i";
    case u'đ': return u"d";
    case u'ð': return u"d";
    case u'ł': return u"l";
    case u'ø': return u"o";
    case u'ħ': return u"h";
    case u'æ': return u"ae";
    case u'œ': return u"oe";
    case u'\u2018':
    case u'\u2019':
    case u'\u02BC':
    case u'\uFF07': return u"'";
    default: return nullptr;
  }
}

static bool normalize(const UNormalizer2* form, const std::u16string& in, std::u16string& out) {
  return icu_call(out, in.size() * 3 + 8, [&](UChar* d, int32_t cap, UErrorCode* e) {
    return unorm2_normalize(form, in.data(), static_cast<int32_t>(in.size()), d, cap, e);
  });
}

std::string search_key(std::string_view word) {
  bool ascii = true;
  std::string out(word);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  if (ascii) return out;

  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfkd = unorm2_getNFKDInstance(&status);
  const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
  if (U_FAILURE(status)) return fold_key(word);
  // Buffers kept from word to word: this runs once for every distinct word.
  thread_local std::u16string text, folded, split, kept;
  kept.clear();
  const int32_t bytes = static_cast<int32_t>(word.size());
  // Case folding first, so a word and its key give one search key: "ᾼ"
  // folds to "αι" before its iota could go as a mark.
  if (!icu_call(text, word.size(),
                [&](UChar* d, int32_t cap, UErrorCode* e) {
                  int32_t n = 0;
                  u_strFromUTF8WithSub(d, cap, &n, word.data(), bytes, 0xFFFD, nullptr, e);
                  return n;
                }) ||
      !icu_call(folded, text.size() + 8,
                [&](UChar* d, int32_t cap, UErrorCode* e) {
                  return u_strFoldCase(d, cap, text.data(), static_cast<int32_t>(text.size()), U_FOLD_CASE_DEFAULT, e);
                }) ||
      !normalize(nfkd, folded, split))
    return fold_key(word);

  for (size_t i = 0; i < split.size();) {
    UChar32 c;
    U16_NEXT(split.data(), i, split.size(), c);
    const int8_t type = u_charType(c);
    if (type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK) continue;
    // Again, for what the decomposition made: "ℌ" -> "H" -> "h". One code
    // point to one is enough here: what folds to more folded above.
    const UChar32 f = u_foldCase(c, U_FOLD_CASE_DEFAULT);
    if (const char16_t* plain = plain_letters(f)) {
      kept += plain;
    } else if (f >= 0x30A1 && f <= 0x30F6) {
      kept += static_cast<char16_t>(f - 0x60);  // katakana as hiragana
    } else if (f > 0xFFFF) {
      kept += static_cast<char16_t>(U16_LEAD(f));
      kept += static_cast<char16_t>(U16_TRAIL(f));
    } else {
      kept += static_cast<char16_t>(f);
    }
  }
  // Hangul syllables came apart into their letters; they join again.
  if (!normalize(nfc, kept, text) || !icu_call(out, text.size() * 3, [&](char* d, int32_t cap, UErrorCode* e) {
        int32_t n = 0;
        u_strToUTF8WithSub(d, cap, &n, text.data(), static_cast<int32_t>(text.size()), 0xFFFD, nullptr, e);
        return n;
      }))
    out.clear();
  return out;
}

}  // namespace velmor
