#pragma once
// Sorting many strings: each is compared first by its first eight bytes as
// one number, which sits beside its index in the array being sorted, and
// the strings themselves are reached only when those are equal. A sort that
// compared the strings at once would miss the cache on nearly every step.
#include <cstdint>
#include <cstring>
#include <string_view>

namespace velmor {

// The first eight bytes of `text`, big-endian, zero-padded. Two strings'
// heads, when they differ, order the strings as their bytes do.
inline uint64_t string_head(std::string_view text) {
  unsigned char bytes[8] = {};
  std::memcpy(bytes, text.data(), text.size() < 8 ? text.size() : 8);
  uint64_t head = 0;
  for (unsigned char b : bytes) head = head << 8 | b;
  return head;
}

}  // namespace velmor
