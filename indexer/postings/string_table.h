#pragma once
// Strings to dense ids 0, 1, 2... in the order first seen. The strings live
// in one arena and the table holds only ids, so a few million distinct words
// cost tens of megabytes, not the hundreds that a node-based map would.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

class StringTable {
 public:
  StringTable();
  // The id of `text`, adding it when new; `added` says which.
  uint32_t intern(std::string_view text, bool& added);
  // The ids of many strings, as `intern` gives them one by one, appended to
  // `ids`. A large table is mostly out of the cache, and a look-up waits on
  // three reads of memory (its slot, its string's start, its string); here
  // the reads of a few dozen look-ups are asked for ahead and overlap.
  void intern_all(std::span<const std::string_view> texts, std::vector<uint32_t>& ids);
  std::string_view text(uint32_t id) const {
    return std::string_view(arena_).substr(starts_[id], starts_[id + 1] - starts_[id]);
  }
  uint32_t size() const { return static_cast<uint32_t>(starts_.size() - 1); }
  size_t memory_bytes() const;
  // Empties the table for reuse; a small table keeps its memory.
  void clear();
  // Gives the memory back; the table is empty afterwards.
  void release();

 private:
  void grow();
  size_t slot_of(std::string_view text, size_t hash) const;
  uint32_t intern_hashed(std::string_view text, size_t hash, bool& added);

  std::string arena_;
  std::vector<uint64_t> starts_;  // one past the last string too
  // id + 1 in the low half, 0 for empty, and the high half of the hash, so
  // that most mismatches are seen without touching the arena.
  std::vector<uint64_t> slots_;  // size a power of two
};

}  // namespace velmor
