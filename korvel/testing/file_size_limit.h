#pragma once
// While one lives, writes by this process beyond `bytes` into any file fail
// with EFBIG, as writes to a full disk fail with ENOSPC: a real write error,
// on any file system, without mounting one. The program ignores SIGXFSZ, so
// the limit does not end the test.
#include <sys/resource.h>

namespace korvel {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    struct rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  struct rlimit saved_;
};

}  // namespace korvel
