#pragma once
// How the measures read the words around a word's occurrences, which are
// spread over the whole corpus, with as little waiting on memory as they can.
#include <algorithm>
#include <cstddef>
#include <span>
#include <vector>

#include "indexer/model.h"
#include "indexer/prefetch.h"

namespace velmor {

// A cursor over the documents' words (their ranks in reading order): it
// asks the corpus for a document's words once per run of occurrences in the
// same document rather than once per occurrence, as a frequent word's
// occurrences come by document, many to each.
class DocumentCursor {
 public:
  explicit DocumentCursor(const Corpus& corpus) : corpus_(corpus) {}
  std::span<const uint32_t> of(uint32_t doc) {
    if (doc != doc_) {
      doc_ = doc;
      words_ = corpus_.sequence(doc);
    }
    return words_;
  }

 private:
  const Corpus& corpus_;
  uint32_t doc_ = UINT32_MAX;
  std::span<const uint32_t> words_;
};

// Asks for the words around an occurrence, `reach` on either side, a few
// ahead of reading them: the occurrences of a frequent word are spread over
// the whole corpus, and each read of its neighbours is otherwise a wait on
// memory. Both ends, as the window often crosses a cache line.
inline void prefetch_neighbours(DocumentCursor& ahead, const std::vector<Occurrence>& occ, size_t i, size_t reach) {
  if (!prefetching(kPrefetchMeasures) || i >= occ.size()) return;
  const std::span<const uint32_t> words = ahead.of(occ[i].doc);
  const size_t at = occ[i].ordinal;
  prefetch_read<kPrefetchMeasures>(words.data() + (at >= reach ? at - reach : 0));
  prefetch_read<kPrefetchMeasures>(words.data() + std::min(at + reach, words.size() - 1));
}

// Asks for a word's record a few ahead of reading its count: the words
// met around an occurrence or in a document are spread over the vocabulary.
inline void prefetch_word(const Corpus& corpus, uint32_t rank) {
  prefetch_read<kPrefetchMeasures>(&corpus.word(rank).count);
}

}  // namespace velmor
