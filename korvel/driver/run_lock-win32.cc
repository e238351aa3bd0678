#include "korvel/driver/run_lock.h"

#include <windows.h>

#include "korvel/prepare/names.h"

namespace korvel {

// Opened without sharing, the file cannot be opened again until this process
// ends; the handle is not inheritable, so the indexer never holds it.
bool take_run_lock() {
  HANDLE file =
      CreateFileA(kRunLockFile, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION;
}

}  // namespace korvel
