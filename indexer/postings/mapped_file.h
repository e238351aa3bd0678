#pragma once
// A whole file mapped read-only into memory, so that the site stage's threads
// can read lines and postings without locks or copies.
#include <string>
#include <string_view>

namespace velmor {

class MappedFile {
 public:
  // Throws std::runtime_error naming the file when it cannot be mapped.
  explicit MappedFile(const std::string& path);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  std::string_view bytes() const { return {data_, size_}; }
  // Drops the pages read so far from the process's memory; the next read
  // of them comes back from the system's file cache. Safe while other
  // threads read.
  void forget_pages() const;

 private:
  const char* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace velmor
