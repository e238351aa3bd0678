#pragma once
// How the site is cut up before a byte of it is written: which word's entry
// goes into which i_ file, which words each word list holds, and which
// words are frequent enough to show collocates and clusters, so that the
// whole site stays within twice the size of the input text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "indexer/model.h"

namespace velmor {

struct ListPage {
  size_t begin = 0, end = 0;  // ranks [begin, end)
  std::string label;          // "A", "B–D", "S 2"
};

// Cuts the words into list pages at changes of initial letter: whole letters
// share a page while they fit, a letter bigger than a page gets several.
std::vector<ListPage> plan_lists(const std::vector<std::string_view>& initials, size_t max_per_page);
// The same with pages of `usual` words, or of twice, four times... as many
// when that would make more than `most_pages` pages (layout.h).
std::vector<ListPage> plan_lists_within(const std::vector<std::string_view>& initials, size_t usual, size_t most_pages);

// The most documents an entry lists before "all documents" is asked for.
constexpr uint64_t kMaxDocRows = 25;

// The most entries one i_NNN.htm holds, unless the files would pass their
// share of the top folder (layout.h): then twice, four times... as many.
constexpr size_t kMaxEntriesPerFile = 2000;

struct SitePlan {
  std::vector<uint32_t> entry_file;  // entry file of each rank
  uint32_t entry_files = 0;
  // Words of at least this many occurrences show collocates and clusters:
  // the most frequent first, as many as a twentieth of the input allows.
  uint64_t measured_from = 3;
  // The most files one folder holds (layout.h), and so the most entry
  // files: a big corpus gets bigger ones rather than more.
  uint32_t folder_files = 0;
};

// Numbers the planner works from; kept apart from the Corpus so tests can
// ask about corpora of any size.
struct CorpusShape {
  uint64_t input_bytes = 0;         // sum of the page files' sizes
  std::vector<uint64_t> counts;     // per rank
  std::vector<uint64_t> documents;  // per rank
  std::vector<uint32_t> key_bytes;  // per rank: the key's and the form's bytes
};

SitePlan plan_site(const CorpusShape& shape, uint32_t folder_files);

// What one word's entry costs in bytes, its lines and measures aside.
double entry_bytes(uint64_t key_bytes, uint64_t documents);
// What the collocates and clusters of one word cost, about.
constexpr double kMeasureBytes = 700;

CorpusShape measure(const Corpus& corpus);

}  // namespace velmor
