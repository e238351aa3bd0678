#include "korvel/shell/run_shell.h"

#include "korvel/interp/interp.h"

namespace korvel {

// There is no cmd.exe here: our own interpreter runs the line in process.
void run_shell(std::string_view command) {
  if (command.empty()) return;
  interp_run(command);
}

}  // namespace korvel
