#include "interp/folder_index.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <set>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>

#include "interp/pattern.h"
#include "interp/stat_memo.h"
#include "shell/text.h"

// What is not seen: another program's change that lands within the same tick
// of the folder's clock as the stat() the index last recorded (the folder's
// times then look unchanged); one that lands between the stat() taken just
// before one of the interpreter's own changes and that change; a folder
// removed by another program and replaced, within one tick, by a new one
// that got the same inode. Each stays unseen until the folder changes again.
// korvel's own file layer (fopen) writes between commands, in practice in
// ticks of its own.
namespace {
struct Stamp {
  dev_t dev;
  ino_t ino;
  timespec mtim;
  timespec ctim;
};

long long tick_ns = 1;

// Writing past the process's file size limit must fail like a full disk
// (EFBIG) and be reported, not end the run: ignored from start-up on, before
// anything is written, console output into a file included.
[[maybe_unused]] const bool file_size_signal_ignored = signal(SIGXFSZ, SIG_IGN) != SIG_ERR;

bool same_time(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec / tick_ns == b.tv_nsec / tick_ns;
}

bool same(const Stamp& a, const Stamp& b) {
  return a.dev == b.dev && a.ino == b.ino && same_time(a.mtim, b.mtim) && same_time(a.ctim, b.ctim);
}

bool stamp_of(const std::string& folder, Stamp& stamp) {
  struct stat st;
  if (memo_stat(folder, true, &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  stamp = {st.st_dev, st.st_ino, st.st_mtim, st.st_ctim};
  return true;
}

struct Index {
  Stamp stamp;  // the folder's times when last seen or last changed here
  bool built = false;
  // Lower-case form -> the names that have it, in listing order.
  std::unordered_map<std::string, std::vector<std::string>> names;
};

// By device and inode, so that every spelling of a folder ("." or its full
// path, any letter case) shares one index and hears of every change.
std::map<std::pair<dev_t, ino_t>, Index> indexes;

bool by_listing(const std::string& a, std::string_view b) { return listing_before(a, b); }

void add_name(std::vector<std::string>& variants, std::string_view name) {
  auto at = std::lower_bound(variants.begin(), variants.end(), name, by_listing);
  if (at == variants.end() || *at != name) variants.insert(at, std::string(name));
}

void remove_name(Index& index, std::string_view name) {
  auto found = index.names.find(to_lower_ascii(name));
  if (found == index.names.end()) return;
  std::erase(found->second, name);
  if (found->second.empty()) index.names.erase(found);
}

// Every name of `folder` but "." and "..".
template <typename Take>
void each_name(const std::string& folder, Take take) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (dirent* entry = readdir(dir)) {
    std::string_view name = entry->d_name;
    if (name != "." && name != "..") take(name);
  }
  closedir(dir);
}

// The names equal to `name` ignoring case, in listing order. The index is
// read only for a folder that held still since it was last seen: one that
// another program changes between every two lookups (korvel's file layer
// writing page after page) would be read whole each time, and a single pass
// looking for one name costs less than building the index.
std::vector<std::string> variants(const std::string& folder, std::string_view name) {
  std::vector<std::string> found;
  Stamp now{};
  if (!stamp_of(folder, now)) return found;
  auto [at, made] = indexes.try_emplace({now.dev, now.ino});
  Index& index = at->second;
  bool held_still = !made && same(index.stamp, now);
  // The stamp is taken before the folder is read: a change made while it is
  // read shows as a newer time at the next use.
  index.stamp = now;
  if (held_still && !index.built) {
    each_name(folder, [&](std::string_view each) { add_name(index.names[to_lower_ascii(each)], each); });
    index.built = true;
  }
  if (held_still) {
    auto hit = index.names.find(to_lower_ascii(name));
    if (hit != index.names.end()) found = hit->second;
    return found;
  }
  index.names.clear();
  index.built = false;
  each_name(folder, [&](std::string_view each) {
    if (equals_ignore_case(each, name)) add_name(found, each);
  });
  return found;
}

// "txt_in/a.txt" -> "txt_in" and "a.txt"; "a.txt" -> "." and "a.txt".
std::pair<std::string, std::string> split_native(std::string_view native) {
  while (native.size() > 1 && native.back() == '/') native.remove_suffix(1);
  size_t slash = native.rfind('/');
  if (slash == std::string_view::npos) return {".", std::string(native)};
  return {slash == 0 ? "/" : std::string(native.substr(0, slash)), std::string(native.substr(slash + 1))};
}

// One of the interpreter's own changes, made between taking `before` and
// this call. An index that had already missed a change is dropped rather
// than patched, so that it is read again at its next use.
// `gone` left the folder and `came` arrived ("" for none).
void note_change(const std::string& folder, const Stamp& before, std::string_view gone, std::string_view came) {
  auto found = indexes.find({before.dev, before.ino});
  if (found == indexes.end()) return;
  Index& index = found->second;
  Stamp after{};
  auto plain = [](std::string_view name) { return name != "." && name != ".."; };
  if ((gone.empty() && came.empty()) || !plain(gone) || !plain(came) || !same(index.stamp, before) ||
      !stamp_of(folder, after) || after.dev != before.dev || after.ino != before.ino) {
    indexes.erase(found);
    return;
  }
  if (index.built && !gone.empty()) remove_name(index, gone);
  if (index.built && !came.empty()) add_name(index.names[to_lower_ascii(came)], came);
  index.stamp = after;
}

// Runs `change` on `native` and tells the index of its folder.
template <typename Change>
bool changed(const std::string& native, bool added, Change change) {
  auto [folder, name] = split_native(native);
  Stamp before{};
  bool known = stamp_of(folder, before);
  bool done = change();
  // Whatever the change touched, earlier answers about it are stale.
  forget_stats();
  if (!done) return false;
  if (known && !name.empty()) note_change(folder, before, added ? "" : name, added ? name : "");
  if (known && name.empty()) indexes.erase({before.dev, before.ino});
  return true;
}
}  // namespace

std::vector<std::string> names_ignoring_case(const std::string& folder, std::string_view name) {
  return variants(folder, name);
}

std::string find_ignoring_case(const std::string& folder, std::string_view name) {
  std::vector<std::string> found = variants(folder, name);
  return found.empty() ? "" : found.front();
}

namespace {
std::set<std::pair<dev_t, ino_t>> met_folders;
}  // namespace

bool first_meeting(const std::string& folder) {
  Stamp now{};
  return stamp_of(folder, now) && met_folders.insert({now.dev, now.ino}).second;
}

void forget_folder_indexes() {
  indexes.clear();
  met_folders.clear();
}

void set_folder_clock_tick(long long nanoseconds) {
  tick_ns = nanoseconds;
  indexes.clear();
}

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
  auto [from_folder, from_name] = split_native(from);
  auto [to_folder, to_name] = split_native(to);
  // Within one folder, as every copy renames, it is one change of that folder.
  if (from_folder == to_folder) {
    Stamp before{};
    bool known = stamp_of(to_folder, before);
    bool done = rename(from.c_str(), to.c_str()) == 0;
    forget_stats();
    if (done && known) note_change(to_folder, before, from_name, to_name);
    return done;
  }
  if (!changed(from, false, [&] { return rename(from.c_str(), to.c_str()) == 0; })) return false;
  changed(to, true, [] { return true; });
  return true;
}

bool make_folder(const std::string& native) {
  return changed(native, true, [&] { return mkdir(native.c_str(), 0777) == 0; });
}

bool remove_folder(const std::string& native) {
  Stamp gone{};
  bool known = stamp_of(native, gone);
  if (!changed(native, false, [&] { return rmdir(native.c_str()) == 0; })) return false;
  // Its inode may be given to a folder made later.
  if (known) indexes.erase({gone.dev, gone.ino});
  if (known) met_folders.erase({gone.dev, gone.ino});
  return true;
}
