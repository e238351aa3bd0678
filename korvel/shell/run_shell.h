#pragma once
#include <string_view>

namespace korvel {

// Hands one command line to the command interpreter and waits for it. The
// outcome is never reported: callers learn it from the files it wrote.
void run_shell(std::string_view command);

}  // namespace korvel
