#pragma once
// Console lines the end-to-end tests expect, shared so that each literal is
// written out once.
#include <string>
#include <vector>

namespace korvel {

std::vector<std::string> joined(std::vector<std::string> lines, const std::vector<std::string>& more);
// The lines after the first that equals `line`; none when it never came.
std::vector<std::string> lines_after(const std::vector<std::string>& lines, const std::string& line);

// "chcp", the banner and the terms of use up to their choice lines.
std::vector<std::string> banner_and_terms(const std::string& invoked_as);
// Each notice from the empty line that follows the previous menu to its
// own choice lines.
std::vector<std::string> font_notice();
std::vector<std::string> installation_notice();
// The tool checks from their heading to the last check's name, all passing.
std::vector<std::string> tool_checks_passing();

}  // namespace korvel
