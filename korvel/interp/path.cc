#include "korvel/interp/path.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "korvel/interp/folder_index.h"
#include "korvel/interp/listing_cache.h"
#include "korvel/interp/partial_copy.h"
#include "korvel/interp/pattern.h"
#include "korvel/interp/stat_memo.h"
#include "korvel/shell/text.h"

bool is_separator(char c) { return c == '\\' || c == '/'; }

std::string join_path(std::string_view folder, std::string_view name) {
  std::string out;
  join_path_into(out, folder, name);
  return out;
}

void join_path_into(std::string& out, std::string_view folder, std::string_view name) {
  // "./x" and "x" are one file; one spelling keeps the stat memo's answers.
  if (folder == "." && !name.empty()) {
    out.assign(name);
    return;
  }
  out.assign(folder);
  if (!out.empty() && out.back() != '/') out.push_back('/');
  out.append(name);
}

namespace {
// No "\\" and no "//": the path is as_written() already.
bool written_plainly(std::string_view path) {
  if (path.find('\\') != std::string_view::npos) return false;
  for (size_t slash = path.find('/'); slash != std::string_view::npos; slash = path.find('/', slash + 1))
    if (slash + 1 < path.size() && path[slash + 1] == '/') return false;
  return true;
}
}  // namespace

std::string as_written(std::string_view path) {
  // Mostly written so already: one copy, no byte-wise pass.
  if (written_plainly(path)) return std::string(path);
  std::string out(path.size(), '\0');
  size_t n = 0;
  for (char c : path) {
    if (!is_separator(c)) out[n++] = c;
    else if (n == 0 || out[n - 1] != '/') out[n++] = '/';
  }
  out.resize(n);
  return out;
}

std::string interp_resolve(std::string_view path) {
  // Most paths exist as written: one lstat() instead of one per component.
  std::string written = as_written(path);
  if (!written.empty() && written != "/" && path_exists(written)) return written;
  std::string out;
  size_t i = 0;
  if (!path.empty() && is_separator(path[0])) {
    out.push_back('/');
    i = 1;
  }
  bool missing = false;  // below a missing folder nothing can be found
  while (i < path.size()) {
    size_t j = i;
    while (j < path.size() && !is_separator(path[j])) ++j;
    std::string part(path.substr(i, j - i));
    if (!part.empty()) {
      std::string candidate = join_path(out, part);
      if (!missing && part != "." && part != ".." && !path_exists(candidate)) {
        std::string found = find_ignoring_case(out.empty() ? "." : out, part);
        if (found.empty()) missing = true;
        else candidate = join_path(out, found);
      }
      out = candidate;
    }
    i = j + 1;
  }
  if (!path.empty() && is_separator(path.back()) && !out.empty() && out.back() != '/') out.push_back('/');
  return out;
}

std::string resolve_for_new(std::string_view path) {
  // Known missing from its folder's index, at the price of the folder's
  // stat(), which a lookup would ask anyway; the memo learns it is missing.
  std::string written = as_written(path);
  size_t slash = written.rfind('/');
  std::string_view last = slash == std::string::npos ? std::string_view(written) : std::string_view(written).substr(slash + 1);
  if (!last.empty() && last != "." && last != ".." &&
      certainly_missing(slash == std::string::npos ? "." : slash == 0 ? "/" : written.substr(0, slash), last)) {
    memo_missing(written);
    return written;
  }
  return interp_resolve(path);
}

FolderAndName split_last(std::string_view path) {
  // memrchr(), as split_native() in folder_changes.cc: every copy and del
  // splits its paths here, and a byte-at-a-time walk showed in profiles.
  size_t cut = 0;
  if (!path.empty()) {
    const char* back = static_cast<const char*>(memrchr(path.data(), '\\', path.size()));
    const char* slash = static_cast<const char*>(memrchr(path.data(), '/', path.size()));
    const char* last = !back ? slash : !slash ? back : std::max(back, slash);
    if (last) cut = static_cast<size_t>(last - path.data()) + 1;
  }
  FolderAndName parts;
  parts.name = path.substr(cut);
  parts.rooted = !path.empty() && is_separator(path[0]);
  std::string_view folder = path.substr(0, cut);
  while (!folder.empty() && is_separator(folder.back())) folder.remove_suffix(1);
  parts.folder = folder;
  return parts;
}

