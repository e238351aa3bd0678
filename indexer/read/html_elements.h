#pragma once
// What an element's name means for the text a reader sees. Names are as the
// HTML parser gives them: lower case.
#include <string_view>

namespace velmor {

// Block elements: a line with text ends where one starts or ends.
bool is_block_element(std::string_view name);

// Elements whose text a reader never sees as page text: script, style,
// <template> content, <noscript> (browsers run scripts), frames' fallbacks.
// <title> is here too: it is the page's name, not its text.
bool is_hidden_element(std::string_view name);

// Elements that keep their blanks and line ends as written (<pre> ...).
bool keeps_layout(std::string_view name);

// Elements whose content is drawn, not HTML: <svg>, <math>. A <title>
// inside one names the drawing, not the page.
bool is_foreign_element(std::string_view name);

}  // namespace velmor
