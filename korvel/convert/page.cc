#include "korvel/convert/page.h"

#include "korvel/base/text.h"

namespace korvel {

std::string page_name(std::string_view document_name) {
  size_t dot = find_ignore_case(document_name, ".txt");
  if (dot == std::string_view::npos) return {};
  return std::string(document_name.substr(0, dot + 1)) + "htm";
}

std::string_view page_content_line(std::string_view line) {
  size_t end = line.size();
  while (end > 0 && (line[end - 1] == ' ' || line[end - 1] == '\0')) --end;
  return line.substr(0, end);
}

}  // namespace korvel
