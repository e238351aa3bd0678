#pragma once
// File names as UTF-8 strings on every platform. On Windows a narrow
// std::filesystem::path is read in the C library's code page, so a
// Cyrillic or Greek folder name would become another file's name; these
// go through UTF-8 explicitly. On POSIX they change no byte.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace common {

inline std::filesystem::path utf8_path(std::string_view name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

inline std::string utf8_string(const std::filesystem::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// fopen for a UTF-8 name; `mode` is "rb" or "wb". The file is not handed
// to child processes.
std::FILE* open_file(const std::string& name, const char* mode);
// remove() for a UTF-8 name; true when it is gone.
bool remove_file(const std::string& name);

}  // namespace common
