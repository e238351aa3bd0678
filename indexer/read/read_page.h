#pragma once
// A page file as a Document: korvel's own text-to-page frame read as plain
// lines, anything else through the HTML5 parser.
#include <string>
#include <string_view>

#include "indexer/model.h"

namespace velmor {

// The page's bytes as a Document: bytes that are not UTF-8 become U+FFFD
// and are counted in invalid_bytes. A page nested too deep to parse gives no
// lines and sets *too_deep. `known_valid` says the caller found the bytes
// valid UTF-8 already (valid_utf8), so they are copied without a second look.
Document read_page(std::string_view bytes, std::string_view file_name, bool* too_deep = nullptr,
                   bool known_valid = false);

enum class PageProblem { none, empty, unreadable, binary, too_deep };

struct PageRead {
  PageProblem problem = PageProblem::none;
  std::string message;  // one line naming the file, when there is a problem
  Document document;
};

// Reads a regular file (never waits on a FIFO or device) and makes its
// Document; an empty, unreadable, binary or too deeply nested file is a
// problem instead.
PageRead read_page_file(const std::string& path, std::string_view file_name);

}  // namespace velmor
