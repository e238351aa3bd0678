#pragma once
// The names of txt_in that a bare listing cannot carry on a line of its own
// (they hold a line break).
#include <string>
#include <vector>

namespace korvel {

std::vector<std::string> names_with_line_breaks();

}  // namespace korvel
