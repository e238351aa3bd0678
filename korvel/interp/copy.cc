// copy: one file, or every file matching a pattern, onto a file or into a
// folder. An existing target is always replaced, and only ever by a whole
// copy: the bytes go to a partial-copy name in the target folder first and
// take the target's name when every one of them has arrived.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <charconv>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/file_aside.h"
#include "korvel/base/text.h"
#include "korvel/base/write_failure.h"
#include "korvel/interp/commands.h"
#include "korvel/interp/folder_changes.h"
#include "korvel/interp/folder_index.h"
#include "korvel/interp/listing.h"
#include "korvel/interp/output.h"
#include "korvel/interp/partial_copy.h"
#include "korvel/interp/path.h"
#include "korvel/interp/pattern.h"
#include "korvel/interp/stat_memo.h"

namespace korvel {

namespace {
enum class Copied { kYes, kOntoItself, kNotRegular, kFailed };

// 0 when every byte arrived, else the errno of the read or write that failed.
int copy_bytes(int from, int to, off_t size) {
  off_t left = size;
  while (left > 0) {
    ssize_t n = copy_file_range(from, nullptr, to, nullptr, static_cast<size_t>(left), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    left -= n;
  }
  if (left == 0) return 0;
  // Some file systems refuse copy_file_range; plain reads do for the rest,
  // and a write error it met shows again here.
  static char buffer[64 * 1024];  // off the stack: the process has one thread
  for (;;) {
    ssize_t n = read(from, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return 0;
    for (ssize_t done = 0; done < n;) {
      ssize_t w = write(to, buffer + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) return errno;
      if (w == 0) return EIO;
      done += w;
    }
  }
}

// The mode bits a file made now gets from open(): what is asked, less the
// umask. Read once; nothing in the program changes it.
mode_t creation_mask() {
  static mode_t mask = [] {
    mode_t m = umask(0);
    umask(m);
    return m;
  }();
  return mask;
}

// Content, permission bits and modification time go along, as on NTFS.
// On kFailed, `error` holds the errno that tells why. `partial` is the
// partial-copy name in the target's folder; `missing`: the target is known
// not to be there.
Copied copy_file(const std::string& source, const std::string& target, const std::string& partial, bool missing,
                 bool was_regular, int& error) {
  bool not_regular = false;
  struct stat src, dst;
  int from = open_regular_file(source, not_regular, &src, was_regular);
  if (from < 0) {
    error = errno;
    return not_regular ? Copied::kNotRegular : Copied::kFailed;
  }
  bool target_exists = !missing && memo_stat(target, true, &dst) == 0;
  if (target_exists && dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) {
    close(from);
    return Copied::kOntoItself;
  }
  // A read-only target stays, as cmd leaves it; a rename would not ask.
  if (target_exists && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    error = errno;
    close(from);
    return Copied::kFailed;
  }
  // Every change goes through the interpreter's own, which tell the
  // folder's index of it.
  static constexpr common::FileOps kTold = {create_file, rename_file, remove_file};
  common::FileAside copy(kTold);
  mode_t mode = src.st_mode & 07777;
  if (!copy.open(partial, mode & 0777)) {
    error = errno;
    close(from);
    return Copied::kFailed;
  }
  error = copy_bytes(from, copy.fd(), src.st_size);
  // open() gave the bits the umask lets through; only others need asking.
  if ((mode & ~creation_mask()) != mode) fchmod(copy.fd(), mode);
  struct timespec times[2] = {{0, UTIME_OMIT}, src.st_mtim};
  futimens(copy.fd(), times);
  close(from);
  if (error == 0 && !copy.commit(target)) error = errno;
  return error == 0 ? Copied::kYes : Copied::kFailed;
}

// The names a folder holds now, as sorted hashes: a copy of many files into
// it then asks stat() only about the names that may be there already.
std::vector<uint64_t> names_present(const std::string& folder) {
  std::vector<uint64_t> hashes;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return hashes;
  while (dirent* entry = readdir(dir)) hashes.push_back(name_hash(entry->d_name, false));
  closedir(dir);
  std::sort(hashes.begin(), hashes.end());
  return hashes;
}

bool owner_is_gone(std::string_view name) {
  std::string_view digits = name.substr(kPartialCopyPrefix.size());
  digits.remove_suffix(kPartialCopySuffix.size());
  pid_t pid = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc() || end != digits.data() + digits.size() || pid <= 0) return true;
  return pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH;
}

// Removes, once per folder and run, what copies killed with their process
// left in `folder`: partial copies of processes that no longer exist.
void remove_dead_partial_copies(const std::string& folder) {
  if (!first_meeting(folder)) return;
  std::vector<std::string> dead;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (dirent* entry = readdir(dir)) {
    std::string_view name = entry->d_name;
    if (is_partial_copy_name(name) && owner_is_gone(name)) dead.emplace_back(name);
  }
  closedir(dir);
  for (const std::string& name : dead) remove_file(folder + "/" + name);
}

void report(int count) {
  char line[48] = "        ";
  char* end = std::to_chars(line + 8, line + 24, count).ptr;
  std::string_view tail = " file(s) copied.";
  std::memcpy(end, tail.data(), tail.size());
  out_line(std::string_view(line, static_cast<size_t>(end - line) + tail.size()));
}

void copy_files(std::string_view source, std::string_view target) {
  FolderAndName parts = split_last(source);
  std::string source_folder = resolve_folder(parts);
  std::string shown_prefix = folder_prefix(parts);
  Entries found_names;
  bool many = has_wildcard(parts.name) || parts.name.empty();
  std::string found = many ? std::string() : resolve_path(source);
  if (!many && is_folder(found)) {  // a folder stands for its files
    source_folder = found;
    shown_prefix = std::string(source) + "\\";
    many = true;
    parts.name = "*";
  }
  // The working folder is there while the program runs in it.
  if (source_folder != "." && !is_folder(source_folder)) {
    err_line(kPathNotFound);
    return report(0);
  }
  if (many) {
    found_names = matching_entries(source_folder, parts.name.empty() ? "*" : parts.name);
  } else if (is_file(found)) {
    found_names.add(split_last(found).name, false);
  }
  size_t files = 0;
  for (const Entry& entry : found_names) files += entry.is_folder ? 0 : 1;
  if (files == 0) {
    err_line(kFileNotFound);
    return report(0);
  }

  // The target folder is found without regard to letter case; the file is
  // written under exactly its own name, never onto a name that differs only
  // in case: A.TXT and a.txt arrive as two files, as they left.
  FolderAndName target_parts = split_last(target);
  std::string target_native = resolve_for_new(target.empty() ? "." : target);
  bool into_folder = target.empty() || is_separator(target.back()) || is_folder(target_native);
  std::string target_folder = into_folder ? target_native : resolve_folder(target_parts);
  if (!into_folder) target_native = join_path(target_folder, target_parts.name);
  if (!is_folder(target_folder)) {
    err_line(kPathNotFound);
    return report(0);
  }

  remove_dead_partial_copies(target_folder);
  bool read_target = into_folder && files > 1;
  std::vector<uint64_t> present = read_target ? names_present(target_native) : std::vector<uint64_t>();
  const std::string partial = join_path(target_folder, partial_copy_name());
  int count = 0;
  std::string listed, from, destination = target_native;  // their room is kept from file to file
  for (const Entry& entry : found_names) {
    if (entry.is_folder) continue;
    std::string_view name = entry.name;
    if (many) {  // only a pattern's files are listed as they go
      listed.assign(shown_prefix).append(name);
      out_line(listed);
    }
    std::string_view shown = many ? std::string_view(listed) : source;
    if (into_folder) join_path_into(destination, target_native, name);
    join_path_into(from, source_folder, name);
    // A name the folder did not hold when the command began is not asked
    // about again: the command itself writes each name once, and a file
    // another program puts there meanwhile is replaced, as /y would anyway
    // (only a read-only one would have stayed).
    bool missing = read_target && !std::binary_search(present.begin(), present.end(), name_hash(name, false));
    int error = 0;
    Copied result = copy_file(from, destination, partial, missing, entry.was_regular, error);
    if (result == Copied::kYes) ++count;
    else if (result == Copied::kOntoItself) err_line("The file cannot be copied onto itself.");
    else if (result == Copied::kNotRegular)
      err_line(std::string(shown) + ": This is not a regular file; it is skipped.");
    else err_line(std::string(shown) + ": " + write_failure_text(error));
  }
  report(count);
}
}  // namespace

void copy_command(std::span<const Word> args) {
  std::string_view operands[2];  // the words outlive the command
  size_t count = 0;
  for (const Word& word : args) {
    if (!is_switch(word)) {
      if (count < 2) operands[count] = word.text;
      ++count;
      continue;
    }
    std::string text = to_lower_ascii(word.text);
    if (text != "/y" && text != "/-y" && text != "/b" && text != "/v") return invalid_switch(word);
  }
  if (count == 0 || count > 2) return err_line(kSyntaxError);
  copy_files(operands[0], operands[1]);
}

}  // namespace korvel
