#pragma once
// The names a folder listing gives, packed for folders of tens of thousands.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

struct Entry {
  std::string_view name;  // lives as long as the Entries it came from
  bool is_folder;
  bool was_regular = false;  // the folder said so when read: no FIFO, device or link
};

// The names of a folder, packed into one string: a listing of 50,000 names
// costs their bytes and 8 more each, not a string object apiece. Copies
// share that string (it is never changed once shared), so the names an
// Entry views stay where they are while the listing is copied or moved.
class Entries {
 public:
  void add(std::string_view name, bool is_folder, bool was_regular = false);
  void sort();  // listing order
  size_t size() const { return refs_.size(); }
  bool empty() const { return refs_.empty(); }
  Entry operator[](size_t i) const {
    return {name_of(refs_[i]), (refs_[i].length & 1) != 0, (refs_[i].length & 2) != 0};
  }
  struct Iterator {
    const Entries* entries;
    size_t i;
    Entry operator*() const { return (*entries)[i]; }
    Iterator& operator++() {
      ++i;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return i != other.i; }
  };
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, refs_.size()}; }

 private:
  struct Ref {
    uint32_t offset;
    uint32_t length;  // name length * 4, plus 1 for a folder, plus 2 for a regular file
  };
  std::string_view name_of(const Ref& r) const { return std::string_view(*text_).substr(r.offset, r.length >> 2); }
  std::shared_ptr<std::string> text_;
  std::vector<Ref> refs_;
};

}  // namespace korvel
