#pragma once
// libxml2's HTML parser reads HTML as it was in 1999. Where its reading of a
// page loses text a browser shows, the page's bytes are changed on their
// way into the parser, piece by piece:
// - "</html" and "</body" become "</_html" and "</_body", end tags of
//   nothing: the parser stops at the end of <html> and drops what follows
//   (groff's pages put their text there), browsers go on;
// - "</br" becomes "<br", a line break, as browsers take it;
// - the named character references HTML5 added ("&bullet;") become their
//   characters; "&AMP;" and "&LT;" become "&amp;" and "&lt;" for the parser;
// - zero bytes go: the parser stops at the first, browsers skip them.
#include <string>
#include <string_view>

namespace velmor {

class HtmlPrefilter {
 public:
  // Appends to `out` what `piece`, the page's next bytes, becomes. A tag or
  // reference cut by the piece's end is held back for the next piece, or
  // given as it is when `last`.
  void feed(std::string_view piece, bool last, std::string& out);

 private:
  std::string held_;
};

}  // namespace velmor
