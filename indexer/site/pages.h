#pragma once
#include <cstdint>
#include <filesystem>

#include "indexer/model.h"

namespace velmor {

// page_NNNN.htm: one document's text with its lines as they were, for
// reading, double-clicking words and stepping through a word's occurrences.
uint64_t write_page(const Corpus& corpus, uint32_t doc, const std::filesystem::path& dir);

}  // namespace velmor
