#pragma once
// The input: every page of a folder, by name.
#include <string>
#include <vector>

#include "indexer/run/index_pages.h"

namespace velmor {

// Whether `name` ends in .htm or .html, in any case.
bool is_page_name(const std::string& name);
// The pages of `dir` sorted by name (bytewise); throws std::runtime_error
// naming the folder when it cannot be read.
std::vector<PageFile> list_pages(const std::string& dir);

}  // namespace velmor
