#include "convertcp/replace_output.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include "convertcp/platform.h"

namespace fs = std::filesystem;

std::string replace_output(fs::path target, std::string_view data) {
  std::error_code ec;
  if (fs::is_symlink(target, ec)) {
    fs::path pointed = fs::canonical(target, ec);
    if (!ec) target = pointed;
  }
  fs::file_status existing = fs::status(target, ec);
  if (fs::is_directory(existing)) return "it is a folder";
  // A hidden name beside the target, so the rename stays on one file system.
  fs::path temporary;
  int error = EEXIST;
  for (int attempt = 0; error == EEXIST && attempt < 100; ++attempt) {
    fs::path name = ".";
    name += target.filename();
    name += ".convertcp-" + std::to_string(attempt);
    temporary = target.parent_path() / name;
    error = write_new_file(temporary, data);
    if (error != 0 && error != EEXIST) fs::remove(temporary, ec);
  }
  if (error != 0) return std::strerror(error);
  if (fs::exists(existing)) fs::permissions(temporary, existing.permissions(), ec);
  std::string failure = replace_file(temporary, target);
  if (!failure.empty()) fs::remove(temporary, ec);
  return failure;
}

bool same_file(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}
