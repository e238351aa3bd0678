#pragma once
// Test support for every program's tests: a temporary working folder and
// whole-file reads and writes.
#include <filesystem>
#include <string>
#include <string_view>

namespace common {

// A fresh folder under the system's temporary folder, named after `prefix`,
// the current folder while it lives; removed afterwards.
struct WorkFolder {
  explicit WorkFolder(std::string_view prefix = "test");
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  std::filesystem::path path;
  std::filesystem::path previous;
};

void write_file(const std::filesystem::path& path, std::string_view content);
// "" when the file cannot be read.
std::string read_file(const std::filesystem::path& path);

}  // namespace common
