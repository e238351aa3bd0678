#pragma once
// Console lines the end-to-end tests expect. The text is the program's own
// output, kept byte for byte (CR LF line ends) in korvel/testing/golden/*.txt,
// so that a test never compares the program with a second copy of its code.
// The golden files hold @INVOKED_AS@, @KORVEL_CONVERTCP_URL@ and
// @KORVEL_MAKER_URL@ where a build or a run puts its own text.
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

std::vector<std::string> joined(std::vector<std::string> lines, const std::vector<std::string>& more);
// The lines after the first that equals `line`; none when it never came.
std::vector<std::string> lines_after(const std::vector<std::string>& lines, const std::string& line);

// golden/<name>.txt as the program writes it, placeholders filled in, with
// `invoked_as` as the name korvel was started under; "" when it cannot be read.
std::string golden_text(std::string_view name, const std::string& invoked_as = "korvel");

// "chcp", the banner and the terms of use up to their choice lines.
std::vector<std::string> banner_and_terms(const std::string& invoked_as);
// Each notice from the empty line that follows the previous menu to its
// own choice lines.
std::vector<std::string> font_notice();
std::vector<std::string> installation_notice();
// The tool checks from their heading to the last check's name, all passing.
std::vector<std::string> tool_checks_passing();

}  // namespace korvel
