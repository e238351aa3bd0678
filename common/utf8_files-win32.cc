#include "common/utf8_files.h"

#include <cwchar>
#include <string>

namespace common {

std::FILE* open_file(const std::string& name, const char* mode) {
  // N: not inherited by child processes, as "e" does on POSIX.
  std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(utf8_path(name).c_str(), (wide_mode + L"N").c_str());
}

bool remove_file(const std::string& name) { return _wremove(utf8_path(name).c_str()) == 0; }

}  // namespace common
