// start /D folder program
#include "korvel/interp/start.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "korvel/base/text.h"
#include "korvel/interp/commands.h"
#include "korvel/interp/output.h"
#include "korvel/interp/path.h"

namespace korvel {

namespace {
// Tells korvel, through the close-on-exec pipe `report`, why the program did
// not start; an exec that works closes the pipe and so says "started".
[[noreturn]] void report_failure(int report) {
  int error = errno;
  ssize_t ignored = write(report, &error, sizeof error);
  (void)ignored;
  _exit(127);
}

// Runs in the grandchild only: async-signal-safe calls on prepared strings.
[[noreturn]] void become(const char* folder, char* const* window, const char* program, char* const* argv,
                         const char* log, int report) {
  if (chdir(folder) != 0) report_failure(report);
  int null = open("/dev/null", O_RDWR);
  dup2(null, 0);
  if (window) {
    dup2(null, 1);
    dup2(null, 2);
  }
  // Keep only the standard three and the report pipe, which moves to 3.
  if (report != 3) {
    report = dup3(report, 3, O_CLOEXEC);
    if (report < 0) _exit(127);
  }
  close_range(4, ~0U, 0);
  if (window) {
    execvp(window[0], window);
    // No window after all: fall back to running in the background.
  }
  int out = open(log, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (out >= 0) {
    dup2(out, 1);
    dup2(out, 2);
  }
  execv(program, argv);
  report_failure(report);
}

// What exec would say about `path`, checked beforehand for the window, whose
// own exec of the program korvel cannot see: 0 when it looks startable.
int exec_problem(const std::string& path) {
  if (access(path.c_str(), X_OK) != 0) return errno;
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  char head[256] = {};
  ssize_t got = read(fd, head, sizeof head - 1);
  close(fd);
  if (got >= 4 && std::memcmp(head,
                              "\x7f"
                              "ELF",
                              4) == 0)
    return 0;
  if (got < 2 || head[0] != '#' || head[1] != '!') return ENOEXEC;
  // A script: its interpreter must be there to run it.
  std::string_view line(head + 2, size_t(got) - 2);
  line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
  std::string interpreter(line.substr(0, line.find_first_of(" \t\n")));
  return access(interpreter.c_str(), X_OK) == 0 ? 0 : errno;
}

// Waits for the started program's exec: 0 when it happened, else its errno.
int exec_outcome(int report) {
  int error = 0;
  ssize_t got;
  do got = read(report, &error, sizeof error);
  while (got < 0 && errno == EINTR);
  close(report);
  return got == sizeof error ? error : 0;
}
}  // namespace

std::string start_failure(int error, const std::string& program) {
  switch (error) {
    case 0: return "";
    case ENOENT:
    case ENOTDIR:
    case ELOOP: return "The system cannot find the file " + program + ".";
    case EACCES:
    case EPERM: return "Access is denied.";
    case EAGAIN:
    case ENOMEM: return "Not enough memory resources are available to process this command.";
    default:
      return "This version of " + program +
             " is not compatible with the version of Windows you're running. Check your computer's system "
             "information and then contact the software publisher.";
  }
}

std::string find_terminal() {
  const char* display = getenv("DISPLAY");
  const char* wayland = getenv("WAYLAND_DISPLAY");
  if ((!display || !*display) && (!wayland || !*wayland)) return "";
  const char* path = getenv("PATH");
  if (!path) return "";
  for (const char* name : {"x-terminal-emulator", "gnome-terminal", "konsole", "xfce4-terminal", "xterm"}) {
    std::string_view dirs = path;
    while (!dirs.empty()) {
      size_t colon = dirs.find(':');
      std::string candidate = join_path(dirs.substr(0, colon), name);
      if (access(candidate.c_str(), X_OK) == 0) return candidate;
      dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
    }
  }
  return "";
}

std::vector<std::string> terminal_argv(const std::string& terminal, const std::string& program) {
  std::string_view name = split_last(terminal).name;
  if (name == "gnome-terminal") return {terminal, "--", program};
  if (name == "xfce4-terminal") return {terminal, "-x", program};
  return {terminal, "-e", program};
}

void start_command(std::span<const Word> args) {
  std::string folder_written = ".";
  std::string program;
  bool no_window = false;
  for (size_t i = 0; i < args.size() && program.empty(); ++i) {
    std::string text = to_lower_ascii(args[i].text);
    if (is_switch(args[i])) {
      if (text == "/d" && i + 1 < args.size()) folder_written = args[++i].text;
      else if (text.starts_with("/d") && text.size() > 2) folder_written = args[i].text.substr(2);
      else if (text == "/b") no_window = true;
      else if (text != "/min" && text != "/max") return invalid_switch(args[i]);
    } else if (args[i].quoted && i + 1 < args.size()) {
      continue;  // cmd takes a first quoted word as the window title
    } else {
      program = args[i].text;
    }
  }
  if (program.empty()) return err_line(kSyntaxError);
  std::string folder = resolve_path(folder_written);
  if (!is_folder(folder)) return err_line(kPathNotFound);
  std::string found = resolve_path(folder_written + "\\" + program);
  if (!is_file(found)) return err_line("The system cannot find the file " + program + ".");

  std::string executable = absolute_path(found);
  std::string argv0 = "./" + std::string(split_last(found).name);
  std::string log = std::string(split_last(program).name) + ".log";
  std::string terminal = no_window ? "" : find_terminal();
  if (!terminal.empty()) {
    std::string problem = start_failure(exec_problem(executable), program);
    if (!problem.empty()) return err_line(problem);
  }
  std::vector<std::string> window = terminal.empty() ? std::vector<std::string>() : terminal_argv(terminal, executable);
  std::vector<char*> window_argv;
  for (std::string& word : window) window_argv.push_back(word.data());
  window_argv.push_back(nullptr);
  char* argv[] = {argv0.data(), nullptr};
  std::string cwd = absolute_path(folder);
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return err_line(start_failure(errno, program));
  out_flush();
  pid_t child = fork();
  if (child == 0) {
    close(report[0]);
    setsid();
    pid_t grandchild = fork();
    if (grandchild < 0) report_failure(report[1]);
    if (grandchild > 0) _exit(0);  // the grandchild is adopted by init: never a zombie
    become(cwd.c_str(), window.empty() ? nullptr : window_argv.data(), executable.c_str(), argv, log.c_str(),
           report[1]);
  }
  int forked = errno;
  close(report[1]);
  if (child < 0) {
    close(report[0]);
    return err_line(start_failure(forked, program));
  }
  waitpid(child, nullptr, 0);
  // The grandchild holds the pipe's other end until its exec.
  std::string problem = start_failure(exec_outcome(report[0]), program);
  if (!problem.empty()) err_line(problem);
}

}  // namespace korvel
