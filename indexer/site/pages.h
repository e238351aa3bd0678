#pragma once
#include <cstdint>
#include <filesystem>

#include "indexer/model.h"

namespace velmor {

// page.htm: the viewer of every document, page.htm?d=N showing the Nth
// (from 1; the first without one), for reading, double-clicking words and
// stepping through a word's occurrences. One page rather than one per
// document: 38,827 fewer files for the 1 GB bench corpus, each of which
// took a whole cluster (16 or 32 KB) of a FAT32 stick.
uint64_t write_viewer(const Corpus& corpus, uint32_t per_folder, const std::filesystem::path& dir);

}  // namespace velmor
