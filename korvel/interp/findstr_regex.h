#pragma once
// findstr's small regular expressions: . * ^ $ \x [class] [^class].
#include <string_view>

namespace korvel {

bool findstr_match(std::string_view regex, std::string_view line, bool ignore_case);

}  // namespace korvel
