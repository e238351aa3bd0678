#include "indexer/read/line_maker.h"

#include <utility>

namespace velmor {

static bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

void LineMaker::text(std::string_view s, bool as_written) {
  if (as_written) {
    // The parser hands text over in pieces: a CRLF may be cut between two.
    for (char c : s) {
      const bool lf_of_crlf = c == '\n' && cr_;
      cr_ = c == '\r';
      if (lf_of_crlf) continue;
      if (c == '\r' || c == '\n') end_line();
      else line_ += c;
    }
    blank_ = false;
    return;
  }
  cr_ = false;
  for (char c : s) {
    if (is_blank(c)) {
      blank_ = true;
    } else {
      if (blank_ && !line_.empty()) line_ += ' ';
      blank_ = false;
      line_ += c;
    }
  }
}

void LineMaker::block() {
  if (!line_.empty()) finish_line(false);
  in_block_ = false;
  blank_ = false;
  cr_ = false;
}

void LineMaker::end_line() { finish_line(true); }

void LineMaker::finish_line(bool in_block) {
  if (continued_ && in_block_) continued_->push_back(static_cast<uint32_t>(lines_.size()));
  lines_.push_back(std::move(line_));
  line_.clear();
  blank_ = false;
  in_block_ = in_block;
}

}  // namespace velmor
