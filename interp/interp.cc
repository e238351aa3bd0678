#include "interp/interp.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "interp/commands.h"
#include "interp/folder_index.h"
#include "interp/output.h"
#include "interp/parse.h"
#include "interp/stat_memo.h"
#include "shell/text.h"
#include "shell/write_failure.h"

namespace {
using Handler = void (*)(const std::vector<Word>&);

struct Builtin {
  std::string_view name;
  Handler run;
};

constexpr Builtin kBuiltins[] = {
    {"dir", dir_command},   {"del", del_command},       {"erase", del_command},     {"copy", copy_command},
    {"md", md_command},     {"mkdir", md_command},      {"rd", rd_command},         {"rmdir", rd_command},
    {"find", find_command}, {"findstr", findstr_command}, {"sort", sort_command},   {"chcp", chcp_command},
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
}  // namespace

void invalid_switch(const Word& word) { err_line("Invalid switch - \"" + word.text.substr(1) + "\"."); }

void run_command(std::string_view line) {
  std::vector<Word> words = split_words(line);
  if (words.empty()) return;
  std::string name = to_lower_ascii(words[0].text);
  if (name == "cmd") return nested_interpreter(line, words);
  if (name == "for") return for_command(line, words);
  for (const Builtin& builtin : kBuiltins)
    if (name == builtin.name) return builtin.run(arguments(words));
  err_line("'" + words[0].text + "' is not recognized as an internal or external command,");
  err_line("operable program or batch file.");
}

void interp_run(std::string_view line) {
  StatMemoScope memo;
  if (refused_char(line)) {
    err_line("The command line holds & | < or ^, which korvel does not run: " + std::string(line));
    return;
  }
  std::string command;
  Redirection redirection;
  if (!cut_redirections(line, command, redirection)) {
    err_line(kSyntaxError);
    return;
  }
  if (redirection.target.empty()) {
    run_command(command);
    out_flush();
    return;
  }
  std::string target = interp_resolve(redirection.target);
  // O_NONBLOCK: a FIFO in the target's place must not stop the run.
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | (redirection.append ? O_APPEND : O_TRUNC);
  int fd = create_file(target, flags, 0666);
  if (fd < 0) {
    err_line(errno == ENOENT || errno == ENOTDIR ? std::string(kPathNotFound)
                                                 : redirection.target + ": " + write_failure_text(errno));
    return;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  struct stat st;
  off_t start = redirection.append && fstat(fd, &st) == 0 ? st.st_size : 0;
  int previous = swap_out_fd(fd);
  run_command(command);
  int error = out_write_error();
  swap_out_fd(previous);
  // Output cut short would be read back as if it were whole: a listing
  // missing names, or ending in half a name. Nothing of it stays.
  if (error != 0) {
    (void)!ftruncate(fd, start);  // if even that fails, the message still stands
    err_line(redirection.target + ": " + write_failure_text(error));
  }
  close(fd);
}
