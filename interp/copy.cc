// copy: one file, or every file matching a pattern, onto a file or into a
// folder. An existing target is always replaced.
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

#include "interp/commands.h"
#include "interp/folder_index.h"
#include "interp/output.h"
#include "interp/path.h"
#include "interp/pattern.h"
#include "shell/text.h"

namespace {
enum class Copied { kYes, kOntoItself, kFailed };

bool copy_bytes(int from, int to, off_t size) {
  off_t left = size;
  while (left > 0) {
    ssize_t n = copy_file_range(from, nullptr, to, nullptr, static_cast<size_t>(left), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    left -= n;
  }
  if (left == 0) return true;
  // Some file systems refuse copy_file_range; plain reads do for the rest.
  char buffer[64 * 1024];
  for (;;) {
    ssize_t n = read(from, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    for (ssize_t done = 0; done < n;) {
      ssize_t w = write(to, buffer + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return false;
      done += w;
    }
  }
}

// Content, permission bits and modification time go along, as on NTFS.
Copied copy_file(const std::string& source, const std::string& target) {
  int from = open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (from < 0) return Copied::kFailed;
  struct stat src, dst;
  fstat(from, &src);
  if (stat(target.c_str(), &dst) == 0 && dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) {
    close(from);
    return Copied::kOntoItself;
  }
  int to = create_file(target, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, src.st_mode & 07777);
  if (to < 0) {
    close(from);
    return Copied::kFailed;
  }
  fchmod(to, src.st_mode & 07777);
  bool ok = copy_bytes(from, to, src.st_size);
  struct timespec times[2] = {{0, UTIME_OMIT}, src.st_mtim};
  futimens(to, times);
  close(from);
  close(to);
  return ok ? Copied::kYes : Copied::kFailed;
}

void report(int count) { out_line("        " + std::to_string(count) + " file(s) copied."); }

void copy_files(std::string_view source, std::string_view target) {
  FolderAndName parts = split_last(source);
  std::string source_folder = resolve_folder(parts);
  std::string shown_prefix = folder_prefix(parts);
  std::vector<std::string> names;
  bool many = has_wildcard(parts.name) || parts.name.empty();
  if (!many && is_folder(interp_resolve(source))) {  // a folder stands for its files
    source_folder = interp_resolve(source);
    shown_prefix = std::string(source) + "\\";
    many = true;
    parts.name = "*";
  }
  if (!is_folder(source_folder)) {
    err_line(kPathNotFound);
    return report(0);
  }
  if (many) {
    for (const Entry& entry : matching_entries(source_folder, parts.name.empty() ? "*" : parts.name))
      if (!entry.is_folder) names.push_back(entry.name);
  } else {
    std::string found = interp_resolve(source);
    if (is_file(found)) names.push_back(split_last(found).name);
  }
  if (names.empty()) {
    err_line(kFileNotFound);
    return report(0);
  }

  std::string target_native = interp_resolve(target.empty() ? "." : target);
  bool into_folder = target.empty() || is_separator(target.back()) || is_folder(target_native);
  if (into_folder ? !is_folder(target_native) : !is_folder(resolve_folder(split_last(target)))) {
    err_line(kPathNotFound);
    return report(0);
  }
  // A file goes onto the name the target folder held before the command
  // began, in whatever letter case; two source names differing only in case
  // that are both new to the folder arrive as two files.
  std::unordered_set<std::string> new_here;

  int count = 0;
  for (const std::string& name : names) {
    if (many) out_line(shown_prefix + name);
    std::string destination = target_native;
    if (into_folder) {
      std::string lower = to_lower_ascii(name);
      std::string found = new_here.contains(lower) ? "" : find_ignoring_case(target_native, name);
      if (found.empty()) new_here.insert(lower);
      destination = join_path(target_native, found.empty() ? name : found);
    }
    Copied result = copy_file(join_path(source_folder, name), destination);
    if (result == Copied::kYes) ++count;
    else if (result == Copied::kOntoItself) err_line("The file cannot be copied onto itself.");
    else err_line("Access is denied.");
  }
  report(count);
}
}  // namespace

void copy_command(const std::vector<Word>& args) {
  std::vector<std::string> operands;
  for (const Word& word : args) {
    std::string text = to_lower_ascii(word.text);
    if (!is_switch(word)) operands.push_back(word.text);
    else if (text != "/y" && text != "/-y" && text != "/b" && text != "/v") return invalid_switch(word);
  }
  if (operands.empty() || operands.size() > 2) return err_line(kSyntaxError);
  copy_files(operands[0], operands.size() == 2 ? operands[1] : "");
}
