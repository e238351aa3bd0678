#pragma once
// Reading and writing whole text files for find, findstr and sort.
#include <string>
#include <vector>

// The lines of a file, each without LF or CR LF; false when it cannot be read.
bool read_lines(const std::string& native, std::vector<std::string>& lines);
