#include "convert/error_line.h"

#include <windows.h>

#include <string>

// Straight to the handle: the C runtime's text mode would turn the LF of our
// CR LF into a second CR LF.
void print_error_line(std::string_view text) {
  std::string line(text);
  line += "\r\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()),
            &written, nullptr);
}
