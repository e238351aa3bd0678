#pragma once
// Text as a browser lays it out, into lines: runs of blanks are one space
// and blanks at a line's ends go, except in text kept as written (<pre>),
// whose line ends end lines.
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

class LineMaker {
 public:
  explicit LineMaker(std::vector<std::string>& lines) : lines_(lines) {}

  void text(std::string_view s, bool as_written);
  // Where a block starts or ends: a line with text in it ends there.
  void block();
  // <br> and a line end inside <pre>: the line ends even when empty.
  void end_line();

 private:
  std::vector<std::string>& lines_;
  std::string line_;
  bool blank_ = false;
  bool cr_ = false;  // the last text kept as written ended in CR: an LF next is its line end
};

}  // namespace velmor
