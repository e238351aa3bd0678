#include "common/file_aside.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace common {

namespace {
int plain_create(const std::string& path, int flags, mode_t mode) { return ::open(path.c_str(), flags, mode); }
bool plain_rename(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }
bool plain_remove(const std::string& path) { return ::unlink(path.c_str()) == 0; }
}  // namespace

const FileOps kPlainFileOps = {plain_create, plain_rename, plain_remove};

bool FileAside::open(const std::string& aside, mode_t mode) {
  abandon();
  int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
  int fd = ops_.create(aside, flags, mode);
  if (fd < 0 && errno == EEXIST && ops_.remove(aside)) fd = ops_.create(aside, flags, mode);
  if (fd < 0) return false;
  fd_ = fd;
  aside_ = aside;
  return true;
}

bool FileAside::write(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) {
      errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool FileAside::commit(const std::string& target) {
  int closed = ::close(fd_);
  fd_ = -1;
  if (closed == 0 && ops_.rename(aside_, target)) {
    aside_.clear();
    return true;
  }
  int error = errno;
  abandon();
  errno = error;
  return false;
}

void FileAside::abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!aside_.empty()) ops_.remove(aside_);
  aside_.clear();
}

}  // namespace common
