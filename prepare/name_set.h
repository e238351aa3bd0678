#pragma once
// Names held without regard to ASCII letter case, each as often as it was
// added and in the order added. The bytes are packed into blocks and found
// through an open-addressing table of their indexes: a folder of 50,000
// names costs about 50 bytes a name, where a set of strings costs hundreds.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class NameSet {
 public:
  // Adds `name` once more; returns its index.
  size_t insert(std::string_view name);
  // How often a name equal to `name` ignoring letter case was added.
  size_t count(std::string_view name) const;
  bool contains(std::string_view name) const { return count(name) > 0; }
  // The name added as the index-th, as it was given.
  std::string_view operator[](size_t index) const;
  size_t size() const { return names_.size(); }

 private:
  const char* store(std::string_view name);
  void grow_table();

  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t block_left_ = 0;
  char* block_next_ = nullptr;
  std::vector<const char*> names_;  // each a 4-byte length, then the bytes
  std::vector<uint32_t> table_;     // index + 1 of a name, 0 for a free slot
};
