#pragma once
// Test support: a temporary working folder and whole-file reads and writes.
#include <filesystem>
#include <string>
#include <string_view>

// A fresh folder under the system's temporary folder, the current folder
// while it lives; removed afterwards.
struct WorkFolder {
  WorkFolder();
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  std::filesystem::path path;
  std::filesystem::path previous;
};

void write_file(const std::filesystem::path& path, std::string_view content);
// "" when the file cannot be read.
std::string read_file(const std::filesystem::path& path);
