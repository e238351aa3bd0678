#pragma once
// One line on the standard error stream, CR LF ended and written at once, so
// it lands between the console lines as the interpreter's complaints do. One
// implementation per platform: error_line-posix.cc and error_line-win32.cc.
#include <string_view>

void print_error_line(std::string_view text);
