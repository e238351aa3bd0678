#include "driver/run_sequence.h"

#include "console/terminal.h"
#include "driver/end_run.h"
#include "shell/run_shell.h"

namespace {
std::string invoked_as;
}

const std::string& invocation_path() { return invoked_as; }

void run_sequence(int argc, char** argv) {
  if (argc > 0 && argv[0]) invoked_as = argv[0];
  terminal_start();
  run_shell("chcp");
  end_run();
}
