#pragma once
// The names a folder listing gives, packed for folders of tens of thousands.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct Entry {
  std::string_view name;  // lives as long as the Entries it came from
  bool is_folder;
  bool was_regular = false;  // the folder said so when read: no FIFO, device or link
};

// The names of a folder, packed into one string: a listing of 50,000 names
// costs their bytes and 8 more each, not a string object apiece. Copies and
// subsets share that string (it is never changed once shared), so a kept
// listing and what each command picks from it hold the names once.
class Entries {
 public:
  void add(std::string_view name, bool is_folder, bool was_regular = false);
  void sort();  // listing order
  // Drops the entries whose names `keep` refuses, keeping the order.
  template <typename Keep>
  void keep_only(Keep keep) {
    std::erase_if(refs_, [&](const Ref& r) { return !keep(name_of(r)); });
  }
  // The entries whose names `keep` lets through, in this order, sharing the names.
  template <typename Keep>
  Entries subset(Keep keep) const {
    Entries picked;
    picked.text_ = text_;
    for (const Ref& r : refs_)
      if (keep(name_of(r))) picked.refs_.push_back(r);
    return picked;
  }
  // Gives back what growing left spare: for a listing that is kept.
  void shrink_to_fit();
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
