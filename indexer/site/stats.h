#pragma once
// s_*.htm: the numbers a linguist asks first: words by frequency, the
// documents' sizes and variety, the words that occur once, the n-grams.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "indexer/measures/measures.h"
#include "indexer/model.h"
#include "indexer/site/plan.h"

namespace velmor {

// "0.0123%": a share with three significant digits.
std::string share(uint64_t part, uint64_t whole);

// s_freq_NNN.htm, s_docs.htm, s_once_NNN.htm: the lists complete, in pages,
// the words with their dispersion (DPnorm in thousandths, -1 for none).
uint64_t write_stats(const Corpus& corpus, const SitePlan& plan, const std::vector<int16_t>& dispersion,
                     const std::filesystem::path& dir);

// s_ngrams.htm: the corpus's most frequent n-grams, each leading to its lines.
uint64_t write_ngrams(const Corpus& corpus, const SitePlan& plan, const TopNgrams& ngrams,
                      const std::filesystem::path& dir);

}  // namespace velmor
