// Test-only find.exe for runs under Wine, whose own find refuses every
// switch: find [/i] [/v] text file..., with Windows' output for each file,
// an empty line, "---------- " and the name in capitals, then the lines that
// hold the text.
#include <string>
#include <vector>

#include "korvel/base/text.h"
#include "korvel/testing/win/tool_lines.h"

using namespace korvel;

int main(int argc, char** argv) {
  bool ignore_case = false, invert = false;
  std::vector<std::string> operands;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::string lower = to_lower_ascii(arg);
    if (arg.empty() || arg[0] != '/') operands.push_back(arg);
    else if (lower == "/i") ignore_case = true;
    else if (lower == "/v") invert = true;
    else return complain("FIND: Invalid switch"), 2;
  }
  // korvel always names the file; standard input is never searched.
  if (operands.size() < 2) return complain("FIND: Parameter format not correct"), 2;
  const std::string& text = operands[0];
  int status = 1;
  for (size_t f = 1; f < operands.size(); ++f) {
    std::vector<std::string> lines;
    if (!read_lines(operands[f], lines)) {
      complain("File not found - " + to_upper_ascii(operands[f]));
      status = 2;
      continue;
    }
    write_line("");
    write_line("---------- " + to_upper_ascii(operands[f]));
    for (const std::string& line : lines) {
      bool holds = ignore_case ? contains_ignore_case(line, text) : line.find(text) != std::string::npos;
      if (holds == invert) continue;
      write_line(line);
      if (status == 1) status = 0;
    }
  }
  return status;
}
