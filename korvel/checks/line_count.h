#pragma once
// The tool checks judge a tool by how many lines it wrote.
#include <string_view>

namespace korvel {

// Not empty once its leading blanks are gone; a line of tabs counts.
bool is_non_blank(std::string_view line);

// Lines of the file at `path` (0 when it is missing): only the non-blank ones,
// or every line, empty ones included.
int count_lines(std::string_view path, bool non_blank_only);

}  // namespace korvel
