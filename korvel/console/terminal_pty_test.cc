// The real program on a pseudo-terminal, and with keys piped in.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "korvel/testing/e2e.h"

namespace korvel {

namespace fs = std::filesystem;

namespace {

// The program behind a terminal, started the way a job-control shell starts
// it: in a process group of its own that owns the terminal. The stand-in
// shell exits with the program's exit status, or 100 + the signal that
// killed it.
struct PtyRun {
  pid_t shell = -1;
  int master = -1;
  std::string out;
  ~PtyRun() {
    if (shell > 0) {
      kill(shell, SIGKILL);
      waitpid(shell, nullptr, 0);
    }
    if (master >= 0) close(master);
  }
};

void start_in_pty(PtyRun& run, const fs::path& folder) {
  winsize size = {24, 80, 0, 0};
  run.shell = forkpty(&run.master, nullptr, nullptr, &size);
  if (run.shell != 0) return;
  int go[2];
  if (pipe(go) != 0) _exit(120);
  pid_t program = fork();
  if (program == 0) {
    setpgid(0, 0);
    char byte;
    close(go[1]);
    if (read(go[0], &byte, 1) != 1 || chdir(folder.c_str()) != 0) _exit(121);
    execl(KORVEL_BIN, "korvel", static_cast<char*>(nullptr));
    _exit(127);
  }
  setpgid(program, program);
  tcsetpgrp(STDIN_FILENO, program);
  close(go[0]);
  if (write(go[1], "g", 1) != 1) _exit(122);
  int status = 0;
  waitpid(program, &status, 0);
  _exit(WIFSIGNALED(status) ? 100 + WTERMSIG(status) : WEXITSTATUS(status));
}

void read_available(PtyRun& run, int wait_ms) {
  pollfd output = {run.master, POLLIN, 0};
  if (poll(&output, 1, wait_ms) <= 0) return;
  char buffer[4096];
  ssize_t count = read(run.master, buffer, sizeof buffer);
  if (count > 0) run.out.append(buffer, static_cast<size_t>(count));
}

bool output_shows(PtyRun& run, std::string_view text) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (run.out.find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    read_available(run, 50);
  }
  return true;
}

// The stand-in shell's exit status, or -1 when it does not end in time.
int exit_status(PtyRun& run) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  int status = 0;
  while (waitpid(run.shell, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) return -1;
    read_available(run, 50);
  }
  run.shell = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void type(PtyRun& run, std::string_view keys) {
  ASSERT_EQ(write(run.master, keys.data(), keys.size()), ssize_t(keys.size()));
}

bool raw(const PtyRun& run) {
  termios mode;
  EXPECT_EQ(tcgetattr(run.master, &mode), 0);
  return !(mode.c_lflag & (ECHO | ICANON)) && !(mode.c_iflag & ICRNL) && (mode.c_lflag & ISIG);
}

bool cooked(const PtyRun& run) {
  termios mode;
  EXPECT_EQ(tcgetattr(run.master, &mode), 0);
  return (mode.c_lflag & ECHO) && (mode.c_lflag & ICANON) && (mode.c_iflag & ICRNL);
}

// Waits until the terminal settings are as `wanted` says.
bool settles(const PtyRun& run, bool (*wanted)(const PtyRun&)) {
  for (int tries = 0; tries < 200; ++tries) {
    if (wanted(run)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

char process_state(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  size_t after_name = line.rfind(')');
  return after_name == std::string::npos || after_name + 2 >= line.size() ? '?' : line[after_name + 2];
}

size_t count(std::string_view text, std::string_view part) {
  size_t found = 0;
  for (size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) ++found;
  return found;
}

const char terms_choice[] = "<2> no, end";

}  // namespace

TEST(TerminalPty, RawWhileWaitingExtendedKeysIgnoredTwoEndsAndRestores) {
  WorkFolder folder;
  PtyRun run;
  start_in_pty(run, folder.path);
  ASSERT_TRUE(output_shows(run, terms_choice)) << run.out;
  EXPECT_TRUE(raw(run));
  // Sequences holding the digits 1 and 2 are single keys, not those digits.
  type(run,
       "\x1b[A\x1b[1;2A\x1b[12~\x1b[21;2~\x1b"
       "1");
  read_available(run, 300);
  type(run, "2");
  EXPECT_EQ(exit_status(run), 0);
  EXPECT_EQ(count(run.out, "<1> yes, continue"), 1u) << run.out;
  EXPECT_EQ(run.out.find("<2> end"), std::string::npos) << run.out;
  EXPECT_TRUE(cooked(run));
}

TEST(TerminalPty, CtrlCEndsTheProgramAndRestoresTheTerminal) {
  WorkFolder folder;
  PtyRun run;
  start_in_pty(run, folder.path);
  ASSERT_TRUE(output_shows(run, terms_choice)) << run.out;
  ASSERT_TRUE(raw(run));
  type(run, "\x03");
  EXPECT_EQ(exit_status(run), 100 + SIGINT);
  EXPECT_TRUE(cooked(run));
}

TEST(TerminalPty, CtrlZRestoresWhileStoppedAndContinueReturnsToRaw) {
  WorkFolder folder;
  PtyRun run;
  start_in_pty(run, folder.path);
  ASSERT_TRUE(output_shows(run, terms_choice)) << run.out;
  pid_t program = tcgetpgrp(run.master);
  ASSERT_GT(program, 0);
  type(run, "\x1a");
  EXPECT_TRUE(settles(run, cooked));
  for (int tries = 0; tries < 100 && process_state(program) != 'T'; ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(process_state(program), 'T');
  kill(program, SIGCONT);
  EXPECT_TRUE(settles(run, raw));
  type(run, "1");
  EXPECT_TRUE(output_shows(run, "<2> end")) << run.out;
  type(run, "2");
  EXPECT_EQ(exit_status(run), 0);
  EXPECT_TRUE(cooked(run));
}

TEST(PipedKeys, TwoEndsAtTheFirstMenu) {
  WorkFolder folder;
  RunResult result = run_korvel(folder.path, "2");
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(count(result.out, "<1> yes, continue\r\n<2> no, end\r\n"), 1u) << result.out;
  EXPECT_TRUE(result.out.ends_with("<2> no, end\r\n")) << result.out;
}

TEST(PipedKeys, InputThatEndsWhileAPromptWaitsEndsTheRun) {
  WorkFolder folder;
  RunResult nothing = run_korvel(folder.path, "");
  EXPECT_EQ(nothing.exit_status, 0);
  EXPECT_TRUE(nothing.out.ends_with("<2> no, end\r\n")) << nothing.out;
  // Each byte is one key: ESC [ A is three ignored keys, then "1" accepts.
  RunResult one = run_korvel(folder.path, "\x1b[A1x");
  EXPECT_EQ(one.exit_status, 0);
  EXPECT_TRUE(one.out.ends_with("<1> continue\r\n<2> end\r\n")) << one.out;
}

}  // namespace korvel
