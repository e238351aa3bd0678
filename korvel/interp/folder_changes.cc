#include "korvel/interp/folder_changes.h"

#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <utility>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "korvel/interp/folder_index.h"
#include "korvel/interp/partial_copy.h"
#include "korvel/interp/stat_memo.h"

namespace korvel {

namespace {
// Writing past the process's file size limit must fail like a full disk
// (EFBIG) and be reported, not end the run: ignored from start-up on, before
// anything is written, console output into a file included.
[[maybe_unused]] const bool file_size_signal_ignored = signal(SIGXFSZ, SIG_IGN) != SIG_ERR;

// "txt_in/a.txt" -> "txt_in" and "a.txt"; "a.txt" -> "." and "a.txt".
std::pair<std::string_view, std::string_view> split_native(std::string_view native) {
  while (native.size() > 1 && native.back() == '/') native.remove_suffix(1);
  // memrchr(): string_view's rfind() walks back a byte at a time, and every
  // change the interpreter makes splits its path here.
  const void* at = native.empty() ? nullptr : memrchr(native.data(), '/', native.size());
  size_t slash = at ? static_cast<size_t>(static_cast<const char*>(at) - native.data()) : std::string_view::npos;
  if (slash == std::string_view::npos) return {".", native};
  return {slash == 0 ? "/" : native.substr(0, slash), native.substr(slash + 1)};
}

// Runs `change` on `native` and tells the index of its folder. Partial
// copies are nobody's names: they change nothing any lookup could find.
template <typename Change>
bool changed(const std::string& native, bool added, Change change) {
  auto [folder_part, name] = split_native(native);
  std::string folder(folder_part);
  FolderStamp before{};
  if (is_partial_copy_name(name)) {
    // The folder's stamp from before the partial copy was made, kept in the
    // stat memo, is what the rename that ends the copy tells the index of.
    if (may_have_index(folder)) folder_stamp(folder, before);
    return change();
  }
  bool known = may_have_index(folder) && folder_stamp(folder, before);
  timespec started = known && expect_change(before, name, added) ? clock_now() : timespec{};
  bool done = change();
  // Whatever the change touched, earlier answers about it are stale; the
  // folder's own, unless its index accounts for the change.
  forget_stat(native);
  if (!done || !known || !note_change(folder, before, started, name, added)) forget_stat(folder);
  return done;
}
}  // namespace

int open_for_writing(const std::string& native, int flags) { return open(native.c_str(), flags & ~O_CREAT); }

int create_file(const std::string& native, int flags, mode_t mode) {
  int fd = -1;
  changed(native, true, [&] {
    fd = open(native.c_str(), flags, mode);
    return fd >= 0;
  });
  return fd;
}

bool remove_file(const std::string& native) {
  return changed(native, false, [&] { return unlink(native.c_str()) == 0; });
}

bool rename_file(const std::string& from, const std::string& to) {
  // Told as the removal of one name and the arrival of the other; a partial
  // copy's name was nobody's, and its removal tells nothing.
  auto move = [&] { return rename(from.c_str(), to.c_str()) == 0; };
  if (is_partial_copy_name(split_native(from).second) ? !move() : !changed(from, false, move)) return false;
  changed(to, true, [] { return true; });
  return true;
}

bool make_folder(const std::string& native) {
  bool done = changed(native, true, [&] { return mkdir(native.c_str(), 0777) == 0; });
  forget_stats();  // what was missing below the new folder's name
  forget_folder_spellings();
  return done;
}

bool remove_folder(const std::string& native) {
  FolderStamp gone{};
  bool known = folder_stamp(native, gone);
  bool done = changed(native, false, [&] { return rmdir(native.c_str()) == 0; });
  forget_stats();
  forget_folder_spellings();
  if (!done) return false;
  if (known) forget_removed_folder(gone);
  return true;
}

}  // namespace korvel
