#pragma once
// A page file as a Document: korvel's own text-to-page frame read as plain
// lines, anything else through the HTML5 parser.
#include <string>
#include <string_view>

#include "indexer/model.h"

namespace velmor {

// The page's bytes as a Document. Never fails: bytes that are not UTF-8
// become U+FFFD and are counted in invalid_bytes.
Document read_page(std::string_view bytes, std::string_view file_name);

enum class PageProblem { none, empty, unreadable, binary };

struct PageRead {
  PageProblem problem = PageProblem::none;
  std::string message;  // one line naming the file, when there is a problem
  Document document;
};

// Reads a regular file (never waits on a FIFO or device) and makes its
// Document; an empty, unreadable or binary file is a problem instead.
PageRead read_page_file(const std::string& path, std::string_view file_name);

}  // namespace velmor
