#include "interp/output.h"

#include <cerrno>
#include <string>
#include <unistd.h>

namespace {
int out_fd = 1;
int out_error = 0;
unsigned long long out_bytes = 0;
std::string pending;

// 0, or the errno of the write that lost the rest of `text`.
int write_all(int fd, std::string_view text, unsigned long long* count = nullptr) {
  while (!text.empty()) {
    ssize_t n = write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    text.remove_prefix(static_cast<size_t>(n));
    if (count) *count += static_cast<unsigned long long>(n);
  }
  return 0;
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
  if (pending.empty()) return;
  int error = write_all(out_fd, pending, &out_bytes);
  if (error != 0 && out_error == 0) out_error = error;
  pending.clear();
}

int swap_out_fd(int fd) {
  out_flush();
  int old = out_fd;
  out_fd = fd;
  out_error = 0;
  out_bytes = 0;
  return old;
}

int out_write_error() {
  out_flush();
  return out_error;
}

unsigned long long out_bytes_written() { return out_bytes; }
