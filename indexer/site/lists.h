#pragma once
// The ways into the entries: the start page, the word lists in collation
// order, and the look-up data behind the search box and the double-click.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "indexer/model.h"
#include "indexer/site/plan.h"

namespace velmor {

// `s` as a JSON string literal.
void append_json_string(std::string& s, std::string_view text);

// A word's dispersion as the lists' data holds it: ",DP" with DP its
// DPnorm in thousandths, or ",null" when it has none (-1).
void append_dispersion(std::string& s, int16_t thousandths);

// lookup/keys.js and lookup/k_NNNN.js: every word's search key, key, form,
// rank, count and dispersion in search key order, cut into shards of at
// most `per_shard` words; keys.js names each shard's first search key.
uint64_t write_lookup(const Corpus& corpus, const std::vector<int16_t>& dispersion, const std::filesystem::path& dir,
                      size_t per_shard);

// lookup/docs.js: every document's title as the entries' rows show it, for
// the script's list of all documents of a word.
uint64_t write_document_titles(const Corpus& corpus, const std::filesystem::path& dir);

// lookup/sizes.js: every document's number of words, for the dispersion
// plots of the entries.
uint64_t write_document_sizes(const Corpus& corpus, const std::filesystem::path& dir);

uint64_t write_lists(const Corpus& corpus, const SitePlan& plan, const std::vector<ListPage>& lists,
                     const std::vector<int16_t>& dispersion, const std::filesystem::path& dir);

uint64_t write_start_page(const Corpus& corpus, const std::vector<ListPage>& lists,
                          const std::filesystem::path& dir);

}  // namespace velmor
