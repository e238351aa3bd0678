#pragma once
// A Windows error code as the user reads it, in English whatever the
// system's language, so the indexer's lines are the same everywhere.
#include <string>
#include <windows.h>

namespace velmor {

inline std::string windows_error(DWORD code) {
  char text[512];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                           MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), text, sizeof text, nullptr);
  while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == '.')) --n;
  if (n == 0) return "Windows error " + std::to_string(code);
  return std::string(text, n);
}

}  // namespace velmor
