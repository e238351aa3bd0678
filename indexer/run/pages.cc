#include "indexer/run/pages.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "common/utf8_files.h"

namespace fs = std::filesystem;

namespace velmor {

bool is_page_name(const std::string& name) {
  size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return false;
  std::string ext = name.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext == "htm" || ext == "html";
}

std::vector<PageFile> list_pages(const std::string& dir) {
  std::error_code ec;
  fs::directory_iterator it(common::utf8_path(dir), ec);
  if (ec) throw std::runtime_error("cannot read the folder " + dir + ": " + ec.message());
  std::vector<PageFile> pages;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    std::string name = common::utf8_string(it->path().filename());
    std::error_code ignored;
    if (!is_page_name(name) || it->is_directory(ignored)) continue;
    uint64_t size = it->file_size(ignored);
    // A page that cannot be sized is still listed: reading names it.
    pages.push_back(PageFile{common::utf8_string(it->path()), name, ignored ? 0 : size});
  }
  if (ec) throw std::runtime_error("cannot read the folder " + dir + ": " + ec.message());
  std::sort(pages.begin(), pages.end(), [](const PageFile& a, const PageFile& b) { return a.name < b.name; });
  return pages;
}

}  // namespace velmor
