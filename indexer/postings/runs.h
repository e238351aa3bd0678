#pragma once
// Sorted runs: what the postings stage spills when its memory budget is
// spent. A run holds, for each word that occurred since the last spill and in
// word id order, the gap to the previous word id, the byte length and the
// encoded occurrences. Runs are written in document order, so a word's
// occurrences in run 2 all follow those in run 1.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "indexer/postings/data_file.h"

namespace velmor {

class RunWriter {
 public:
  explicit RunWriter(const std::string& path) : out_(path) {}
  void add(uint32_t word, std::string_view postings);
  void close() { out_.close(); }

 private:
  DataFile out_;
  uint32_t next_ = 0;
  std::string header_;
};

// Merges the runs into `out`, one stretch per word id in id order, and
// returns where each word's stretch begins; the last entry is the end.
// Each run is read through a buffer of `buffer_bytes`.
std::vector<uint64_t> merge_runs(const std::vector<std::string>& runs, uint32_t words, DataFile& out,
                                 size_t buffer_bytes);

}  // namespace velmor
