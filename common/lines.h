#pragma once
// Splitting text into lines, for every program here that reads lines whole.
#include <string>
#include <string_view>
#include <vector>

namespace common {

// What a CR that no LF follows is: part of the line (as cmd.exe's tools
// read a text) or a line end of its own (as an old Mac text has them).
enum class LoneCr { kInLine, kEndsLine };

// Appends the lines of `text` to `lines`, each without its end: LF and CR LF
// end a line, a lone CR as `lone_cr` says. A line end at the very end adds
// no empty line.
void split_lines(std::string_view text, std::vector<std::string>& lines, LoneCr lone_cr = LoneCr::kInLine);

}  // namespace common
