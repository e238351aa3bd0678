#pragma once
// The browser's copy of each document (text/FFF/d_NNNN.js, described in
// formats.h): its text once, and its words with their ranks, from which
// the entries cut their lines and the pages find their words.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "indexer/measures/measures.h"
#include "indexer/model.h"

namespace velmor {

// A word of the text in the browser's units: where it starts in the text
// (lines joined by one "\n") and how long it is, in UTF-16 units.
struct StoredWord {
  uint32_t rank, start, length;
  // Whether the browser's guesses (formats.h) hit: the word starts at the
  // first unit after the previous word that is not a separator, and ends
  // at the first separator after its start.
  bool gap_predicted = false, length_predicted = false;
};

// The document's words in those units, in one pass over its lines.
std::vector<StoredWord> stored_words(const Corpus& corpus, uint32_t doc);

// CODE of the store file for these words.
std::string encode_words(const std::vector<StoredWord>& words);

// Writes text/FFF/d_NNNN.js for one document (`per_folder` to a folder,
// which must exist), with its keywords (CorpusMeasures::keywords_of);
// returns its size.
uint64_t write_text_store(const Corpus& corpus, uint32_t doc, const std::vector<Keyword>& keywords, uint32_t per_folder,
                          const std::filesystem::path& dir);

}  // namespace velmor
