#pragma once
#include <cstddef>
#include <vector>

#include "indexer/model.h"

namespace velmor {

// Asks for the words around an occurrence a few ahead of reading them: the
// occurrences of a frequent word are spread over the whole corpus, and each
// read of its neighbours is otherwise a wait on memory.
inline void prefetch_neighbours(const Corpus& corpus, const std::vector<Occurrence>& occ, size_t i) {
  if (i < occ.size()) __builtin_prefetch(corpus.sequence(occ[i].doc).data() + occ[i].ordinal);
}

// Asks for a word's record a few ahead of reading its count: the words
// met around an occurrence or in a document are spread over the vocabulary.
inline void prefetch_word(const Corpus& corpus, uint32_t rank) { __builtin_prefetch(&corpus.word(rank).count); }

}  // namespace velmor
