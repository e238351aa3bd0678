#pragma once
// How deep a page's elements will nest once parsed, found by a quick scan
// of its tags before the HTML5 parser sees it. The parser spends time in
// proportion to the nesting for many tags and frees its tree recursively,
// so a page nested thousands deep would take minutes or overflow the stack.
//
// The scan follows the parser where nesting grows: an end tag closes the
// nearest open element of its name, but not across a block such as <div>
// when it is an inline one like </b>; formatting elements it closes on the
// way stay counted, since the parser opens them again; elements whose end
// tag may be left out (<p>, <li>, <td> ...) and void ones (<br>) are not
// counted; "/>" closes an element only inside <svg> or <math>.
// "<p>a<p>b<br><div><b>c</b></div>" nests 2 deep by this count (div, b).
#include <cstddef>
#include <string_view>

namespace velmor {

// The deepest nesting of `html`, counting stopped once past `limit`.
size_t html_depth(std::string_view html, size_t limit);

}  // namespace velmor
