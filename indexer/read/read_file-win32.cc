#include <windows.h>

#include "common/utf8_files.h"
#include "indexer/read/read_file.h"
#include "indexer/windows_error.h"

namespace velmor {

bool read_regular_file(const std::string& path, std::string& bytes, std::string& error) {
  bytes.clear();
  error.clear();
  // The link itself is opened, never what it points to: it could publish
  // any file the user may read.
  HANDLE file = CreateFileW(common::utf8_path(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = windows_error(GetLastError());
    return false;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file, &info) || GetFileType(file) != FILE_TYPE_DISK) {
    error = "not a regular file";
  } else if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    error = "a symbolic link, not followed";
  } else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    error = "not a regular file";
  }
  if (!error.empty()) {
    CloseHandle(file);
    return false;
  }
  bytes.reserve((uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
  char buffer[1 << 16];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
      error = windows_error(GetLastError());
      CloseHandle(file);
      bytes.clear();
      return false;
    }
    if (n == 0) break;
    bytes.append(buffer, n);
  }
  CloseHandle(file);
  return true;
}

}  // namespace velmor
