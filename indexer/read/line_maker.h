#pragma once
// Text as a browser lays it out, into lines: runs of blanks are one space
// and blanks at a line's ends go, except in text kept as written (<pre>),
// whose line ends end lines.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

class LineMaker {
 public:
  // `continued`, when given, gets the number of each line that goes on
  // from the one before in the same block: after a <br> or a line end kept
  // as written. Clusters run on across those, never across a block's end.
  explicit LineMaker(std::vector<std::string>& lines, std::vector<uint32_t>* continued = nullptr)
      : lines_(lines), continued_(continued) {}

  void text(std::string_view s, bool as_written);
  // Where a block starts or ends: a line with text in it ends there.
  void block();
  // <br> and a line end inside <pre>: the line ends even when empty.
  void end_line();

 private:
  void finish_line(bool in_block);

  std::vector<std::string>& lines_;
  std::vector<uint32_t>* continued_;
  std::string line_;
  bool blank_ = false;
  bool in_block_ = false;  // the line before ended within its block
  bool cr_ = false;        // the last text kept as written ended in CR: an LF next is its line end
};

}  // namespace velmor
