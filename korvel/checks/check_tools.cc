#include "korvel/checks/check_tools.h"

#include <string>

#include "korvel/base/work_files.h"
#include "korvel/checks/line_count.h"
#include "korvel/console/console.h"
#include "korvel/console/prompts.h"
#include "korvel/console/urls.h"
#include "korvel/shell/file_layer.h"
#include "korvel/shell/run_shell.h"

namespace korvel {

namespace {

constexpr bool kNonBlank = true;
constexpr bool kEveryLine = false;
constexpr std::string_view kPathAdvice = "The system path to the program is most likely to be configured.";

// Whether the check's scratch file can be written at all. When it cannot
// (a working folder or a file that is read-only), no tool could have passed
// its check, and the missing tool would be the wrong cause to name.
bool can_write(std::string_view scratch) {
  int handle = free_handle();
  open_output(scratch, handle);
  bool writable = is_open(handle);
  close_file(handle);
  return writable;
}

[[noreturn]] void tool_missing(std::string_view scratch, std::string_view first, std::string_view second) {
  print_line("---------------------");
  if (can_write(scratch)) {
    print_line(first);
    print_line(second);
  } else {
    print_line("Checking for a writable working folder!");
    print_line("korvel cannot write its file " + std::string(scratch) + " there.");
  }
  one_choice_stop();
}

}  // namespace

// No tool is trusted until it has written what it should: each check makes
// the tool write into a scratch file and counts the lines it left there.
void check_tools() {
  print_line("----------------------------");
  print_line("Checking the accessibility of some urgently needed programs:");
  print_line("cmd.exe, find.exe, findstr.exe, sort.exe, wget.exe, convertcp.exe");
  print_empty_line();

  print_line("cmd");
  run_shell("cmd /c dir *. > check_01.txt");
  if (count_lines(kCheck01, kNonBlank) < 1) tool_missing(kCheck01, "Checking for cmd.exe!", kPathAdvice);

  // find writes a heading line, so a single line means nothing was found.
  print_empty_line();
  print_line("find");
  run_shell("dir > out_null.txt");
  run_shell("cmd /c for %i in (check_*.txt) do del /q %i >> out_null.txt");
  run_shell("cmd /c dir > check_01.txt");
  run_shell("cmd /c find /i \".exe\" check_01.txt >  check_02.txt");
  if (count_lines(kCheck02, kNonBlank) < 2) tool_missing(kCheck02, "Checking for find.exe!", kPathAdvice);

  print_empty_line();
  print_line("findstr");
  run_shell("dir > out_null.txt");
  run_shell("cmd /c for %i in (check_*.txt) do del /q %i >> out_null.txt");
  run_shell("cmd /c dir > check_01.txt");
  run_shell("cmd /c findstr /i \".exe\" check_01.txt >  check_02.txt");
  if (count_lines(kCheck02, kNonBlank) < 2) tool_missing(kCheck02, "Checking for findstr.exe!", kPathAdvice);

  // The check files go first, so a check_02.txt left by findstr cannot pass
  // for the output of sort.
  print_empty_line();
  print_line("sort");
  run_shell("dir > check_01.txt");
  run_shell("del /q check_*.txt");
  run_shell("dir *. > check_01.txt");
  run_shell("sort check_01.txt /o check_02.txt");
  if (count_lines(kCheck02, kNonBlank) < 2)
    tool_missing(kCheck02, "Checking for sort.exe", "It is probably necessary to set the system path to the program.");

  print_empty_line();
  print_line("convertcp");
  print_line(std::string("info: ") + kConvertcpUrl);
  run_shell("dir > out_null.txt");
  run_shell("cmd /c for %i in (check_*.txt) do del /q %i >> out_null.txt");
  run_shell("cmd /c dir *.exe > check_01.txt");
  run_shell("cmd /c find /i \"convertcp.exe\" check_01.txt >  check_02.txt");
  if (count_lines(kCheck02, kNonBlank) < 2)
    tool_missing(kCheck02, "Checking for convertcp.exe!", "Check the contents of the korvel.7z file.");

  print_empty_line();
  print_line("velmor_*.exe");
  run_shell("dir /b /o  velmor_*.exe > exe_files.txt");
  if (count_lines(kExeFiles, kEveryLine) < 1)
    tool_missing(kExeFiles, "Checking for velmor*.exe", "Check the contents of the velmor.7z file.");
}

}  // namespace korvel
