#pragma once
// The documents' lines on disk, so that contexts can be cut from them later
// without holding a gigabyte of text in memory: text.dat holds the lines one
// after the other, lines.dat the byte offset where each begins (and one past
// the last), as 64-bit numbers.
#include <cstdint>
#include <string>
#include <vector>

#include "indexer/postings/data_file.h"

namespace velmor {

class LineStoreWriter {
 public:
  explicit LineStoreWriter(const std::string& dir);
  // Returns the number of the document's first line among all lines.
  uint64_t add(const std::vector<std::string>& lines);
  void close();

 private:
  DataFile text_, offsets_;
  uint64_t lines_ = 0;
};

}  // namespace velmor
