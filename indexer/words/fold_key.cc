#include <unicode/uchar.h>
#include <unicode/ucasemap.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <string>

#include "indexer/words/icu_call.h"
#include "indexer/words/words.h"

namespace velmor {

// Most words are NFC as written: every character decided on its own, none
// combining. Those fold straight from UTF-8 to UTF-8.
static bool is_nfc(std::string_view word) {
  const char* s = word.data();
  int32_t length = static_cast<int32_t>(word.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c;
    U8_NEXT(s, i, length, c);
    if (c < 0x300) continue;  // nothing below U+0300 composes or changes under NFC
    if (c < 0 || u_getIntPropertyValue(c, UCHAR_NFC_QUICK_CHECK) != UNORM_YES || u_getCombiningClass(c) != 0)
      return false;
  }
  return true;
}

static bool fold_utf8(std::string_view word, std::string& out) {
  struct Map {
    UCaseMap* map = nullptr;
    Map() {
      UErrorCode status = U_ZERO_ERROR;
      map = ucasemap_open("", U_FOLD_CASE_DEFAULT, &status);
    }
    ~Map() { ucasemap_close(map); }
  };
  thread_local Map folding;
  if (!folding.map) return false;
  return icu_call(out, word.size() + 16, [&](char* d, int32_t cap, UErrorCode* e) {
    return ucasemap_utf8FoldCase(folding.map, d, cap, word.data(), static_cast<int32_t>(word.size()), e);
  });
}

static void case_fold(std::string_view word, std::string& out) {
  out.assign(word);
  bool ascii = true;
  for (char& c : out) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  if (ascii) return;
  if (is_nfc(word) && fold_utf8(word, out)) return;

  thread_local std::u16string text, normal, folded;
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
  const bool done =
      U_SUCCESS(status) &&
      icu_call(text, word.size(),
               [&](UChar* d, int32_t cap, UErrorCode* e) {
                 int32_t n = 0;
                 u_strFromUTF8WithSub(d, cap, &n, word.data(), static_cast<int32_t>(word.size()), 0xFFFD, nullptr, e);
                 return n;
               }) &&
      icu_call(normal, text.size() + 8,
               [&](UChar* d, int32_t cap, UErrorCode* e) {
                 return unorm2_normalize(nfc, text.data(), static_cast<int32_t>(text.size()), d, cap, e);
               }) &&
      icu_call(folded, normal.size() + 8, [&](UChar* d, int32_t cap, UErrorCode* e) {
        return u_strFoldCase(d, cap, normal.data(), static_cast<int32_t>(normal.size()), U_FOLD_CASE_DEFAULT, e);
      });
  if (!done || !icu_call(out, folded.size() * 3, [&](char* d, int32_t cap, UErrorCode* e) {
        int32_t n = 0;
        u_strToUTF8WithSub(d, cap, &n, folded.data(), static_cast<int32_t>(folded.size()), 0xFFFD, nullptr, e);
        return n;
      }))
    out.assign(word);  // ICU without its data: the word keys as written
}

void fold_key(std::string_view word, std::string& out) {
  case_fold(word, out);
  unify_apostrophes(out);
}

std::string fold_key(std::string_view word) {
  std::string key;
  fold_key(word, key);
  return key;
}

std::string fold_key_keeping_apostrophes(std::string_view word) {
  std::string key;
  case_fold(word, key);
  return key;
}

KeyFunction key_function(const WordRules& rules) {
  return rules.unify_apostrophes ? static_cast<KeyFunction>(fold_key) : fold_key_keeping_apostrophes;
}

}  // namespace velmor
