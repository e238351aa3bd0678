#pragma once
// Where an occurrence starts in UTF-16 units, as the page's script counts
// it, without counting a long line from its start for each occurrence: a
// long line's count at every kStep bytes is taken once, up front, so each
// position costs at most kStep bytes of counting. In "aé😀b", 'b' (byte 7)
// starts at unit 4.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "indexer/model.h"

namespace velmor {

class Utf16Positions {
 public:
  static constexpr size_t kStep = 1024;  // lines up to 4 steps long are counted each time

  explicit Utf16Positions(const Corpus& corpus);

  // UTF-16 units of `text`, line `line` of document `doc`, before `byte`.
  // Safe to call from several threads at once.
  uint32_t before(uint32_t doc, uint32_t line, std::string_view text, size_t byte) const;

 private:
  // Per long line: the units before byte k * kStep, for each k.
  std::unordered_map<uint64_t, std::vector<uint32_t>> marks_;
};

}  // namespace velmor
