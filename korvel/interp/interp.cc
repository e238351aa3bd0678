#include "korvel/interp/interp.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "korvel/base/text.h"
#include "korvel/base/write_failure.h"
#include "korvel/interp/commands.h"
#include "korvel/interp/folder_changes.h"
#include "korvel/interp/output.h"
#include "korvel/interp/parse.h"
#include "korvel/interp/path.h"
#include "korvel/interp/pattern.h"
#include "korvel/interp/stat_memo.h"

namespace korvel {

namespace {
using Handler = void (*)(std::span<const Word>);

struct Builtin {
  std::string_view name;
  Handler run;
};

constexpr Builtin kBuiltins[] = {
    {"dir", dir_command},     {"del", del_command},         {"erase", del_command}, {"copy", copy_command},
    {"md", md_command},       {"mkdir", md_command},        {"rd", rd_command},     {"rmdir", rd_command},
    {"find", find_command},   {"findstr", findstr_command}, {"sort", sort_command}, {"chcp", chcp_command},
    {"start", start_command},
};

// "cmd /c rest": the rest runs as a line of its own. Outer quotes around the
// whole rest are cmd's way of keeping redirections for the inner interpreter.
void nested_interpreter(std::string_view line, const std::vector<Word>& words) {
  if (words.size() < 2 || !equals_ignore_case(words[1].text, "/c")) {
    err_line(kSyntaxError);
    return;
  }
  std::string rest(line.substr(words[1].end));
  size_t first = rest.find_first_not_of(" \t");
  size_t last = rest.find_last_not_of(" \t");
  if (first != std::string::npos && rest[first] == '"' && rest[last] == '"' && last > first)
    rest = rest.substr(first + 1, last - first - 1);
  interp_run(rest);
}

// Whether the command could read or list its own redirection target. Those
// get it emptied before they run, as cmd does. The others (copy, del, md,
// rd, chcp) write over the old content and cut it to length afterwards:
// emptying a file at open costs a file system with a journal a block
// discarded and written again, for every command.
bool might_read_its_target(std::string_view command) {
  size_t begin = command.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return true;
  size_t end = command.find_first_of(" \t", begin);
  std::string_view name = command.substr(begin, end == std::string_view::npos ? end : end - begin);
  for (std::string_view alone : {"copy", "del", "erase", "md", "mkdir", "rd", "rmdir", "chcp"})
    if (equals_ignore_case(name, alone)) return false;
  return true;
}

// The target of the last command that writes over its target, kept open:
// the same target next time costs nothing at all. Such a command's output
// is held back (`pending`) while the next line writes over the same target
// again, and is written when anything else comes: another command, korvel's
// file layer, the end of the process. Copies and deletes one document at a
// time then write their target once, not two or three times per document.
// It is used again only while its name still leads to the same regular file.
struct KeptTarget {
  std::string written;  // as the command line gave it
  int fd = -1;
  dev_t dev = 0;
  ino_t ino = 0;
  bool held_back = false;
  std::string pending;
} kept;

void drop_kept_target() {
  if (kept.fd >= 0) close(kept.fd);
  kept = {};
}

// The kept fd for `written`, with `st` of the file; -1 when there is none.
int kept_target(const std::string& written, struct stat& st) {
  if (kept.fd < 0 || kept.written != written) return -1;
  if (memo_stat(as_written(written), false, &st) == 0 && S_ISREG(st.st_mode) && st.st_dev == kept.dev &&
      st.st_ino == kept.ino)
    return kept.fd;
  drop_kept_target();
  return -1;
}

void keep_target(const std::string& written, int fd, const struct stat& st) {
  if (fd != kept.fd) drop_kept_target();
  kept.written = written;
  kept.fd = fd;
  kept.dev = st.st_dev;
  kept.ino = st.st_ino;
}

// Opens (or makes) the target; only a file made now changes its folder.
// A target that exists as written needs no name lookup.
int open_target(std::string_view written, bool append, bool truncate) {
  int flags = O_WRONLY | O_CLOEXEC | O_NONBLOCK | (append ? O_APPEND : truncate ? O_TRUNC : 0);
  int fd = open_for_writing(as_written(written), flags);
  if (fd >= 0 || errno != ENOENT) return fd;
  std::string target = resolve_path(written);
  if (path_exists(target)) {
    fd = open_for_writing(target, flags);
    if (fd >= 0 || errno != ENOENT) return fd;
  }
  return create_file(target, flags | O_CREAT, 0666);
}

// Sends what `body` prints into the redirection's target, as cmd would:
// emptied first (`truncate`), appended to, or written over and cut to length.
template <typename Body>
void write_redirected(const Redirection& redirection, bool truncate, Body body) {
  bool overwrite = !redirection.append && !truncate;
  struct stat st;
  int fd = overwrite ? kept_target(redirection.target, st) : -1;
  bool regular = fd >= 0;
  if (fd < 0) {
    fd = open_target(redirection.target, redirection.append, truncate);
    if (fd < 0) {
      err_line(errno == ENOENT || errno == ENOTDIR ? std::string(kPathNotFound)
                                                   : redirection.target + ": " + write_failure_text(errno));
      return;
    }
    regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  }
  // O_NONBLOCK kept the open from waiting for a FIFO's reader; a regular
  // file's writes never wait, so only anything else needs it cleared.
  if (!regular) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  off_t old_size = regular ? st.st_size : 0;
  int previous = swap_out_fd(fd, overwrite && regular ? 0 : -1);
  body();
  int error = out_write_error();
  off_t written = static_cast<off_t>(out_bytes_written());
  swap_out_fd(previous);
  // Output cut short would be read back as if it were whole: a listing
  // missing names, or ending in half a name. Nothing of it stays.
  if (error != 0) {
    (void)!ftruncate(fd, redirection.append ? old_size : 0);  // if even that fails, the message still stands
    err_line(redirection.target + ": " + write_failure_text(error));
  } else if (overwrite && regular && written < old_size) {
    (void)!ftruncate(fd, written);
  }
  if (error == 0 && overwrite && regular) keep_target(redirection.target, fd, st);
  else if (fd != kept.fd) close(fd);
  else drop_kept_target();
}

// A listing's output can be large; only a command naming one file has its
// output held back.
bool names_one_file(std::string_view command) { return !has_wildcard(command); }
}  // namespace

std::string interp_resolve(std::string_view path) { return resolve_path(path); }

void interp_settle() {
  if (!kept.held_back) return;
  StatMemoScope memo;
  kept.held_back = false;
  std::string text = std::move(kept.pending);
  kept.pending = {};
  write_redirected({kept.written, false}, false, [&] { out_text(text); });
}

void invalid_switch(const Word& word) { err_line("Invalid switch - \"" + word.text.substr(1) + "\"."); }

namespace {
void run_command(std::string_view line) {
  std::vector<Word> words = split_words(line);
  if (words.empty()) return;
  std::string_view name = words[0].text;
  if (equals_ignore_case(name, "cmd")) return nested_interpreter(line, words);
  if (equals_ignore_case(name, "for")) return for_command(line, words, run_command);
  for (const Builtin& builtin : kBuiltins)
    if (equals_ignore_case(name, builtin.name)) return builtin.run(std::span<const Word>(words).subspan(1));
  err_line("'" + words[0].text + "' is not recognized as an internal or external command,");
  err_line("operable program or batch file.");
}
}  // namespace

void interp_run(std::string_view line) {
  StatMemoScope memo;
  std::string command;
  command.reserve(line.size());  // never longer than the line: no growing
  Redirection redirection;
  bool refused = refused_char(line) != 0;
  bool cut = !refused && cut_redirections(line, command, redirection);
  bool truncate = !redirection.append && might_read_its_target(command);
  bool overwrite = cut && !redirection.target.empty() && !redirection.append && !truncate;
  // A command naming its own target (deleting it, copying onto it) meets
  // the file itself, as it is after the command before.
  if (overwrite && kept.fd >= 0 && kept.written == redirection.target && names_one_file(command) &&
      !contains_ignore_case(command, redirection.target)) {
    static const bool settled_at_exit = std::atexit(interp_settle) == 0;
    (void)settled_at_exit;
    kept.held_back = true;
    kept.pending.clear();
    std::string* previous = capture_out(&kept.pending);
    run_command(command);
    out_flush();
    capture_out(previous);
    return;
  }
  interp_settle();
  if (refused) {
    err_line("The command line holds & | < or ^, which korvel does not run: " + std::string(line));
  } else if (!cut) {
    err_line(kSyntaxError);
  } else if (redirection.target.empty()) {
    run_command(command);
    out_flush();
  } else {
    write_redirected(redirection, truncate, [&] { run_command(command); });
  }
}

}  // namespace korvel
