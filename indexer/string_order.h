#pragma once
// Sorting many strings: each is compared first by its first eight bytes as
// one number, which sits beside its index in the array being sorted, and
// the strings themselves are reached only when those are equal. A sort that
// compared the strings at once would miss the cache on nearly every step.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

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

// The indices of `texts` in the order of their bytes, equal texts ordered
// by `tie(a, b)` on their indices.
template <class Tie>
std::vector<uint32_t> order_by_bytes(const std::vector<std::string>& texts, Tie tie) {
  struct Item {
    uint64_t head;
    uint32_t index;
  };
  std::vector<Item> items(texts.size());
  for (uint32_t i = 0; i < items.size(); ++i) items[i] = {string_head(texts[i]), i};
  std::sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
    if (a.head != b.head) return a.head < b.head;
    if (texts[a.index] != texts[b.index]) return texts[a.index] < texts[b.index];
    return tie(a.index, b.index);
  });
  std::vector<uint32_t> order(items.size());
  for (size_t i = 0; i < items.size(); ++i) order[i] = items[i].index;
  return order;
}

}  // namespace velmor
