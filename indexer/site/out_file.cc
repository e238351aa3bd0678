#include "indexer/site/out_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace velmor {

// With the cause, which on a full disk is what the user must act on.
static std::runtime_error write_error(const std::filesystem::path& path, int why) {
  return std::runtime_error("cannot write " + path.string() + ": " + std::strerror(why));
}

OutFile::OutFile(const std::filesystem::path& path) : path_(path) {
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) throw write_error(path_, errno);
}

OutFile::~OutFile() {
  if (fd_ >= 0) ::close(fd_);
}

void OutFile::write_buffer() {
  std::string_view rest = buffer_;
  while (!rest.empty()) {
    ssize_t n = ::write(fd_, rest.data(), rest.size());
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
  if (::close(fd) != 0) throw write_error(path_, errno);
}

uint64_t write_file(const std::filesystem::path& path, const std::string& text) {
  OutFile out(path);
  out.text() = text;
  out.close();
  return out.bytes();
}

}  // namespace velmor
