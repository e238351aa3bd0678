#include "indexer/postings/string_table.h"

#include <algorithm>
#include <cstring>

#include "indexer/prefetch.h"

namespace velmor {

StringTable::StringTable() : starts_{0}, slots_(1024, 0) {}

namespace {
// Words are short, so a word is read in one or two overlapping loads rather
// than byte by byte: a page's every token is hashed, in the page's table.
// The finish spreads every input bit over both halves, which the slot and
// the tag use.
uint64_t hash_text(std::string_view text) {
  const char* p = text.data();
  const size_t n = text.size();
  auto load = [](const char* at, size_t bytes) {
    uint64_t v = 0;
    std::memcpy(&v, at, bytes);
    return v;
  };
  uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
  if (n >= 8) {
    for (size_t i = 0; i + 8 < n; i += 8) h = (h ^ load(p + i, 8)) * 0xFF51AFD7ED558CCDull;
    h ^= load(p + n - 8, 8);
  } else if (n >= 4) {
    h ^= load(p, 4) << 32 | load(p + n - 4, 4);
  } else if (n > 0) {
    h ^= load(p, 1) | load(p + n / 2, 1) << 8 | load(p + n - 1, 1) << 16;
  }
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 33;
  return h;
}

// Equality of a looked-up text with a stored one. Most are words of a few
// bytes, compared here in one or two overlapping loads instead of a call to
// memcmp per token.
bool same_text(std::string_view a, std::string_view b) {
  const size_t n = a.size();
  if (n != b.size()) return false;
  auto load = [](const char* at, size_t bytes) {
    uint64_t v = 0;
    std::memcpy(&v, at, bytes);
    return v;
  };
  if (n > 16) return std::memcmp(a.data(), b.data(), n) == 0;
  if (n > 8) return load(a.data(), 8) == load(b.data(), 8) && load(a.data() + n - 8, 8) == load(b.data() + n - 8, 8);
  if (n >= 4) return load(a.data(), 4) == load(b.data(), 4) && load(a.data() + n - 4, 4) == load(b.data() + n - 4, 4);
  for (size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

uint64_t tag_of(size_t hash) { return static_cast<uint64_t>(hash >> 32) << 32; }
uint32_t id_in(uint64_t slot) { return static_cast<uint32_t>(slot); }
}  // namespace

size_t StringTable::slot_of(std::string_view text, size_t hash) const {
  size_t mask = slots_.size() - 1;
  uint64_t tag = tag_of(hash);
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    uint64_t slot = slots_[i];
    if (slot == 0) return i;
    if ((slot & 0xffffffff00000000u) == tag && same_text(this->text(id_in(slot) - 1), text)) return i;
  }
}

uint32_t StringTable::intern(std::string_view text, bool& added) { return intern_hashed(text, hash_text(text), added); }

uint32_t StringTable::intern_hashed(std::string_view text, size_t hash, bool& added) {
  size_t slot = slot_of(text, hash);
  if (slots_[slot] != 0) {
    added = false;
    return id_in(slots_[slot]) - 1;
  }
  added = true;
  uint32_t id = size();
  arena_.append(text);
  starts_.push_back(arena_.size());
  slots_[slot] = tag_of(hash) | (id + 1);
  if (size() * 2 > slots_.size()) grow();
  return id;
}

void StringTable::intern_all(std::span<const std::string_view> texts, std::vector<uint32_t>& ids) {
  size_t hashes[kInternBatch];
  for (size_t from = 0; from < texts.size(); from += kInternBatch) {
    const size_t n = std::min(kInternBatch, texts.size() - from);
    const size_t mask = slots_.size() - 1;
    // Each pass asks for what the next one reads; they are hints only, and
    // the last pass is the plain look-up, right whatever the others found.
    for (size_t i = 0; i < n; ++i) {
      hashes[i] = hash_text(texts[from + i]);
      prefetch_read<kPrefetchStringTable>(&slots_[hashes[i] & mask]);
    }
    if (prefetching(kPrefetchStringTable)) {
      for (size_t i = 0; i < n; ++i) {
        const uint64_t slot = slots_[hashes[i] & mask];
        if (slot != 0) prefetch_read<kPrefetchStringTable>(&starts_[id_in(slot) - 1]);
      }
      for (size_t i = 0; i < n; ++i) {
        const uint64_t slot = slots_[hashes[i] & mask];
        if (slot != 0) prefetch_read<kPrefetchStringTable>(arena_.data() + starts_[id_in(slot) - 1]);
      }
    }
    for (size_t i = 0; i < n; ++i) {
      bool added;
      ids.push_back(intern_hashed(texts[from + i], hashes[i], added));
    }
  }
}

void StringTable::grow() {
  std::vector<uint64_t> old;
  old.swap(slots_);
  slots_.assign(old.size() * 2, 0);
  size_t mask = slots_.size() - 1;
  for (uint64_t entry : old) {
    if (entry == 0) continue;
    std::string_view t = text(id_in(entry) - 1);
    size_t i = hash_text(t) & mask;
    while (slots_[i] != 0) i = (i + 1) & mask;
    slots_[i] = entry;
  }
}

size_t StringTable::memory_bytes() const {
  return arena_.capacity() + starts_.capacity() * sizeof(uint64_t) + slots_.capacity() * sizeof(uint64_t);
}

void StringTable::clear() {
  arena_.clear();
  starts_.assign(1, 0);
  // One huge page must not make every later clear a huge memset.
  if (slots_.size() > (1u << 16)) std::vector<uint64_t>(1024, 0).swap(slots_);
  else std::fill(slots_.begin(), slots_.end(), 0);
}

void StringTable::release() {
  std::string().swap(arena_);
  std::vector<uint64_t>{0}.swap(starts_);
  std::vector<uint64_t>(1024, 0).swap(slots_);
}

}  // namespace velmor
