#pragma once
// korvel's own pages: a fixed frame of tag lines around a document's lines,
// which stand in it unescaped, so an HTML parser would eat "<https://x>"
// and "a < b & c". Recognised by the whole frame, byte for byte.
#include <string_view>
#include <vector>

namespace velmor {

struct KorvelFrame {
  std::string_view name;                // the page's name: NAME of "htm_wrk\NAME"
  std::vector<std::string_view> lines;  // the document's lines, as they stand
};

// Whether the page is exactly korvel's frame; fills `frame` when it is.
bool read_korvel_frame(std::string_view page, KorvelFrame& frame);

}  // namespace velmor
