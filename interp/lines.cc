#include "interp/lines.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "interp/path.h"
#include "shell/text.h"

bool read_lines(const std::string& native, std::vector<std::string>& lines) {
  bool not_regular = false;
  int fd = open_regular_file(native, not_regular);
  if (fd < 0) return false;
  std::string data;
  char buffer[64 * 1024];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    data.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  lines.clear();
  split_lines(data, lines);
  return true;
}
