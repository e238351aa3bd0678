#include "indexer/postings/string_table.h"

#include <functional>

namespace velmor {

StringTable::StringTable() : starts_{0}, slots_(1024, 0) {}

size_t StringTable::slot_of(std::string_view text, size_t hash) const {
  size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    if (slots_[i] == 0 || this->text(slots_[i] - 1) == text) return i;
  }
}

uint32_t StringTable::intern(std::string_view text, bool& added) {
  size_t hash = std::hash<std::string_view>()(text);
  size_t slot = slot_of(text, hash);
  if (slots_[slot] != 0) {
    added = false;
    return slots_[slot] - 1;
  }
  added = true;
  uint32_t id = size();
  arena_.append(text);
  starts_.push_back(arena_.size());
  slots_[slot] = id + 1;
  if (size() * 2 > slots_.size()) grow();
  return id;
}

void StringTable::grow() {
  std::vector<uint32_t> old;
  old.swap(slots_);
  slots_.assign(old.size() * 2, 0);
  for (uint32_t entry : old) {
    if (entry == 0) continue;
    std::string_view t = text(entry - 1);
    slots_[slot_of(t, std::hash<std::string_view>()(t))] = entry;
  }
}

size_t StringTable::memory_bytes() const {
  return arena_.capacity() + starts_.capacity() * sizeof(uint64_t) + slots_.capacity() * sizeof(uint32_t);
}

void StringTable::release() {
  std::string().swap(arena_);
  std::vector<uint64_t>{0}.swap(starts_);
  std::vector<uint32_t>(1024, 0).swap(slots_);
}

}  // namespace velmor
