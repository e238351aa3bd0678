#include "korvel/interp/listing.h"

#include <dirent.h>
#include <sys/stat.h>
#include <vector>

#include "korvel/interp/folder_index.h"
#include "korvel/interp/listing_cache.h"
#include "korvel/interp/partial_copy.h"
#include "korvel/interp/path.h"
#include "korvel/interp/pattern.h"
#include "korvel/interp/stat_memo.h"

namespace {
// The entries of a folder, in the order the folder gives them, partial
// copies left out (`had_partial_copies` tells of any); false if it cannot be
// read. Every entry while `whole` stays set, which it does only
// while the listing is worth keeping whole; from then on only those that
// `keep` lets through: a folder of 100,000 names is never held whole.
// `whole` is also cleared when an entry's kind had to be asked of the file
// system (a link, or a file system that does not say): such a listing is
// not kept, since where a link leads can change while the folder holds still.
template <typename Keep>
bool read_entries(const std::string& native, Entries& entries, Keep keep, bool& whole, bool& had_partial_copies) {
  DIR* dir = opendir(native.c_str());
  if (!dir) return false;
  int dir_fd = dirfd(dir);
  while (dirent* entry = readdir(dir)) {
    std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (is_partial_copy_name(name)) {
      had_partial_copies = true;
      continue;
    }
    bool folder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      struct stat st;
      folder = fstatat(dir_fd, entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
    }
    bool plain = entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK;
    if (whole && (!plain || !listing_worth_keeping(entries.size() + 1))) {
      whole = false;
      entries.keep_only(keep);
    }
    if (whole || keep(name)) entries.add(name, folder, entry->d_type == DT_REG);
  }
  closedir(dir);
  return true;
}

// `every`: `keep` lets every name through, and the entries are copied whole.
template <typename Keep>
Entries filtered(const Entries& all, Keep keep, bool every) {
  return every ? all : all.subset(keep);
}

// The entries of a folder that `keep` lets through, in listing order.
template <typename Keep>
Entries read_folder(const std::string& native, Keep keep, bool every) {
  // Asked anew, not from the stat memo: a folder's times kept there may
  // predate the command's own changes, which its index accounts for.
  struct stat st;
  bool known = stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  const Entries* whole = known ? kept_listing(st) : nullptr;
  if (!whole) {
    Entries read;
    bool keeping = known, had_partial_copies = false;
    timespec read_at = clock_now();
    if (!read_entries(native, read, keep, keeping, had_partial_copies)) return {};
    read.sort();
    if (!keeping) return read;
    read.shrink_to_fit();  // before anything shares its names
    Entries entries = filtered(read, keep, every);
    keep_listing(native, st, read_at, std::move(read), had_partial_copies);
    return entries;
  }
  return filtered(*whole, keep, every);
}
}  // namespace

Entries list_folder(const std::string& native) {
  return read_folder(native, [](std::string_view) { return true; }, true);
}

namespace {
// A name without wildcards matches only its case variants unless it ends in a
// dot (names without an extension) or holds "~" (it may be a short name).
bool matches_case_variants_only(std::string_view pattern) {
  return !pattern.empty() && !has_wildcard(pattern) && pattern.back() != '.' && pattern.find('~') == std::string_view::npos;
}
}  // namespace

Entries matching_entries(const std::string& native, std::string_view pattern) {
  if (matches_case_variants_only(pattern)) {
    // The name itself where it exists; else the case variant a lookup picks.
    // Never every variant: a.txt beside A.TXT are two documents here.
    Entries entries;
    std::string path = join_path(native, pattern);
    struct stat st;
    std::string name(pattern);
    if (memo_stat(path, false, &st) != 0) {
      name = find_ignoring_case(native, pattern);
      path = join_path(native, name);
      if (name.empty() || memo_stat(path, false, &st) != 0) return entries;
    }
    if (is_partial_copy_name(name)) return entries;
    bool folder = S_ISDIR(st.st_mode) || (S_ISLNK(st.st_mode) && is_folder(path));
    entries.add(name, folder);
    return entries;
  }
  // A pattern ending in a dot matches only names without one, which the
  // folder's index may hold: no need to read the whole folder for them.
  std::vector<std::string> dotless;
  if (!pattern.empty() && pattern.back() == '.' && names_without_dot(native, dotless)) {
    Entries entries;
    for (const std::string& name : dotless) {
      std::string path = join_path(native, name);
      struct stat st;
      if (is_partial_copy_name(name) || !name_matches(pattern, name) || memo_stat(path, false, &st) != 0) continue;
      entries.add(name, S_ISDIR(st.st_mode) || (S_ISLNK(st.st_mode) && is_folder(path)));
    }
    return entries;
  }
  return read_folder(native, [&](std::string_view name) { return name_matches(pattern, name); },
                     matches_every_name(pattern));
}
