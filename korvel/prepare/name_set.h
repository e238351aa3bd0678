#pragma once
// Names held without regard to ASCII letter case, each as often as it was
// added and in the order added. The bytes are packed into blocks and found
// through an open-addressing table of their indexes: a folder of 50,000
// names costs about 45 bytes a name, where a set of strings costs hundreds.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace korvel {

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
  uint32_t store(std::string_view name);
  std::string_view at(uint32_t place) const;
  void grow_table();

  // A name is a 4-byte length, then its bytes, in a block of 64 KiB (a
  // longer name gets a block of its own), placed by block << 16 | offset.
  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t block_used_ = 0, block_size_ = 0;
  std::vector<uint32_t> names_;  // places, in the order added
  std::vector<uint32_t> table_;  // index + 1 of a name, 0 for a free slot
};

}  // namespace korvel
