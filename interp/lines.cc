#include "interp/lines.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "interp/path.h"

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
  size_t begin = 0;
  while (begin < data.size()) {
    size_t end = data.find('\n', begin);
    if (end == std::string::npos) end = data.size();
    size_t stop = end > begin && data[end - 1] == '\r' ? end - 1 : end;
    lines.push_back(data.substr(begin, stop - begin));
    begin = end + 1;
  }
  return true;
}
