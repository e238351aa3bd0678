// Test-only findstr.exe for runs under Wine, whose own findstr prints
// nothing: findstr [/i] [/l] [/r] [/v] [/c:text] texts file..., with
// Windows' defaults: each blank-separated text is a regular expression, and
// only the matching lines are written (prefixed with the file name when
// several files are searched).
#include <algorithm>
#include <string>
#include <vector>

#include "korvel/base/text.h"
#include "korvel/interp/findstr_regex.h"
#include "korvel/testing/win/tool_lines.h"

using namespace korvel;

int main(int argc, char** argv) {
  bool ignore_case = false, literal = false, invert = false, have_texts = false;
  std::vector<std::string> texts, files;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::string lower = to_lower_ascii(arg);
    if (!arg.empty() && arg[0] == '/') {
      if (lower == "/i") ignore_case = true;
      else if (lower == "/l") literal = true;
      else if (lower == "/r") literal = false;
      else if (lower == "/v") invert = true;
      else if (lower.starts_with("/c:")) texts.push_back(arg.substr(3)), have_texts = true;
      else complain("FINDSTR: " + arg + " ignored");
    } else if (!have_texts) {
      for (size_t start = 0; start < arg.size();) {
        size_t end = std::min(arg.find(' ', start), arg.size());
        if (end > start) texts.push_back(arg.substr(start, end - start));
        start = end + 1;
      }
      have_texts = true;
    } else {
      files.push_back(arg);
    }
  }
  if (texts.empty() || files.empty()) return complain("FINDSTR: Bad command line"), 2;
  int status = 1;
  for (const std::string& file : files) {
    std::vector<std::string> lines;
    if (!read_lines(file, lines)) {
      complain("FINDSTR: Cannot open " + file);
      continue;
    }
    std::string prefix = files.size() > 1 ? file + ":" : "";
    for (const std::string& line : lines) {
      bool hit = std::any_of(texts.begin(), texts.end(), [&](const std::string& text) {
        if (!literal) return findstr_match(text, line, ignore_case);
        return ignore_case ? contains_ignore_case(line, text) : line.find(text) != std::string::npos;
      });
      if (hit == invert) continue;
      write_line(prefix + line);
      status = 0;
    }
  }
  return status;
}
