#include "korvel/driver/run_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "korvel/prepare/names.h"

namespace korvel {

// A record lock belongs to this process alone: a child forked to start the
// indexer never holds it, and it goes when the process ends. The descriptor
// stays open for the rest of the run (closing any descriptor of the file
// would drop the lock), and closes on exec.
bool take_run_lock() {
  int fd = open(kRunLockFile, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return true;
  struct flock whole = {};
  whole.l_type = F_WRLCK;
  whole.l_whence = SEEK_SET;
  if (fcntl(fd, F_SETLK, &whole) == 0) return true;
  bool held = errno == EACCES || errno == EAGAIN;
  close(fd);
  return !held;
}

}  // namespace korvel
