#include "korvel/interp/path.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "korvel/base/text.h"
#include "korvel/interp/folder_index.h"
#include "korvel/interp/partial_copy.h"
#include "korvel/interp/pattern.h"
#include "korvel/interp/stat_memo.h"

namespace korvel {

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

std::string resolve_path(std::string_view path) {
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
  std::string_view last =
      slash == std::string::npos ? std::string_view(written) : std::string_view(written).substr(slash + 1);
  if (!last.empty() && last != "." && last != ".." &&
      certainly_missing(slash == std::string::npos ? "."
                        : slash == 0               ? "/"
                                                   : written.substr(0, slash),
                        last)) {
    memo_missing(written);
    return written;
  }
  return resolve_path(path);
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
  return resolve_path(parts.folder);
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

}  // namespace korvel
