#include "indexer/run/out_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace velmor {

namespace {
const char* const kLeftovers[] = {".new-", ".work-", ".old-"};
}

void clear_leftovers(const std::string& out) {
  fs::path target(out);
  fs::path parent = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  std::string base = target.filename().string();
  std::error_code ec;
  bool have_out = fs::is_directory(target, ec);
  for (const fs::directory_entry& e : fs::directory_iterator(parent, ec)) {
    std::string name = e.path().filename().string();
    for (const char* kind : kLeftovers) {
      if (!name.starts_with(base + kind)) continue;
      // Without `out`, an .old- folder may be the only earlier index left
      // by a swap cut short: keep it for the user.
      if (std::string_view(kind) == ".old-" && !have_out) continue;
      std::error_code ignored;
      fs::remove_all(e.path(), ignored);
    }
  }
}

std::string make_fresh_folder(const std::string& out, const std::string& suffix) {
  std::string path = out + suffix + std::to_string(getpid());
  std::error_code ec;
  fs::remove_all(path, ec);
  if (!fs::create_directory(path, ec) || ec)
    throw std::runtime_error("cannot make the folder " + path + ": " + ec.message());
  return path;
}

void swap_in(const std::string& fresh, const std::string& out) {
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(out, ec))) {
    if (std::rename(fresh.c_str(), out.c_str()) != 0)
      throw std::runtime_error("cannot rename " + fresh + " to " + out + ": " + strerror(errno));
    return;
  }
  if (renameat2(AT_FDCWD, fresh.c_str(), AT_FDCWD, out.c_str(), RENAME_EXCHANGE) == 0) {
    fs::remove_all(fresh, ec);  // now the earlier index
    return;
  }
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
    throw std::runtime_error("cannot swap " + fresh + " into " + out + ": " + strerror(errno));
  // A file system without the atomic exchange: the index is missing for a
  // moment, and a crash right then leaves the earlier one in the .old- folder.
  std::string old = out + ".old-" + std::to_string(getpid());
  if (std::rename(out.c_str(), old.c_str()) != 0)
    throw std::runtime_error("cannot rename " + out + " to " + old + ": " + strerror(errno));
  if (std::rename(fresh.c_str(), out.c_str()) != 0) {
    int why = errno;
    std::rename(old.c_str(), out.c_str());
    throw std::runtime_error("cannot rename " + fresh + " to " + out + ": " + strerror(why));
  }
  fs::remove_all(old, ec);
}

}  // namespace velmor
