#pragma once
// The measures as a stage: what the site shows of a word (its dispersion,
// collocates and clusters) and of a document (its keywords), computed here
// as plain values that the site's writers only serialise. The corpus's
// n-grams and every word's dispersion are gathered as the words are
// measured, since both come from reading each word's postings once, which
// the entries do anyway.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "indexer/measures/dispersion.h"
#include "indexer/measures/measures.h"
#include "indexer/model.h"

namespace velmor {

// One word's results.
struct WordMeasures {
  int16_t dispersion = -1;  // DPnorm in thousandths (dispersion.h), -1 for none
  // Frequent enough to show its own collocates and clusters; a rarer
  // word's are counted in the browser.
  bool measured = false;
  std::vector<Collocate> collocates;  // empty unless measured
  std::vector<Cluster> clusters;      // empty unless measured
};

class CorpusMeasures {
 public:
  // Words seen at least `measured_from` times get their collocates and
  // clusters; the corpus's n-gram lists keep `ngrams_per_size` of each size.
  CorpusMeasures(const Corpus& corpus, uint64_t measured_from, size_t ngrams_per_size);

  // The corpus's words in all.
  uint64_t tokens() const { return tokens_; }

  // Measures word `rank` from its occurrences (as the postings give them),
  // keeps its dispersion for dispersion() and adds the n-grams it begins
  // to ngrams(). Calls for different words may run at once.
  WordMeasures of_word(uint32_t rank, const std::vector<Occurrence>& occ);

  // A document's keywords against the rest of the corpus.
  std::vector<Keyword> keywords_of(uint32_t doc) const;

  // Every word's dispersion and the corpus's n-grams: complete once every
  // word has been through of_word().
  const std::vector<int16_t>& dispersion() const { return dispersion_; }
  const TopNgrams& ngrams() const { return ngrams_; }

 private:
  const Corpus& corpus_;
  uint64_t measured_from_;
  uint64_t tokens_ = 0;
  DocumentSizes sizes_;
  std::vector<int16_t> dispersion_;
  TopNgrams ngrams_;
};

}  // namespace velmor
