// The page reader on any bytes: it never crashes or hangs, its text is valid
// UTF-8 without line ends, and a page refused for its nesting gives no text.
// The HTML prefilter gives the same bytes however the page is cut.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "indexer/read/html_prefilter.h"
#include "indexer/read/read_page.h"
#include "indexer/read/utf8_text.h"
#include "common/fuzz_check.h"

namespace {

bool valid_text(std::string_view s) {
  std::string copy;
  return velmor::append_valid_utf8(s, copy) == 0 && copy == s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  bool too_deep = false;
  velmor::Document doc = velmor::read_page(bytes, "fuzz.htm", &too_deep);
  FUZZ_CHECK(valid_text(doc.title) && valid_text(doc.file_name));
  FUZZ_CHECK(doc.bytes == size && doc.invalid_bytes <= 2 * size + 2);
  for (const std::string& line : doc.lines)
    FUZZ_CHECK(valid_text(line) && line.find('\n') == std::string::npos && line.find('\r') == std::string::npos);
  if (too_deep) FUZZ_CHECK(doc.lines.empty());
  std::string whole, cut;
  velmor::HtmlPrefilter().feed(bytes, true, whole);
  velmor::HtmlPrefilter filter;
  const size_t at = size == 0 ? 0 : data[0] % size;
  filter.feed(bytes.substr(0, at), false, cut);
  filter.feed(bytes.substr(at), true, cut);
  FUZZ_CHECK(cut == whole);
  return 0;
}
