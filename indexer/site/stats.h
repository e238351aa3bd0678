#pragma once
// s_*.htm: the numbers a linguist asks first: words by frequency, the
// documents' sizes and variety, and the words that occur once.
#include <cstdint>
#include <filesystem>
#include <string>

#include "indexer/model.h"
#include "indexer/site/plan.h"

namespace velmor {

// "0.0123%": a share with three significant digits.
std::string share(uint64_t part, uint64_t whole);

uint64_t write_stats(const Corpus& corpus, const SitePlan& plan, const std::filesystem::path& dir);

}  // namespace velmor
