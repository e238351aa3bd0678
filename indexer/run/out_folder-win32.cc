#include "indexer/run/out_folder.h"

#include <windows.h>

#include "common/utf8_files.h"
#include "indexer/windows_error.h"

namespace velmor {

// Windows renames no folder over another in one step.
bool exchange_folders(const std::string&, const std::string&, bool& unsupported, std::string& why) {
  unsupported = true;
  why = "not on Windows";
  return false;
}

bool rename_folder(const std::string& from, const std::string& to, std::string& why) {
  // A browser showing a page of the index, or a virus scanner reading the
  // new one, holds a file open for a moment, and the folder cannot move
  // meanwhile: try again for up to ten seconds before giving up.
  DWORD error = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (MoveFileExW(common::utf8_path(from).c_str(), common::utf8_path(to).c_str(), 0)) return true;
    error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) break;
    Sleep(100);
  }
  why = windows_error(error);
  if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION)
    why += " (is a file of it open in another program? close it and run again)";
  return false;
}

long process_id() { return static_cast<long>(GetCurrentProcessId()); }

}  // namespace velmor
