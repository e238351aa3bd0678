#pragma once
// lookup/: the data behind the search box, the double-click and the
// entries' lists of documents (formats.h describes each file). This file
// writes all of it; the site runs each writer as a task of its own.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "indexer/model.h"

namespace velmor {

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

// lookup/entries.js: the first rank of each entry file, from the entry
// file of each rank.
uint64_t write_entry_starts(const std::vector<uint32_t>& entry_file, const std::filesystem::path& dir);

}  // namespace velmor
