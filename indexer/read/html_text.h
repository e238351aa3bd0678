#pragma once
// The text of an HTML page as a browser shows it, through the HTML5 parser
// (gumbo). This header is the only way into gumbo.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

struct HtmlText {
  std::string title;               // the <title>, blanks collapsed; "" when none
  std::vector<std::string> lines;  // the body's text, line by line
};

// Deeper than this a page is refused: the parser's time grows with the
// nesting, and a browser stops nesting well before it.
constexpr size_t kMaxHtmlDepth = 1000;

// `html` must be valid UTF-8. Script, style and comments are skipped,
// entities decoded, blanks collapsed outside <pre>, whose lines are kept;
// block elements and <br> end lines. False, with no text, for a page that
// nests its elements deeper than kMaxHtmlDepth or makes the parser copy its
// formatting elements over and over (see html_depth.h).
bool html_text(std::string_view html, HtmlText& text);

}  // namespace velmor
