#pragma once
// A file written front to back through a large buffer, failing loudly: the
// index is worthless with a short write, so every failure throws
// std::runtime_error naming the file.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace velmor {

class DataFile {
 public:
  explicit DataFile(std::string path);
  ~DataFile();
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;
  void write(std::string_view bytes);
  uint64_t position() const { return position_; }
  void close();  // flushes and checks; the destructor only discards
  const std::string& path() const { return path_; }

 private:
  static constexpr size_t kBufferBytes = 256 << 10;
  std::string path_;
  std::unique_ptr<char[]> buffer_;
  std::FILE* file_ = nullptr;
  uint64_t position_ = 0;
};

}  // namespace velmor
