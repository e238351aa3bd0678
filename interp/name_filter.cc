#include "interp/name_filter.h"

#include "shell/text.h"

// All probes of a name fall into one 512-bit block: one cache line to touch.
template <typename Probe>
void NameFilter::each_probe(std::string_view lower, Probe probe) {
  uint64_t h = name_hash(lower, false);
  h ^= h >> 29;
  size_t block = static_cast<size_t>((h >> 40) % (kBits / 512)) * 512;
  // Nine bits a probe: two products of the hash give 63 bits each.
  uint64_t bits = h * 0x9E3779B97F4A7C15ull;
  for (size_t i = 0; i < kProbes; ++i, bits >>= 9) {
    if (i == kProbes / 2) bits = (h ^ (h >> 31)) * 0xBF58476D1CE4E5B9ull;
    probe(block + (bits & 511));
  }
}

void NameFilter::add(std::string_view lower) {
  if (!started()) return;  // it answers "maybe" to all
  each_probe(lower, [&](size_t bit) { bits_[bit / 64] |= uint64_t{1} << (bit % 64); });
}

bool NameFilter::may_hold(std::string_view lower) const {
  if (!started()) return true;
  bool all = true;
  each_probe(lower, [&](size_t bit) { all = all && (bits_[bit / 64] >> (bit % 64) & 1); });
  return all;
}
