// Test-only sort.exe for runs under Wine, which has none: sort [/r] file
// [/o output], comparing lines without regard to letter case as Windows'
// sort does; without /o the lines go to standard output.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "korvel/base/text.h"
#include "korvel/testing/win/tool_lines.h"

using namespace korvel;

int main(int argc, char** argv) {
  std::string input, output;
  bool reverse = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::string lower = to_lower_ascii(arg);
    if (arg.empty() || arg[0] != '/') input = arg;
    else if (lower == "/r") reverse = true;
    else if (lower == "/o" && i + 1 < argc) output = argv[++i];
    else return complain("Invalid switch."), 2;
  }
  // korvel always names the file; standard input is never sorted.
  if (input.empty()) return complain("The syntax of the command is incorrect."), 2;
  std::vector<std::string> lines;
  if (!read_lines(input, lines)) return complain("The system cannot find the file specified."), 2;
  std::stable_sort(lines.begin(), lines.end(), [&](const std::string& a, const std::string& b) {
    std::string x = to_upper_ascii(a), y = to_upper_ascii(b);
    return reverse ? y < x : x < y;
  });
  if (!output.empty() && !std::freopen(output.c_str(), "wb", stdout))
    return complain("The system cannot find the path specified."), 2;
  for (const std::string& line : lines) write_line(line);
  return 0;
}
