#include "indexer/run/lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmor {

FolderLock::~FolderLock() {
  if (fd_ < 0) return;
  // Removed while still held, so no other indexer can be waiting on this
  // file's lock: one that opened it meanwhile finds it gone (below).
  unlink(path_.c_str());
  close(fd_);
}

// Whether the open file is still the one the path names: a lock on a file
// its holder has just removed locks nothing.
static bool still_named(int fd, const std::string& path) {
  struct stat open_file, named;
  return fstat(fd, &open_file) == 0 && stat(path.c_str(), &named) == 0 && open_file.st_dev == named.st_dev &&
         open_file.st_ino == named.st_ino;
}

LockOutcome FolderLock::take(const std::string& path, std::string& error) {
  for (int tries = 0; tries < 100; ++tries) {
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
    if (!still_named(fd, path)) {
      close(fd);  // its holder finished and removed it: take the next one
      continue;
    }
    fd_ = fd;
    path_ = path;
    return LockOutcome::taken;
  }
  error = "cannot lock " + path + ": it keeps being replaced";
  return LockOutcome::failed;
}

}  // namespace velmor
