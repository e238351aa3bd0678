#pragma once
// The ways into the entries: the start page and the word lists in
// collation order (the look-up data behind the search box is lookup.h's).
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "indexer/model.h"
#include "indexer/site/plan.h"

namespace velmor {

// A word's dispersion as the lists' data holds it: ",DP" with DP its
// DPnorm in thousandths, or ",null" when it has none (-1).
void append_dispersion(std::string& s, int16_t thousandths);

uint64_t write_lists(const Corpus& corpus, const SitePlan& plan, const std::vector<ListPage>& lists,
                     const std::vector<int16_t>& dispersion, const std::filesystem::path& dir);

uint64_t write_start_page(const Corpus& corpus, const std::vector<ListPage>& lists, const std::filesystem::path& dir);

}  // namespace velmor
