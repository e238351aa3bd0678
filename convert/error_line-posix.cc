#include "convert/error_line.h"

#include <unistd.h>

#include <cerrno>
#include <string>

void print_error_line(std::string_view text) {
  std::string line(text);
  line += "\r\n";
  size_t done = 0;
  while (done < line.size()) {
    ssize_t n = write(2, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a lost error line is not worth stopping the run for
    done += static_cast<size_t>(n);
  }
}
