#include <unicode/unorm2.h>
#include <unicode/ustring.h>

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

void fold_key(std::string_view word, std::string& out) {
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

std::string fold_key(std::string_view word) {
  std::string key;
  fold_key(word, key);
  return key;
}

}  // namespace velmor
