#include "indexer/run/out_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace velmor {

namespace {

const char* const kLeftovers[] = {".new-", ".work-", ".old-"};
constexpr std::string_view kSignature = "velmor made this folder";

}  // namespace

bool made_by_velmor(const std::string& dir) {
  std::error_code ec;
  if (!fs::is_directory(fs::symlink_status(dir, ec))) return false;
  const fs::path marker = fs::path(dir) / kMarkerName;
  if (!fs::is_regular_file(fs::symlink_status(marker, ec))) return false;
  std::ifstream in(marker, std::ios::binary);
  std::string first(kSignature.size(), '\0');
  return in.read(first.data(), static_cast<std::streamsize>(first.size())) && first == kSignature;
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
      if (!name.starts_with(base + kind) || !made_by_velmor(e.path().string())) continue;
      // Without `out`, an .old- folder may be the only earlier index left
      // by a swap cut short: keep it for the user.
      if (std::string_view(kind) == ".old-" && !have_out) continue;
      std::error_code ignored;
      fs::remove_all(e.path(), ignored);
    }
  }
}

std::string make_fresh_folder(const std::string& out, const std::string& suffix) {
  // A name already taken is someone's: never emptied, another one is used.
  const std::string stem = out + suffix + std::to_string(getpid());
  std::string path = stem;
  std::error_code ec;
  for (int n = 1; !fs::create_directory(path, ec); ++n) {
    if (ec || n > 100) throw std::runtime_error("cannot make the folder " + stem + ": " + ec.message());
    path = stem + "-" + std::to_string(n);
  }
  std::random_device random;
  std::ofstream marker(fs::path(path) / kMarkerName, std::ios::binary);
  marker << kSignature << " for " << out << ", pid " << getpid() << ", token " << std::hex << random()
         << random() << "; it goes when the folder is no longer needed\n";
  marker.close();
  if (!marker) {
    fs::remove_all(path, ec);
    throw std::runtime_error("cannot write in the folder " + path);
  }
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
  if (fs::exists(fs::symlink_status(old, ec)))
    throw std::runtime_error("cannot move " + out + " aside: " + old + " is in the way");
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
