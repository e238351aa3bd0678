#pragma once
// Which lower-case names a folder certainly does not hold: a filter that
// answers "certainly not there" or "maybe", in 512 KiB whatever the number
// of names. A "maybe" for a name that is not there costs its asker a read of
// the whole folder, so the filter is made to say it rarely: each name sets 8
// bits of one 512-bit block, and at 100,000 names (a working folder of 50,000
// documents, renamed) a block holds about 12 of them; a name that is not
// there then finds all its 8 bits set about once in 10^6 lookups. With 4 bits
// it was once in 10^4.
#include <cstdint>
#include <string_view>
#include <vector>

class NameFilter {
 public:
  // Holds nothing and takes no memory.
  void release() { bits_ = {}; }
  // Takes its memory, empty, ready for names.
  void start() { bits_.assign(kBits / 64, 0); }
  bool started() const { return !bits_.empty(); }
  void add(std::string_view lower);
  // False only for a name never added since start().
  bool may_hold(std::string_view lower) const;

 private:
  static constexpr size_t kBits = size_t{1} << 22;
  static constexpr size_t kProbes = 8;
  template <typename Probe>
  static void each_probe(std::string_view lower, Probe probe);
  std::vector<uint64_t> bits_;
};
