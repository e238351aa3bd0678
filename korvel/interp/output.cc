#include "korvel/interp/output.h"

#include <cerrno>
#include <string>
#include <unistd.h>

namespace korvel {

namespace {
int out_fd = 1;
off_t out_at = -1;  // where the next bytes go with pwrite(); -1: write()
int out_error = 0;
unsigned long long out_bytes = 0;
std::string pending;
std::string* captured = nullptr;

// 0, or the errno of the write that lost the rest of `text`.
int write_all(int fd, std::string_view text, unsigned long long* count = nullptr, off_t* at = nullptr) {
  while (!text.empty()) {
    ssize_t n = at && *at >= 0 ? pwrite(fd, text.data(), text.size(), *at) : write(fd, text.data(), text.size());
    if (n > 0 && at && *at >= 0) *at += n;
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

void out_text(std::string_view text) {
  pending.append(text);
  if (pending.size() >= 64 * 1024) out_flush();
}

void out_flush() {
  if (pending.empty()) return;
  if (captured) {
    captured->append(pending);
    pending.clear();
    return;
  }
  int error = write_all(out_fd, pending, &out_bytes, &out_at);
  if (error != 0 && out_error == 0) out_error = error;
  pending.clear();
}

int swap_out_fd(int fd, off_t at) {
  out_flush();
  int old = out_fd;
  out_fd = fd;
  out_at = at;
  out_error = 0;
  out_bytes = 0;
  return old;
}

int out_write_error() {
  out_flush();
  return out_error;
}

unsigned long long out_bytes_written() { return out_bytes; }

std::string* capture_out(std::string* into) {
  out_flush();
  std::string* old = captured;
  captured = into;
  return old;
}

}  // namespace korvel
