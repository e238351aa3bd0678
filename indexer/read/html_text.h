#pragma once
// The text of an HTML page as a browser shows it, through libxml2's HTML
// parser, driven as a push parser that builds no tree. This header is the
// only way into libxml2.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

struct HtmlText {
  std::string title;                      // the <title>, blanks collapsed; "" when none
  std::vector<std::string> lines;         // the body's text, line by line
  std::vector<uint32_t> continued_lines;  // as in Document
};

// Deeper than this a page is refused: every end tag the parser cannot match
// costs it a look at each open element, and a browser stops nesting well
// before it.
constexpr size_t kMaxHtmlDepth = 1000;

// `html` must be valid UTF-8. Script, style and comments are skipped,
// entities decoded, blanks collapsed outside <pre>, whose lines are kept;
// block elements and <br> end lines. False, with no text, for a page that
// nests its elements deeper than kMaxHtmlDepth or would cost the parser
// more than a few times its size in work (see html_cost.h).
bool html_text(std::string_view html, HtmlText& text);

}  // namespace velmor
