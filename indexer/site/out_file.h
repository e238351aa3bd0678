#pragma once
// A file of the site being written: text gathers in a buffer that goes to
// disk in big pieces, and any failure throws naming the file. The file is
// written aside and takes its name only when complete.
#include <cstdint>
#include <filesystem>
#include <string>

#include "common/file_aside.h"

namespace velmor {

class OutFile {
 public:
  explicit OutFile(const std::filesystem::path& path);
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;

  std::string& text() { return buffer_; }
  // Writes out the buffer once it holds enough to be worth a write.
  void spill();
  // Writes the rest and gives the file its name; it is only there after this.
  void close();
  uint64_t bytes() const { return bytes_; }

 private:
  void write_buffer();
  std::filesystem::path path_;
  common::FileAside file_;
  std::string buffer_;
  uint64_t bytes_ = 0;
};

// A whole small file at once.
uint64_t write_file(const std::filesystem::path& path, const std::string& text);

}  // namespace velmor
