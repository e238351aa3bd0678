#include "driver/run_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "prepare/names.h"

// The descriptor stays open for the rest of the process, and closes on exec
// so that the indexer started later never inherits the lock.
bool take_run_lock() {
  int fd = open(kRunLockFile, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return true;
  if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
  bool held = errno == EWOULDBLOCK;
  close(fd);
  return !held;
}
