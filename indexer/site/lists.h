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

// lookup/keys.js and lookup/k_NNNN.js: every word's search key, key, form,
// rank and count in search key order, cut into shards of at most
// `per_shard` words; keys.js names each shard's first search key.
uint64_t write_lookup(const Corpus& corpus, const std::filesystem::path& dir, size_t per_shard);

// lookup/docs.js: every document's title as the entries' rows show it, for
// the script's list of all documents of a word.
uint64_t write_document_titles(const Corpus& corpus, const std::filesystem::path& dir);

uint64_t write_lists(const Corpus& corpus, const SitePlan& plan,
                     const std::vector<ListPage>& lists, const std::filesystem::path& dir);

uint64_t write_start_page(const Corpus& corpus, const std::vector<ListPage>& lists,
                          const std::filesystem::path& dir);

}  // namespace velmor
