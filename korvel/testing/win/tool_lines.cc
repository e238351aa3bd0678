#include "korvel/testing/win/tool_lines.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/lines.h"

namespace korvel {

namespace {
// Binary, so the CR LF written here is not turned into CR CR LF.
const bool binary_output = [] {
  _setmode(_fileno(stdout), _O_BINARY);
  return true;
}();
}  // namespace

bool read_lines(const std::string& path, std::vector<std::string>& lines) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream whole;
  whole << in.rdbuf();
  common::split_lines(whole.str(), lines);
  return true;
}

void write_line(std::string_view line) {
  (void)binary_output;
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fwrite("\r\n", 1, 2, stdout);
}

void complain(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fwrite("\r\n", 1, 2, stderr);
}

}  // namespace korvel
