#pragma once
// A count per word, made once per thread and cleared by what was touched,
// so counting a word's neighbours costs the neighbours, not the vocabulary.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "indexer/prefetch.h"

namespace velmor {

struct DenseCounts {
  std::vector<uint32_t> counts;
  std::vector<uint32_t> touched;
  void add(uint32_t rank) {
    if (counts[rank]++ == 0) touched.push_back(rank);
  }
  // Asks for a count a few adds ahead: the ranks counted are spread over
  // the whole vocabulary, and each add is otherwise a wait on memory.
  void prefetch(uint32_t rank) const { prefetch_write<kPrefetchMeasures>(&counts[rank]); }
  // The ranks counted at least `min` times, in the order first counted.
  std::vector<uint32_t> at_least(uint32_t min) const {
    std::vector<uint32_t> ranks;
    for (uint32_t r : touched)
      if (counts[r] >= min) ranks.push_back(r);
    return ranks;
  }
};

// This thread's counts, all zero, for ranks below `words`.
inline DenseCounts& dense_counts(size_t words) {
  thread_local DenseCounts dense;
  for (uint32_t r : dense.touched) dense.counts[r] = 0;
  dense.touched.clear();
  if (dense.counts.size() < words) dense.counts.resize(words);
  return dense;
}

}  // namespace velmor
