#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "indexer/read/read_file.h"

namespace velmor {

bool read_regular_file(const std::string& path, std::string& bytes, std::string& error) {
  bytes.clear();
  // Without O_NONBLOCK, opening a FIFO would wait for a writer forever.
  // A link is not followed: it could publish any file the user may read.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW);
  if (fd < 0) {
    struct stat link;
    error = errno == ELOOP && lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode) ? "a symbolic link, not followed"
                                                                                       : std::strerror(errno);
    return false;
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = "not a regular file";
    ::close(fd);
    return false;
  }
  bytes.reserve(static_cast<size_t>(info.st_size));
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = std::strerror(errno);
      ::close(fd);
      bytes.clear();
      return false;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

}  // namespace velmor
