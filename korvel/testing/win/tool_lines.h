#pragma once
// Line input and output shared by the stand-in find, findstr and sort.
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The lines of a file, each without LF or CR LF; false when it cannot be read.
bool read_lines(const std::string& path, std::vector<std::string>& lines);
// Writes the bytes and CR LF to standard output, untranslated.
void write_line(std::string_view line);
// Writes one line to standard error.
void complain(std::string_view line);

}  // namespace korvel
