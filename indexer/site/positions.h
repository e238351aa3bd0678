#pragma once
// query/: where every word stands, for the query page's phrases and
// patterns (query.htm, query.js). The format is in formats.h.
//
// A phrase's total needs the places of its words in every document. The
// text stores hold them too, but a total over two frequent words would
// read every store (in Chromium 7.7 s for the 1,561 documents of the 100
// MB bench corpus's commonest word); these files give a word's places in
// one piece, and the stores are read only for the lines shown.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "indexer/model.h"

namespace velmor {

// Where each document's words start among all the corpus's: the words of
// the documents before it, one more entry at the end.
std::vector<uint64_t> document_starts(const Corpus& corpus);

// One word's places as its CODE string (formats.h): each occurrence's
// place among all the corpus's words, the first as it is and each next
// less the one before less 1. One number an occurrence, rather than a
// document's gap, count and first ordinal besides: 29.7 MB in place of
// 32.9 on the 100 MB bench corpus, whose 5.4 million pairs of a word and
// a document cost more than the 12.1 million steps between occurrences.
void append_positions(std::string& out, const std::vector<Occurrence>& occurrences,
                      const std::vector<uint64_t>& document_starts);

// The first rank of each file: words in rank order, a file closed once
// it holds `per_file` occurrences or more; a word is never split.
std::vector<uint32_t> plan_position_files(const std::vector<uint64_t>& counts, uint64_t per_file);

// The occurrences a file holds as a rule, or more when that would make
// more than `most_files` files of `total` occurrences.
uint64_t positions_per_file(uint64_t total, uint32_t most_files);

// "query/p_0000.js" for the first file.
std::string positions_file(uint32_t file);

// query/files.js, velmorPositionFiles([FIRST, ...]).
uint64_t write_position_starts(const std::vector<uint32_t>& firsts, const std::filesystem::path& dir);

// query/p_NNNN.js for the ranks [begin, end), streamed a word at a time
// from Corpus::occurrences.
uint64_t write_position_file(const Corpus& corpus, const std::vector<uint64_t>& document_starts, uint32_t file,
                             size_t begin, size_t end, const std::filesystem::path& dir);

}  // namespace velmor
