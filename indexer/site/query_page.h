#pragma once
#include <cstdint>
#include <filesystem>

namespace velmor {

// query.htm: the query line for phrases and patterns ("strong tea",
// "in" [] "case", [word="colou?r"]), with the total of hits, each hit as a
// line and the hits per document. query.js reads the positions of query/
// (positions.h) and the lines come from the text stores; query.htm#q=...
// runs a query at once (the search box links there).
uint64_t write_query_page(uint32_t per_folder, const std::filesystem::path& dir);

}  // namespace velmor
