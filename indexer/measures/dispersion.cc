#include "indexer/measures/dispersion.h"

#include <algorithm>
#include <cmath>

namespace velmor {

DocumentSizes::DocumentSizes(std::vector<uint64_t> sizes) : words(std::move(sizes)) {
  for (uint64_t n : words) {
    total += n;
    if (n == 0) continue;
    smallest = holding++ ? std::min(smallest, n) : n;
  }
}

std::optional<double> dp_norm(const std::vector<Occurrence>& occ, const DocumentSizes& sizes) {
  if (occ.empty() || sizes.holding < 2) return std::nullopt;
  const double f = static_cast<double>(occ.size()), total = static_cast<double>(sizes.total);
  // The documents without the word each add their own share: together
  // what the documents with it leave of the whole, so a word costs its
  // documents, not the corpus's.
  double deviation = 0;
  uint64_t words_in_its_documents = 0;
  for (size_t i = 0; i < occ.size();) {
    size_t j = i;
    while (j < occ.size() && occ[j].doc == occ[i].doc) ++j;
    const uint64_t size = sizes.words[occ[i].doc];
    deviation += std::abs(static_cast<double>(j - i) / f - static_cast<double>(size) / total);
    words_in_its_documents += size;
    i = j;
  }
  deviation += static_cast<double>(sizes.total - words_in_its_documents) / total;
  const double dp = deviation / 2;
  return dp / (1 - static_cast<double>(sizes.smallest) / total);
}

int16_t dp_thousandths(std::optional<double> dp) {
  if (!dp) return -1;
  return static_cast<int16_t>(std::clamp<long>(std::lround(*dp * 1000), 0, 1000));
}

}  // namespace velmor
