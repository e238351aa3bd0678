#include "korvel/console/end_run.h"

#include <cstdlib>

#include "korvel/console/terminal.h"
#include "korvel/shell/file_layer.h"

namespace korvel {

void end_run() {
  close_all_files();
  terminal_restore();
  std::exit(0);
}

}  // namespace korvel
