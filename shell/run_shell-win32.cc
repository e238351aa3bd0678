#include "shell/run_shell.h"

#include <cstdlib>
#include <string>

void run_shell(std::string_view command) {
  if (command.empty()) return;
  std::string line(command);
  (void)std::system(line.c_str());
}
