#pragma once
// A document's lines on their way into its page, each without its trailing
// blanks and zero bytes, in memory bounded whatever a line's length: a line
// arrives in parts, and only a run of blanks and zeros that nothing else has
// followed yet is held back. A run longer than the writer holds is only
// counted; should the line go on after it, its bytes are read again from the
// document.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace korvel {

class TrimmedLines {
 public:
  using Out = std::function<void(std::string_view)>;
  // Gives `out` the `length` bytes of the document's text that begin
  // `offset` bytes into it, line ends not counted; false when the document
  // no longer holds a run of blanks and zeros there.
  using Reread = std::function<bool(std::uint64_t offset, std::uint64_t length, const Out& out)>;
  static constexpr size_t kHeldMost = 64 * 1024;

  TrimmedLines(Out out, Reread reread, size_t held_most = kHeldMost);
  // A line that came whole, in one part, as most do: what of it stands in
  // the page, for the caller to write; nothing is held.
  std::string_view whole_line(std::string_view line);
  // The next bytes of the current line; false when a run could not be read
  // again, and the page would miss it.
  bool add(std::string_view part);
  // The line ends: what is held is trailing, and goes.
  void end_line();

 private:
  Out out_;
  Reread reread_;
  size_t held_most_;
  std::uint64_t offset_ = 0;       // text bytes added so far
  std::uint64_t held_from_ = 0;    // where the held run begins
  std::uint64_t held_length_ = 0;  // its length, whether held or only counted
  std::string held_;               // its bytes, while it is short enough
};

// Whether `bytes` are all blanks and zero bytes, what a page line loses at
// its end.
bool is_trailing_fill(std::string_view bytes);

}  // namespace korvel
