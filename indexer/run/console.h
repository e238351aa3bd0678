#pragma once
// The window the indexer talks to: korvel's `start` gives it one of its own.
#include <string>
#include <vector>

namespace velmor {

// The program's arguments, as UTF-8 on every platform.
std::vector<std::string> program_arguments(int argc, char** argv);
// Readies the window for UTF-8 text and the progress line's escapes; true
// when standard output is such a window (not a file or a pipe).
bool prepare_console();
bool input_is_terminal();

}  // namespace velmor
