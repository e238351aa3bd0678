#include "indexer/site/out_file.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "common/utf8_files.h"

namespace velmor {

// With the cause, which on a full disk is what the user must act on.
static std::runtime_error write_error(const std::filesystem::path& path, int why) {
  return std::runtime_error("cannot write " + common::utf8_string(path) + ": " + std::strerror(why));
}

OutFile::OutFile(const std::filesystem::path& path) : path_(path) {
  fd_ = open_new(path_);
  if (fd_ < 0) throw write_error(path_, errno);
}

OutFile::~OutFile() {
  if (fd_ >= 0) close_file(fd_);
}

void OutFile::write_buffer() {
  std::string_view rest = buffer_;
  while (!rest.empty()) {
    long n = write_some(fd_, rest);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw write_error(path_, errno);
    if (n == 0) throw write_error(path_, ENOSPC);
    rest.remove_prefix(static_cast<size_t>(n));
  }
  bytes_ += buffer_.size();
  buffer_.clear();
}

void OutFile::spill() {
  if (buffer_.size() >= (1u << 20)) write_buffer();
}

void OutFile::close() {
  write_buffer();
  int fd = fd_;
  fd_ = -1;
  if (close_file(fd) != 0) throw write_error(path_, errno);
}

uint64_t write_file(const std::filesystem::path& path, const std::string& text) {
  OutFile out(path);
  out.text() = text;
  out.close();
  return out.bytes();
}

}  // namespace velmor
