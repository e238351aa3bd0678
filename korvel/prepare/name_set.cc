#include "korvel/prepare/name_set.h"

#include <cstring>

#include "korvel/base/text.h"

namespace korvel {

namespace {
constexpr size_t kBlockSize = 64 * 1024;
}  // namespace

uint32_t NameSet::store(std::string_view name) {
  size_t need = sizeof(uint32_t) + name.size();
  if (blocks_.empty() || need > block_size_ - block_used_) {
    block_size_ = need > kBlockSize ? need : kBlockSize;
    blocks_.push_back(std::make_unique<char[]>(block_size_));
    block_used_ = 0;
  }
  char* into = blocks_.back().get() + block_used_;
  uint32_t length = static_cast<uint32_t>(name.size());
  std::memcpy(into, &length, sizeof length);
  std::memcpy(into + sizeof length, name.data(), name.size());
  uint32_t place = static_cast<uint32_t>((blocks_.size() - 1) << 16 | block_used_);
  block_used_ += need;
  return place;
}

std::string_view NameSet::at(uint32_t place) const {
  const char* from = blocks_[place >> 16].get() + (place & 0xFFFF);
  uint32_t length;
  std::memcpy(&length, from, sizeof length);
  return {from + sizeof length, length};
}

// Kept at most half full, so that a probe for a missing name ends soon.
void NameSet::grow_table() {
  std::vector<uint32_t> table(table_.empty() ? 64 : table_.size() * 2, 0);
  size_t mask = table.size() - 1;
  for (size_t i = 0; i < names_.size(); ++i) {
    size_t slot = name_hash(at(names_[i]), true) & mask;
    while (table[slot] != 0) slot = (slot + 1) & mask;
    table[slot] = static_cast<uint32_t>(i + 1);
  }
  table_.swap(table);
}

size_t NameSet::insert(std::string_view name) {
  if (2 * (names_.size() + 1) > table_.size()) grow_table();
  names_.push_back(store(name));
  size_t mask = table_.size() - 1;
  size_t slot = name_hash(name, true) & mask;
  while (table_[slot] != 0) slot = (slot + 1) & mask;
  table_[slot] = static_cast<uint32_t>(names_.size());
  return names_.size() - 1;
}

size_t NameSet::count(std::string_view name) const {
  if (table_.empty()) return 0;
  size_t mask = table_.size() - 1, found = 0;
  for (size_t slot = name_hash(name, true) & mask; table_[slot] != 0; slot = (slot + 1) & mask)
    if (equals_ignore_case(at(names_[table_[slot] - 1]), name)) ++found;
  return found;
}

std::string_view NameSet::operator[](size_t index) const { return at(names_[index]); }

}  // namespace korvel
