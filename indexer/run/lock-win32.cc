#include "indexer/run/lock.h"

#include <windows.h>

#include "common/utf8_files.h"
#include "indexer/windows_error.h"

namespace velmor {

// Windows keeps a file opened without sharing to its opener, and deletes
// one opened for deletion on close when the last handle goes, however the
// process ends: the lock and its removal in one call.
static HANDLE handle_of(intptr_t fd) { return reinterpret_cast<HANDLE>(fd); }

FolderLock::~FolderLock() {
  if (fd_ >= 0) CloseHandle(handle_of(fd_));
}

LockOutcome FolderLock::take(const std::string& path, std::string& error) {
  HANDLE file = CreateFileW(common::utf8_path(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD why = GetLastError();
    if (why == ERROR_SHARING_VIOLATION) return LockOutcome::busy;
    error = "cannot lock " + path + ": " + windows_error(why);
    return LockOutcome::failed;
  }
  fd_ = reinterpret_cast<intptr_t>(file);
  path_ = path;
  return LockOutcome::taken;
}

}  // namespace velmor
