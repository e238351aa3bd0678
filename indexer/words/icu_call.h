#pragma once
// ICU's string functions write into a buffer the caller sizes and report
// the size they needed when it was too small. Keys go through them for
// every distinct word, so the buffers are reused, and no guess at how far
// a word can grow stands in for the answer: U+FDFA alone decomposes to 18
// characters.
#include <unicode/utypes.h>

#include <cstddef>
#include <cstdint>

namespace velmor {

// Runs `call(data, capacity, &status)` into `buffer` (a std::string or
// std::u16string) with room for `guess` units, once more with the room the
// first call asked for when that was too little, and leaves it holding
// exactly what was written. False when ICU fails (without its data, say).
template <typename Buffer, typename Call>
bool icu_call(Buffer& buffer, size_t guess, Call call) {
  buffer.resize(guess);
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = call(buffer.data(), static_cast<int32_t>(buffer.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    buffer.resize(static_cast<size_t>(n));
    status = U_ZERO_ERROR;
    n = call(buffer.data(), n, &status);
  }
  if (U_FAILURE(status)) return false;
  buffer.resize(static_cast<size_t>(n));
  return true;
}

}  // namespace velmor
