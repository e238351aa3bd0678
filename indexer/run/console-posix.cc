#include "indexer/run/console.h"

#include <unistd.h>

namespace velmor {

std::vector<std::string> program_arguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

bool prepare_console() { return isatty(STDOUT_FILENO); }

bool input_is_terminal() { return isatty(STDIN_FILENO); }

}  // namespace velmor
