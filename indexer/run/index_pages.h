#pragma once
// Reading and indexing a list of page files: worker threads read and
// split pages ahead, the calling thread takes them in input order into the
// PostingsBuilder, so document numbers follow the list.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "indexer/model.h"
#include "indexer/words/words.h"

namespace velmor {

class Collation;

struct PageFile {
  std::string path;  // to open
  std::string name;  // as the corpus shows it
  uint64_t bytes = 0;
};

struct IndexProgress {
  uint64_t pages_done = 0, pages_total = 0;
  uint64_t bytes_done = 0, bytes_total = 0;
};

struct IndexOptions {
  std::string work_dir;                 // exists, empty; holds the corpus's files
  size_t memory_budget = 256u << 20;    // bytes
  unsigned threads = 2;                 // readers and splitters
  uint64_t read_ahead_bytes = 8 << 20;  // of files read and not yet indexed; the next page goes whatever its size
  WordRules words;                      // what a word is, and its key
  std::function<void(const IndexProgress&)> progress;  // after every page
  std::function<void(const std::string&)> skipped;     // one line naming the page
};

struct IndexResult {
  std::unique_ptr<Corpus> corpus;
  uint64_t words = 0;
  uint64_t distinct = 0;
  uint64_t skipped = 0;
  size_t runs = 0;
};

IndexResult index_pages(const std::vector<PageFile>& pages, const Collation& collation, const IndexOptions& options);

}  // namespace velmor
