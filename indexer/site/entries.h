#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "indexer/model.h"
#include "indexer/site/plan.h"
#include "indexer/site/utf16_positions.h"

namespace velmor {

// The fragment of a page address that marks one occurrence:
// "o<line>.<start>.<length>", positions in UTF-16 units within the line, as
// the page's script counts them. `positions`, when given, finds the start
// in a long line without counting from the line's start.
std::string occurrence_fragment(std::string_view line, const Occurrence& at,
                                const Utf16Positions* positions = nullptr);

// Where a word falls in one document: the hundredths of its length that
// hold an occurrence, each once, in order.
std::vector<uint8_t> dispersion(const std::vector<Occurrence>& in_doc, uint64_t doc_tokens);

// Every document of a word, in order, with its count of occurrences, as the
// script reads it: "gap[:count]" items separated by blanks, each gap counted
// from the document before (from -1 for the first), ":count" left out for 1.
// "1 2:3 4" is documents 0, 2 and 6 with counts 1, 3 and 1.
std::string document_list(const std::vector<uint32_t>& docs, const std::vector<uint64_t>& counts);

// i_NNN.htm holding the entries of ranks [begin, end).
uint64_t write_entry_file(const Corpus& corpus, const SitePlan& plan, const Utf16Positions& positions,
                          uint32_t file,
                          size_t begin, size_t end, std::string_view collation,
                          const std::filesystem::path& dir);

}  // namespace velmor
