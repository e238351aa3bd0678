#pragma once
// The entries: files i_NNN.htm of a few hundred words each, in collation
// order. Each holds its words' data (formats.h) and entry.js draws
// the entries from it: counts, documents, every line cut from the stored
// texts, collocates and clusters.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "indexer/measures/corpus_measures.h"
#include "indexer/model.h"
#include "indexer/site/plan.h"

namespace velmor {

// DOCS of the entry data: the documents of a word's occurrences with their
// counts, in the store's digits.
std::string document_codes(const std::vector<Occurrence>& occ);

struct EntryContext {
  const Corpus& corpus;
  const SitePlan& plan;
  std::string_view collation;
  // Each word is measured as its entry is written: the entries read every
  // word's postings anyway, and the word lists, the look-up data and the
  // n-grams, which show what the measures gathered, are written after them.
  CorpusMeasures& measures;
};

// i_NNN.htm holding the entries of ranks [begin, end).
uint64_t write_entry_file(const EntryContext& context, uint32_t file, size_t begin, size_t end,
                          const std::filesystem::path& dir);

}  // namespace velmor
