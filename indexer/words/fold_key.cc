#include <unicode/uchar.h>
#include <unicode/ucasemap.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <string>

#include "indexer/words/words.h"

namespace velmor {

// Runs an ICU string function that reports the size it needs, growing the
// buffer once when the first try was too small.
template <typename Call>
static int32_t grow_and_call(std::u16string& buffer, Call call) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = call(buffer.data(), static_cast<int32_t>(buffer.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    buffer.resize(static_cast<size_t>(n));
    status = U_ZERO_ERROR;
    n = call(buffer.data(), static_cast<int32_t>(buffer.size()), &status);
  }
  return U_FAILURE(status) ? -1 : n;
}

// Most words are NFC as written: every character decided on its own, none
// combining. Those fold straight from UTF-8 to UTF-8.
static bool is_nfc(std::string_view word) {
  const char* s = word.data();
  int32_t length = static_cast<int32_t>(word.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c;
    U8_NEXT(s, i, length, c);
    if (c < 0x300) continue;  // nothing below U+0300 composes or changes under NFC
    if (c < 0 || u_getIntPropertyValue(c, UCHAR_NFC_QUICK_CHECK) != UNORM_YES ||
        u_getCombiningClass(c) != 0)
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
  // Folding at most triples a character's bytes.
  out.resize(word.size() * 3);
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = ucasemap_utf8FoldCase(folding.map, out.data(), static_cast<int32_t>(out.size()),
                                    word.data(), static_cast<int32_t>(word.size()), &status);
  if (U_FAILURE(status)) return false;
  out.resize(static_cast<size_t>(n));
  return true;
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
  int32_t n = grow_and_call(text, [&](UChar* d, int32_t cap, UErrorCode* e) {
    int32_t len = 0;
    u_strFromUTF8WithSub(d, cap, &len, word.data(), static_cast<int32_t>(word.size()), 0xFFFD,
                         nullptr, e);
    return len;
  });
  if (n >= 0 && U_SUCCESS(status))
    n = grow_and_call(normal, [&](UChar* d, int32_t cap, UErrorCode* e) {
      return unorm2_normalize(nfc, text.data(), n, d, cap, e);
    });
  if (n >= 0)
    n = grow_and_call(folded, [&](UChar* d, int32_t cap, UErrorCode* e) {
      return u_strFoldCase(d, cap, normal.data(), n, U_FOLD_CASE_DEFAULT, e);
    });
  if (n < 0) return;  // ICU without its data: the word keys as written
  int32_t bytes = 0;
  status = U_ZERO_ERROR;
  u_strToUTF8WithSub(nullptr, 0, &bytes, folded.data(), n, 0xFFFD, nullptr, &status);
  out.resize(static_cast<size_t>(bytes));
  status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), bytes, &bytes, folded.data(), n, 0xFFFD, nullptr, &status);
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
