#pragma once
// Each document's words in reading order, beside the postings: what
// collocates, n-grams and the browser's copy of each text are made from.
//
// sequence.dat holds one 32-bit word number per token, all documents one
// after the other; while indexing these are the vocabulary's ids, and
// finish() rewrites them as ranks once the collation has ordered the words.
// spans.dat holds, per token, where it stands as three varints: the gap to
// the previous token's line (0 within a line; from line 0 in a new document),
// the byte offset in its line and its length in bytes. A document of
// "ab cd\nef" is ids [7, 3, 9] and spans (0,0,2) (0,3,2) (1,0,2).
// stretches.dat holds, per document, where its stretches part (model.h:
// Document::stretch_starts), as varint gaps from the previous one (from 0).
#include <cstdint>
#include <string>
#include <vector>

#include "indexer/postings/data_file.h"

namespace velmor {

class WordSequenceWriter {
 public:
  explicit WordSequenceWriter(const std::string& dir);
  // One token of the current document.
  void add(uint32_t word, uint32_t line, uint32_t begin, uint32_t length) {
    ids_.push_back(word);
    put(line - line_);
    put(begin);
    put(length);
    line_ = line;
  }
  // Ends the current document, whose stretches part at `stretch_starts`;
  // writes out what gathered.
  void end_document(const std::vector<uint32_t>& stretch_starts);
  struct Starts {
    // Per document and one past the last: where its spans begin in
    // spans.dat, and its stretches in stretches.dat.
    std::vector<uint64_t> spans, stretches;
  };
  // Rewrites the ids as ranks (`rank_of[id]`) and closes.
  Starts finish(const std::vector<uint32_t>& rank_of, size_t buffer_bytes);

 private:
  void put(uint32_t value) {
    while (value >= 0x80) {
      spans_.push_back(static_cast<char>(value | 0x80));
      value >>= 7;
    }
    spans_.push_back(static_cast<char>(value));
  }

  std::string dir_;
  DataFile ids_file_, spans_file_, stretches_file_;
  std::vector<uint32_t> ids_;  // a vector, so that each token's id is a store, not a call to memcpy
  std::string spans_;
  uint32_t line_ = 0;
  std::string stretches_;
  Starts starts_{{0}, {0}};
};

}  // namespace velmor
