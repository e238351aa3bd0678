#include "interp/output.h"

#include <cerrno>
#include <string>
#include <unistd.h>

namespace {
int out_fd = 1;
std::string pending;

void write_all(int fd, std::string_view text) {
  while (!text.empty()) {
    ssize_t n = write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a full disk or a closed pipe loses the rest, as with cmd
    text.remove_prefix(static_cast<size_t>(n));
  }
}
}  // namespace

void out_line(std::string_view text) {
  pending.append(text);
  pending.append("\r\n");
  if (pending.size() >= 64 * 1024) out_flush();
}

void err_line(std::string_view text) {
  out_flush();
  std::string line(text);
  line.append("\r\n");
  write_all(2, line);
}

void out_flush() {
  write_all(out_fd, pending);
  pending.clear();
}

int swap_out_fd(int fd) {
  out_flush();
  int old = out_fd;
  out_fd = fd;
  return old;
}
