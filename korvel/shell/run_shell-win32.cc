#include "korvel/shell/run_shell.h"

#include <stdlib.h>

#include <cstdlib>
#include <string>

namespace korvel {

namespace {
// cmd.exe takes defaults for two of our commands from the environment, and
// with the wrong ones a command waits for an answer nobody can see, since its
// question goes into a discard file with the rest of its output:
// - copy without /y asks "Overwrite ...? (Yes/No/All):" when the target
//   exists (the renaming copies, "copy compare_04.txt compare_02.txt"),
//   unless it runs from a batch file or COPYCMD says /Y; a user's
//   COPYCMD=/-Y would make it ask even in a batch file. Every copy of ours
//   is meant to replace its target.
// - DIRCMD holds the user's default dir switches: /P pauses after each
//   screenful, and /S, /W, /A or /O change the listings we read back.
// The rest never ask: del always has /q, rd has no /s, md, for, start and
// chcp have nothing to ask, and find, findstr and sort are always given a
// file, so they never read the keyboard. The children inherit our
// environment, nested "cmd /c" included, so setting it once is enough.
bool prepare_environment() {
  _putenv("COPYCMD=/Y");
  _putenv("DIRCMD=");  // removes it
  return true;
}
}  // namespace

void run_shell(std::string_view command) {
  static const bool prepared = prepare_environment();
  (void)prepared;
  if (command.empty()) return;
  std::string line(command);
  (void)std::system(line.c_str());
}

}  // namespace korvel
