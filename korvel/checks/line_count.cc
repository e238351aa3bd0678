#include "korvel/checks/line_count.h"

#include <string>

#include "korvel/shell/file_layer.h"

namespace korvel {

bool is_non_blank(std::string_view line) { return line.find_first_not_of(' ') != std::string_view::npos; }

int count_lines(std::string_view path, bool non_blank_only) {
  int count = 0;
  int handle = free_handle();
  open_input(path, handle);
  while (!at_end(handle)) {
    std::string line = read_line(handle);
    if (!non_blank_only || is_non_blank(line)) ++count;
  }
  close_file(handle);
  return count;
}

}  // namespace korvel
