#pragma once
// Finding cmd-style paths on a case-sensitive file system, and listing folders.
#include <cstdint>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <string_view>
#include <vector>

#include "korvel/interp/interp.h"

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

// Views into the path it was split from, which must outlive them.
struct FolderAndName {
  std::string_view folder;  // as written, without its trailing separator; "" = current folder
  std::string_view name;    // the last component, possibly a pattern; "" when the path ends in a separator
  bool rooted;              // the folder part starts at the root
};

bool is_separator(char c);
// The path as written, "\\" as "/" and empty components dropped: what
// interp_resolve() gives when every component exists under its exact name.
std::string as_written(std::string_view path);
FolderAndName split_last(std::string_view path);
// interp_resolve() for a path that is most likely about to be made: the
// target of a copy, a page. The same answer, found with fewer questions.
std::string resolve_for_new(std::string_view path);
// The folder part as written again, ready for a name to be appended ("txt_in\").
std::string folder_prefix(const FolderAndName& parts);
// Resolved folder part: "." for the current folder.
std::string resolve_folder(const FolderAndName& parts);
std::string join_path(std::string_view folder, std::string_view name);
// The same into `out`, whose room is kept from one path to the next.
void join_path_into(std::string& out, std::string_view folder, std::string_view name);

bool path_exists(const std::string& native);
bool is_folder(const std::string& native);
bool is_file(const std::string& native);
// Absolute form for messages and listing headers.
std::string absolute_path(const std::string& native);

// Every entry but "." and ".." and partial copies, in listing order.
Entries list_folder(const std::string& native);
// The entries whose names match `pattern`, in listing order. A plain name
// (no wildcard) matches itself where it exists exactly, else the first of
// its case variants: one entry at most.
Entries matching_entries(const std::string& native, std::string_view pattern);

// Opens a regular file, or a symbolic link to one, for reading. Anything
// else (FIFO, socket, device) is never opened: -1 with `not_regular` set.
// -1 with `not_regular` clear when the file cannot be opened, errno telling why.
// `opened`, when given, receives what fstat() said of the open file.
// `was_regular`: a listing just said so, and no stat() is asked before the
// open (what was opened is still looked at).
int open_regular_file(const std::string& native, bool& not_regular, struct stat* opened = nullptr,
                      bool was_regular = false);
