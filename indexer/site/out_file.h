#pragma once
// A file of the site being written: text gathers in a buffer that goes to
// disk in big pieces, and any failure throws naming the file.
//
// The file is written under its own name at once. The site is made in a
// fresh folder that takes the output's name only when all of it is there,
// and a failed run removes that folder whole, so no file needs a name of its
// own aside. A rename per file would double the folder operations, and two
// threads making thousands of files in one folder wait on its lock for each.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace velmor {

class OutFile {
 public:
  explicit OutFile(const std::filesystem::path& path);
  ~OutFile();
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;

  std::string& text() { return buffer_; }
  // Writes out the buffer once it holds enough to be worth a write.
  void spill();
  // Writes the rest and closes the file.
  void close();
  uint64_t bytes() const { return bytes_; }

 private:
  void write_buffer();
  // The platform's calls (out_file-posix.cc, out_file-win32.cc), with errno
  // set on failure as the C library sets it.
  static int open_new(const std::filesystem::path& path);
  static long write_some(int fd, std::string_view bytes);
  static int close_file(int fd);
  std::filesystem::path path_;
  int fd_ = -1;
  std::string buffer_;
  uint64_t bytes_ = 0;
};

// A whole small file at once.
uint64_t write_file(const std::filesystem::path& path, const std::string& text);

}  // namespace velmor
