#include "korvel/interp/name_filter.h"

#include "korvel/base/text.h"

namespace korvel {

// All probes of a name fall into one 512-bit block, aligned to a cache line:
// one line to touch.
size_t NameFilter::block_of(uint64_t h) { return static_cast<size_t>((h >> 40) % kBlocks); }

template <typename Probe>
void NameFilter::each_probe(uint64_t h, Probe probe) {
  // Nine bits a probe: two products of the hash give 63 bits each.
  uint64_t bits = h * 0x9E3779B97F4A7C15ull;
  for (size_t i = 0; i < kProbes; ++i, bits >>= 9) {
    if (i == kProbes / 2) bits = (h ^ (h >> 31)) * 0xBF58476D1CE4E5B9ull;
    probe(bits & 511);
  }
}

uint64_t NameFilter::hash_of(std::string_view lower) {
  uint64_t h = name_hash(lower, false);
  return h ^ (h >> 29);
}

void NameFilter::add(std::string_view lower) {
  if (!started()) return;  // it answers "maybe" to all
  uint64_t h = hash_of(lower);
  Block& block = blocks_[block_of(h)];
  each_probe(h, [&](size_t bit) { block.words[bit / 64] |= uint64_t{1} << (bit % 64); });
}

bool NameFilter::may_hold(std::string_view lower) const {
  if (!started()) return true;
  uint64_t h = hash_of(lower);
  const Block& block = blocks_[block_of(h)];
  bool all = true;
  each_probe(h, [&](size_t bit) { all = all && (block.words[bit / 64] >> (bit % 64) & 1); });
  return all;
}

void NameFilter::prefetch(std::string_view lower) const {
  if (started()) __builtin_prefetch(&blocks_[block_of(hash_of(lower))]);
}

}  // namespace korvel
