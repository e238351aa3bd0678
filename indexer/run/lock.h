#pragma once
// One indexer per output folder: a lock on a file beside it, which the
// system drops when the process ends, however it ends. The file goes when
// the lock is let go; one left by a crash is taken over by the next run.
#include <cstdint>
#include <string>

namespace velmor {

enum class LockOutcome { taken, busy, failed };

class FolderLock {
 public:
  FolderLock() = default;
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  // Locks `path` (made if missing); `error` says why on failed.
  LockOutcome take(const std::string& path, std::string& error);

 private:
  intptr_t fd_ = -1;  // a descriptor, or on Windows a handle
  std::string path_;
};

}  // namespace velmor
