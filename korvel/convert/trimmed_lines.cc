#include "korvel/convert/trimmed_lines.h"

#include <utility>

#include "korvel/convert/page.h"

namespace korvel {

TrimmedLines::TrimmedLines(Out out, Reread reread, size_t held_most)
    : out_(std::move(out)), reread_(std::move(reread)), held_most_(held_most) {}

std::string_view TrimmedLines::whole_line(std::string_view line) {
  offset_ += line.size();
  return page_content_line(line);
}

bool TrimmedLines::add(std::string_view part) {
  std::uint64_t part_offset = offset_;
  offset_ += part.size();
  size_t kept = page_content_line(part).size();
  if (kept > 0) {
    // Something follows the held run: it was no trailing run after all.
    if (held_length_ > held_.size()) {
      if (!reread_(held_from_, held_length_, out_)) return false;
    } else if (!held_.empty()) {
      out_(held_);
    }
    held_.clear();
    held_length_ = 0;
    out_(part.substr(0, kept));
  }
  std::string_view fill = part.substr(kept);
  if (fill.empty()) return true;
  if (held_length_ == 0) held_from_ = part_offset + kept;
  held_length_ += fill.size();
  if (held_length_ <= held_most_) {
    held_.append(fill);
  } else {
    held_.clear();
    held_.shrink_to_fit();
  }
  return true;
}

void TrimmedLines::end_line() {
  held_.clear();
  held_length_ = 0;
}

bool is_trailing_fill(std::string_view bytes) { return page_content_line(bytes).empty(); }

}  // namespace korvel
