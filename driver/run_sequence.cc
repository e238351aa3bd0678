#include "driver/run_sequence.h"

#include "checks/check_tools.h"
#include "console/terminal.h"
#include "convert/convert_documents.h"
#include "driver/end_run.h"
#include "driver/startup_screens.h"
#include "handoff/launch_indexer.h"
#include "prepare/check_input_folders.h"
#include "prepare/check_work_folders_and_names.h"
#include "prepare/normalise_file_names.h"
#include "shell/run_shell.h"

namespace {
std::string invoked_as;
}

const std::string& invocation_path() { return invoked_as; }

void run_sequence(int argc, char** argv) {
  if (argc > 0 && argv[0]) invoked_as = argv[0];
  terminal_start();
  run_shell("chcp");
  show_startup_screens();
  check_tools();
  check_input_folders();
  normalise_file_names();
  check_work_folders_and_names();
  convert_documents();
  launch_indexer();
}
