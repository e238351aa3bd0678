#pragma once
// How evenly a word is spread over the documents: Gries' deviation of
// proportions (DP), with each document's share of the corpus's words as
// the share of the word it would hold were the word spread evenly, here
// normalised (DPnorm, Lijffijt and Gries 2012): DP divided by its largest
// possible value, 1 less the smallest document's share. Raw DP's range
// depends on how the corpus is cut into documents (with two documents of
// equal size it never passes 0.5), so the same figure meant different
// things in two indexes; DPnorm runs from 0 (the word as spread as the
// documents' sizes) to 1 (all of it in the smallest document) whatever the
// documents. A corpus of thousands of documents gets nearly the same from
// both.
#include <cstdint>
#include <optional>
#include <vector>

#include "indexer/model.h"

namespace velmor {

// The documents' sizes in words, as the expected proportions.
struct DocumentSizes {
  std::vector<uint64_t> words;  // per document
  uint64_t total = 0;
  uint64_t smallest = 0;  // of the documents that hold a word
  uint32_t holding = 0;   // documents that hold a word
  explicit DocumentSizes(std::vector<uint64_t> words);
};

// The word's DPnorm from its occurrences (by document, as the postings give
// them); none for a word that does not occur, or when fewer than two
// documents hold words, where the normaliser is 0.
std::optional<double> dp_norm(const std::vector<Occurrence>& occ, const DocumentSizes& sizes);

// The site writes DPnorm in thousandths, 0 to 1000, and -1 for none: an
// integer prints the same on every platform, and three digits are as many as
// a reader compares.
int16_t dp_thousandths(std::optional<double> dp);

}  // namespace velmor
