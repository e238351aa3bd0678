#include "indexer/run/lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace velmor {

FolderLock::~FolderLock() {
  if (fd_ >= 0) close(fd_);
}

LockOutcome FolderLock::take(const std::string& path, std::string& error) {
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = "cannot make the lock file " + path + ": " + strerror(errno);
    return LockOutcome::failed;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int why = errno;
    close(fd);
    if (why == EWOULDBLOCK) return LockOutcome::busy;
    error = "cannot lock " + path + ": " + strerror(why);
    return LockOutcome::failed;
  }
  fd_ = fd;
  return LockOutcome::taken;
}

}  // namespace velmor