std::string folder_prefix(const FolderAndName& parts) {
  if (parts.folder.empty()) return parts.rooted ? "\\" : "";
  return std::string(parts.folder) + "\\";
}

std::string resolve_folder(const FolderAndName& parts) {
  if (parts.folder.empty()) return parts.rooted ? "/" : ".";
  return interp_resolve(parts.folder);
}

bool path_exists(const std::string& native) {
  struct stat st;
  return memo_stat(native, false, &st) == 0;
}

bool is_folder(const std::string& native) {
  struct stat st;
  return memo_stat(native, true, &st) == 0 && S_ISDIR(st.st_mode);
}

bool is_file(const std::string& native) {
  struct stat st;
  return memo_stat(native, true, &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string absolute_path(const std::string& native) {
  char buffer[PATH_MAX];
  if (realpath(native.c_str(), buffer)) return buffer;
  if (!native.empty() && native[0] == '/') return native;
  if (getcwd(buffer, sizeof buffer)) return join_path(buffer, native);
  return native;
}

void Entries::add(std::string_view name, bool is_folder, bool was_regular) {
  if (!text_) {
    text_ = std::make_shared<std::string>();
    text_->reserve(64);  // most listings of one name stop here
  } else if (text_.use_count() > 1) text_ = std::make_shared<std::string>(*text_);  // others read it
  uint32_t kind = (is_folder ? 1 : 0) + (was_regular ? 2 : 0);
  refs_.push_back({static_cast<uint32_t>(text_->size()), static_cast<uint32_t>(name.size() * 4 + kind)});
  text_->append(name);
}

void Entries::shrink_to_fit() {
  if (text_ && text_.use_count() == 1) text_->shrink_to_fit();
  refs_.shrink_to_fit();
}

namespace {
// Eight bytes of a name from `from` on, as listing order compares them
// (letters upper-cased), as one number.
uint64_t order_key(std::string_view name, size_t from) {
  uint64_t key = 0;
  for (size_t i = from; i < from + 8; ++i) {
    unsigned char c = i < name.size() ? static_cast<unsigned char>(name[i]) : 0;
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
    key = key << 8 | c;
  }
  return key;
}
}  // namespace

void Entries::sort() {
  // The first sixteen bytes decide most comparisons, even among names that
  // share a beginning ("My Notes 1002", "My Notes 1005").
  struct Keyed {
    uint64_t first, second;
    Ref ref;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(refs_.size());
  for (const Ref& r : refs_) keyed.push_back({order_key(name_of(r), 0), order_key(name_of(r), 8), r});
  std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
    if (a.first != b.first) return a.first < b.first;
    if (a.second != b.second) return a.second < b.second;
    return listing_before(name_of(a.ref), name_of(b.ref));
  });
  for (size_t i = 0; i < refs_.size(); ++i) refs_[i] = keyed[i].ref;
}

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

int open_regular_file(const std::string& native, bool& not_regular, struct stat* opened, bool was_regular) {
  not_regular = false;
  struct stat own;
  struct stat& st = opened ? *opened : own;
  if (was_regular) st.st_mode = S_IFREG;
  else if (memo_stat(native, true, &st) != 0) return -1;
  // Looked at before the open, which would wait for a FIFO's writer or act
  // on a device; the open itself must not wait either if the name changed
  // hands in between, and what was opened is looked at again.
  if (S_ISREG(st.st_mode)) {
    int fd = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    // O_NONBLOCK means nothing to a regular file's reads; it can stay.
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) return fd;
    close(fd);
  }
  not_regular = true;
  return -1;
}
