#include "korvel/prepare/file_stamp.h"

#include <cerrno>
#include <sys/stat.h>

#include "korvel/interp/stat_memo.h"

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

// lstat() first, which is what the interpreter asks to find a name; only a
// symbolic link needs the stat() that follows it. A file the command just
// before made is known without asking.
FileStamp stamp_for_next_command(const std::string& native) {
  struct stat st{};  // offered whole even when lstat() fails
  int result = lstat_after_command(native, &st);
  memo_offer(native, result, result == 0 ? 0 : errno, st);
  if (result != 0 || (S_ISLNK(st.st_mode) && stat(native.c_str(), &st) != 0)) return {};
  return stamp_from(st);
}
