#include "korvel/driver/run_sequence.h"

#include "korvel/checks/check_tools.h"
#include "korvel/console/console.h"
#include "korvel/console/invocation.h"
#include "korvel/console/prompts.h"
#include "korvel/console/terminal.h"
#include "korvel/convert/convert_documents.h"
#include "korvel/driver/run_lock.h"
#include "korvel/driver/startup_screens.h"
#include "korvel/handoff/indexer_identity.h"
#include "korvel/handoff/launch_indexer.h"
#include "korvel/prepare/check_input_folders.h"
#include "korvel/prepare/check_work_folders_and_names.h"
#include "korvel/prepare/finish_renames.h"
#include "korvel/prepare/normalise_file_names.h"
#include "korvel/shell/run_shell.h"

namespace korvel {

namespace {
// Before any file is touched; declining the terms of use writes nothing, so
// the lock comes after them.
void lock_working_folder() {
  if (take_run_lock()) return;
  print_line("----------------------------");
  print_line("Another run of korvel is working in this folder.");
  print_empty_line();
  one_choice_stop();
}
}  // namespace

void run_sequence(int argc, char** argv) {
  if (argc > 0 && argv[0]) set_invocation_path(argv[0]);
  terminal_start();
  run_shell("chcp");
  show_startup_screens();
  lock_working_folder();
  // Before the tool checks, whose deletes of check_*.txt could reach a
  // document that a killed run left in the working folder only.
  finish_unfinished_renames();
  check_tools();
  remember_indexers();
  check_input_folders();
  normalise_file_names();
  check_work_folders_and_names();
  convert_documents();
  launch_indexer();
}

}  // namespace korvel
