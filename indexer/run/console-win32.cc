#include "indexer/run/console.h"

#include <io.h>
#include <stdio.h>
#include <windows.h>
#include <shellapi.h>

namespace velmor {

static std::string to_utf8(const wchar_t* text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

// argv comes in the system's code page, which cannot hold every name: the
// wide command line can.
std::vector<std::string> program_arguments(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; wide && i < count; ++i) args.push_back(to_utf8(wide[i]));
  if (wide) LocalFree(wide);
  return args;
}

bool prepare_console() {
  if (!_isatty(_fileno(stdout))) return false;
  // Our lines are UTF-8 whatever the window's code page was (852, 1251, ...).
  SetConsoleOutputCP(CP_UTF8);
  // The progress line rewrites itself with "\r" and an erase-line escape,
  // which a console before Windows 10 would print: there it is a plain line.
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  return GetConsoleMode(out, &mode) && SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

bool input_is_terminal() { return _isatty(_fileno(stdin)); }

}  // namespace velmor
