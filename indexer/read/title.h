#pragma once
// The name a document is listed under. An HTML page goes by its title; a
// text page that korvel framed goes by the name korvel gave it, unless that
// name lost its letters on the way (korvel writes "_" for each character a
// page name cannot hold, so "Письмо.txt" arrives as "______.htm"): then by
// its first line that holds a letter or digit, as a reader would name it.
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

// "notes.htm" stays; "______.htm" with first line "  Дорогой друг,  "
// becomes "Дорогой друг,"; a line longer than kTitleCodePoints is cut
// there with "…".
std::string text_page_title(std::string_view name, const std::vector<std::string>& lines);

constexpr size_t kTitleCodePoints = 80;

}  // namespace velmor
