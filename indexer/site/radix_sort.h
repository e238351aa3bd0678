#pragma once
// Items sorted by a 64-bit key, least significant byte first. A document's
// (rank, length) keys differ in only four or five of their eight bytes, and
// the passes skip the others: a few passes over a thousand items in place of
// the ten thousand comparisons of a comparison sort, whose outcomes the
// processor cannot guess.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace velmor {

// Ties keep their order, so the result is std::stable_sort's by key.
template <class Value>
void radix_sort_by_key(std::vector<std::pair<uint64_t, Value>>& items) {
  auto by_key = [](const auto& a, const auto& b) { return a.first < b.first; };
  // Below a few hundred items the passes' tables cost more than they save.
  if (items.size() < 256) return std::stable_sort(items.begin(), items.end(), by_key);
  uint64_t any = 0, all = ~uint64_t{0};
  for (const auto& item : items) {
    any |= item.first;
    all &= item.first;
  }
  const uint64_t varying = any ^ all;
  std::vector<std::pair<uint64_t, Value>> sorted(items.size());
  for (int shift = 0; shift < 64; shift += 8) {
    if ((varying >> shift & 0xFF) == 0) continue;
    size_t start[257] = {};
    for (const auto& item : items) ++start[(item.first >> shift & 0xFF) + 1];
    for (int b = 0; b < 256; ++b) start[b + 1] += start[b];
    for (const auto& item : items) sorted[start[item.first >> shift & 0xFF]++] = item;
    items.swap(sorted);
  }
}

}  // namespace velmor
