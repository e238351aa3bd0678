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

namespace korvel {

class NameFilter {
 public:
  // Holds nothing and takes no memory.
  void release() { blocks_ = {}; }
  // Takes its memory, empty, ready for names.
  void start() { blocks_.assign(kBlocks, Block{}); }
  bool started() const { return !blocks_.empty(); }
  void add(std::string_view lower);
  // False only for a name never added since start().
  bool may_hold(std::string_view lower) const;
  // Brings in the memory that add() or may_hold() of `lower` will touch, for
  // a caller with a system call to make first: the filter is far larger
  // than the caches close to the processor.
  void prefetch(std::string_view lower) const;

 private:
  static constexpr size_t kBits = size_t{1} << 22;
  static constexpr size_t kBlocks = kBits / 512;
  static constexpr size_t kProbes = 8;
  struct alignas(64) Block {
    uint64_t words[8];
  };
  static uint64_t hash_of(std::string_view lower);
  static size_t block_of(uint64_t h);
  template <typename Probe>
  static void each_probe(uint64_t h, Probe probe);
  std::vector<Block> blocks_;
};

}  // namespace korvel
