// start /D folder program
#include "interp/start.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "interp/commands.h"
#include "interp/output.h"
#include "interp/path.h"
#include "shell/text.h"

namespace {
// Runs in the grandchild only: async-signal-safe calls on prepared strings.
[[noreturn]] void become(const char* folder, char* const* window, const char* program, char* const* argv,
                         const char* log) {
  if (chdir(folder) != 0) _exit(127);
  int null = open("/dev/null", O_RDWR);
  dup2(null, 0);
  if (window) {
    dup2(null, 1);
    dup2(null, 2);
    close_range(3, ~0U, 0);
    execvp(window[0], window);
    // No window after all: fall back to running in the background.
  }
  int out = open(log, O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (out >= 0) {
    dup2(out, 1);
    dup2(out, 2);
  }
  close_range(3, ~0U, 0);
  execv(program, argv);
  static const char kFailed[] = "korvel: the program could not be started\n";
  ssize_t ignored = write(2, kFailed, sizeof kFailed - 1);
  (void)ignored;
  _exit(127);
}
}  // namespace

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
  std::string name = split_last(terminal).name;
  if (name == "gnome-terminal") return {terminal, "--", program};
  if (name == "xfce4-terminal") return {terminal, "-x", program};
  return {terminal, "-e", program};
}

void start_command(const std::vector<Word>& args) {
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
  std::string folder = interp_resolve(folder_written);
  if (!is_folder(folder)) return err_line(kPathNotFound);
  std::string found = interp_resolve(folder_written + "\\" + program);
  if (!is_file(found)) return err_line("The system cannot find the file " + program + ".");

  std::string executable = absolute_path(found);
  std::string argv0 = "./" + split_last(found).name;
  std::string log = split_last(program).name + ".log";
  std::string terminal = no_window ? "" : find_terminal();
  std::vector<std::string> window = terminal.empty() ? std::vector<std::string>() : terminal_argv(terminal, executable);
  std::vector<char*> window_argv;
  for (std::string& word : window) window_argv.push_back(word.data());
  window_argv.push_back(nullptr);
  char* argv[] = {argv0.data(), nullptr};
  std::string cwd = absolute_path(folder);
  out_flush();
  pid_t child = fork();
  if (child == 0) {
    setsid();
    if (fork() != 0) _exit(0);  // the grandchild is adopted by init: never a zombie
    become(cwd.c_str(), window.empty() ? nullptr : window_argv.data(), executable.c_str(), argv, log.c_str());
  }
  if (child > 0) waitpid(child, nullptr, 0);
}
