#pragma once
// How the program was started: set once by the entry, before any stage runs,
// and read by the stages that need it (the banner shows it, the file-name
// rules keep the program's own file where it is). Kept here, below the
// stages, so that they never reach back into the run that calls them.
#include <string>
#include <string_view>

namespace korvel {

void set_invocation_path(std::string_view first_word);
// The first word of the command line, as received; "" when there was none.
const std::string& invocation_path();

}  // namespace korvel
