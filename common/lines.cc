#include "common/lines.h"

namespace common {

void split_lines(std::string_view text, std::vector<std::string>& lines, LoneCr lone_cr) {
  const char* ends = lone_cr == LoneCr::kEndsLine ? "\r\n" : "\n";
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = text.find_first_of(ends, begin);
    if (end == std::string_view::npos) end = text.size();
    size_t next = end + 1;
    if (end < text.size() && text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
    // Only an LF found: a CR just before it belongs to the line end.
    size_t stop = lone_cr == LoneCr::kInLine && end > begin && text[end - 1] == '\r' ? end - 1 : end;
    lines.emplace_back(text.substr(begin, stop - begin));
    begin = next;
  }
}

}  // namespace common
