#include "indexer/read/korvel_frame.h"

namespace velmor {

// Every line of the frame ends in CR LF, the last one too.
static constexpr std::string_view kHead =
    "<HTML>\r\n"
    "<head>\r\n"
    "<meta http-equiv=\"content-type\"  content=\"text/HTML; charset=utf-8\">\r\n"
    "<title>\r\n"
    "htm_wrk\\";
static constexpr std::string_view kAfterName =
    "\r\n"
    "</title>\r\n"
    "</head>\r\n"
    "<body>\r\n"
    "<pre>\r\n";
static constexpr std::string_view kTail =
    "</pre>\r\n"
    "</body>\r\n"
    "</html>\r\n";

bool read_korvel_frame(std::string_view page, KorvelFrame& frame) {
  if (!page.starts_with(kHead)) return false;
  std::string_view rest = page.substr(kHead.size());
  size_t name_end = rest.find("\r\n");
  if (name_end == std::string_view::npos) return false;
  std::string_view name = rest.substr(0, name_end);
  // korvel names every page after its document with "htm" in place of "txt".
  if (name.size() < 4 || name.find_first_of("\\/") != std::string_view::npos || !name.ends_with(".htm")) return false;
  rest.remove_prefix(name_end);
  if (!rest.starts_with(kAfterName)) return false;
  rest.remove_prefix(kAfterName.size());
  // The document itself may hold a line "</pre>": the frame ends only at
  // the page's end.
  if (!rest.ends_with(kTail)) return false;
  rest.remove_suffix(kTail.size());

  frame.name = name;
  frame.lines.clear();
  // Each document line ends in CR LF.
  while (!rest.empty()) {
    size_t end = rest.find("\r\n");
    if (end == std::string_view::npos) return false;  // a last line without its line end
    frame.lines.push_back(rest.substr(0, end));
    rest.remove_prefix(end + 2);
  }
  return true;
}

}  // namespace velmor
