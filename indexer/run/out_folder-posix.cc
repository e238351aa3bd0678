#include "indexer/run/out_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace velmor {

bool exchange_folders(const std::string& a, const std::string& b, bool& unsupported, std::string& why) {
  if (renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0) return true;
  unsupported = errno == EINVAL || errno == ENOSYS || errno == ENOTSUP;
  why = strerror(errno);
  return false;
}

bool rename_folder(const std::string& from, const std::string& to, std::string& why) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  why = strerror(errno);
  return false;
}

long process_id() { return static_cast<long>(getpid()); }

}  // namespace velmor
