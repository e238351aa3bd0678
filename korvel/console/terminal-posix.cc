// Linux and other POSIX systems. On a terminal, keys are read in raw mode
// (no echo, no line buffering, Enter arrives as CR) while the run lasts, and
// escape sequences are decoded into PC key codes. Any other standard input
// (pipe, file) is a script: each byte is one key press.
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "korvel/console/keys.h"
#include "korvel/console/terminal.h"

namespace korvel {

namespace {

// How long after ESC we wait for the rest of a sequence before taking it as
// the Esc key alone.
constexpr long escape_timeout_ms = 50;

bool interactive = false;
bool input_ended = false;
KeyDecoder decoder;
long long last_byte_ms = 0;

termios original_mode;
volatile sig_atomic_t have_original_mode = 0;
volatile sig_atomic_t raw_wanted = 0;  // between terminal_start and terminal_restore
volatile sig_atomic_t raw_on = 0;

// The one place where raw mode is entered and left. Safe in signal handlers.
void set_raw(bool on) {
  if (!have_original_mode || on == static_cast<bool>(raw_on)) return;
  termios mode = original_mode;
  if (on) {
    // ISIG stays: Ctrl+C, Ctrl+\ and Ctrl+Z keep their usual effect.
    mode.c_iflag &= ~(ICRNL | INLCR | IGNCR | ISTRIP | INPCK | IXON);
    mode.c_lflag &= ~(ECHO | ICANON | IEXTEN);
    mode.c_cc[VMIN] = 1;
    mode.c_cc[VTIME] = 0;
  }
  if (tcsetattr(STDIN_FILENO, TCSANOW, &mode) == 0) raw_on = on;
}

// Only in the foreground: a background process that touches the terminal
// settings is stopped again.
void resume_raw() {
  if (raw_wanted && tcgetpgrp(STDIN_FILENO) == getpgrp()) set_raw(true);
}

void on_ending_signal(int signal_number) {
  int saved_errno = errno;
  set_raw(false);
  // The handler was reset on entry, so this ends the process by the same
  // signal as soon as the handler returns.
  raise(signal_number);
  errno = saved_errno;
}

void on_stop_signal(int);

void install(int signal_number, void (*handler)(int), int flags) {
  struct sigaction action = {};
  action.sa_handler = handler;
  action.sa_flags = flags;
  sigemptyset(&action.sa_mask);
  sigaction(signal_number, &action, nullptr);
}

void on_stop_signal(int) {
  int saved_errno = errno;
  set_raw(false);
  install(SIGTSTP, SIG_DFL, 0);
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &stop, nullptr);
  raise(SIGTSTP);  // stopped here until the shell continues us
  install(SIGTSTP, on_stop_signal, SA_RESTART);
  // An orphaned process group is not stopped at all; the input must not be
  // left cooked then either.
  resume_raw();
  errno = saved_errno;
}

void on_continue_signal(int) {
  int saved_errno = errno;
  resume_raw();
  errno = saved_errno;
}

// A write to a closed pipe fails and is ignored like any failed write. A
// handler (not SIG_IGN) so that programs we start still get the default.
void on_broken_pipe(int) {}

long long now_ms() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

void restore_at_exit() { terminal_restore(); }

}  // namespace

void terminal_start() {
  install(SIGPIPE, on_broken_pipe, SA_RESTART);
  interactive = isatty(STDIN_FILENO);
  if (!interactive || tcgetattr(STDIN_FILENO, &original_mode) != 0) return;
  have_original_mode = 1;
  raw_wanted = 1;
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) install(signal_number, on_ending_signal, SA_RESETHAND);
  install(SIGTSTP, on_stop_signal, SA_RESTART);
  install(SIGCONT, on_continue_signal, SA_RESTART);
  atexit(restore_at_exit);
  set_raw(true);
}

void terminal_restore() {
  raw_wanted = 0;
  set_raw(false);
}

int terminal_width() {
  static const bool console = isatty(STDOUT_FILENO);  // what standard output is does not change
  winsize size;
  if (console && ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

namespace {
void write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}
}  // namespace

void terminal_write(std::string_view bytes) { write_all(STDOUT_FILENO, bytes); }

void terminal_write_error(std::string_view bytes) { write_all(STDERR_FILENO, bytes); }

void terminal_take_keys(std::vector<std::string>& keys) {
  if (input_ended) return;
  std::string bytes;
  for (;;) {
    pollfd input = {STDIN_FILENO, POLLIN, 0};
    if (poll(&input, 1, 0) <= 0) break;
    char buffer[512];
    ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count > 0) {
      bytes.append(buffer, static_cast<size_t>(count));
      continue;
    }
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) break;
    input_ended = true;  // end of file, hang-up or no input at all
    break;
  }
  if (!interactive) {
    for (char c : bytes) keys.emplace_back(1, c);
    return;
  }
  bool idle = input_ended || (bytes.empty() && now_ms() - last_byte_ms >= escape_timeout_ms);
  if (!bytes.empty()) last_byte_ms = now_ms();
  decode_keys(decoder, bytes, idle, keys);
}

bool terminal_wait_input() {
  if (input_ended) return false;
  int timeout = -1;
  if (!decoder.pending.empty()) {
    long long left = escape_timeout_ms - (now_ms() - last_byte_ms);
    timeout = left > 0 ? static_cast<int>(left) + 1 : 0;
  }
  pollfd input = {STDIN_FILENO, POLLIN, 0};
  poll(&input, 1, timeout);
  return true;
}

}  // namespace korvel
