#pragma once
// Starting a program detached from korvel, as "start /D folder program" does.
#include <string>
#include <vector>

namespace korvel {

// The first terminal emulator on PATH, or "" without a graphical session.
std::string find_terminal();
// The command line that opens `program` in a window of `terminal`.
std::vector<std::string> terminal_argv(const std::string& terminal, const std::string& program);
// cmd's complaint when `program` cannot be started for the errno value
// `error`; "" for 0.
std::string start_failure(int error, const std::string& program);

}  // namespace korvel
