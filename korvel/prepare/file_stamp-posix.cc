#include "korvel/prepare/file_stamp.h"

#include <sys/stat.h>

namespace korvel {

namespace {
FileStamp stamp_from(const struct stat& st) {
  FileKind kind = S_ISREG(st.st_mode) ? FileKind::kRegular : S_ISDIR(st.st_mode) ? FileKind::kFolder : FileKind::kOther;
  std::int64_t modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return {kind, static_cast<std::uintmax_t>(st.st_size), modified};
}
}  // namespace

FileStamp stamp_of(const std::string& native) {
  struct stat st;
  if (stat(native.c_str(), &st) != 0) return {};
  return stamp_from(st);
}

// lstat() first: only a symbolic link needs the stat() that follows it.
FileStamp stamp_for_next_command(const std::string& native) {
  struct stat st {};
  if (lstat(native.c_str(), &st) != 0 || (S_ISLNK(st.st_mode) && stat(native.c_str(), &st) != 0)) return {};
  return stamp_from(st);
}

}  // namespace korvel
