// Stands in for the word indexer in tests and demonstrations. It writes
// fake_indexer.log into the folder it was started in: that folder's absolute
// path on the first line, then the names it finds in htm_in, one per line,
// sorted. The log appears at once, complete (written aside, then renamed), so
// a test that waits for it never reads half of it.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main() {
  std::error_code ec;
  fs::path here = fs::current_path(ec);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator("htm_in", ec)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  {
    std::ofstream log("fake_indexer.log.part", std::ios::binary | std::ios::trunc);
    log << here.string() << '\n';
    for (const std::string& name : names) log << name << '\n';
  }
  fs::rename("fake_indexer.log.part", "fake_indexer.log", ec);
  return ec ? 1 : 0;
}
