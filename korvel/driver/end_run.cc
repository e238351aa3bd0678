#include "driver/end_run.h"

#include <cstdlib>

#include "console/terminal.h"
#include "shell/file_layer.h"

void end_run() {
  close_all_files();
  terminal_restore();
  std::exit(0);
}
