#pragma once
// How the site is cut up before a byte of it is written: which word's entry
// goes into which i_ file, which words each word list holds, and how many
// context lines and document rows each entry may show so the whole site
// stays within a few times the size of the input text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "indexer/model.h"

namespace velmor {

// The largest cap c with sum(min(amount, c)) <= budget, at least 1; the
// biggest amount when everything fits. Rare words keep all they have, the
// frequent ones share what is left equally.
uint64_t water_fill(const std::vector<uint64_t>& amounts, uint64_t budget);

struct ListPage {
  size_t begin = 0, end = 0;  // ranks [begin, end)
  std::string label;          // "A", "B–D", "S 2"
};

// Cuts the words into list pages at changes of initial letter: whole letters
// share a page while they fit, a letter bigger than a page gets several.
std::vector<ListPage> plan_lists(const std::vector<std::string_view>& initials,
                                 size_t max_per_page);

struct SitePlan {
  uint64_t lines_cap = 0;     // context lines per entry
  uint64_t docs_cap = 0;      // document rows per entry
  uint32_t context_cps = 40;  // code points of context on each side: 40, 30 or 20
  std::vector<uint32_t> entry_file;  // entry file of each rank
  uint32_t entry_files = 0;
};

// Numbers the planner works from; kept apart from the Corpus so tests can
// ask about corpora of any size.
struct CorpusShape {
  uint64_t documents_count = 0;
  uint64_t input_bytes = 0;      // sum of the page files' sizes
  uint64_t text_bytes = 0;       // sum of the lines' bytes
  uint64_t title_bytes = 0;      // sum of the titles' bytes
  uint64_t text_code_points = 0;
  std::vector<uint64_t> counts;     // per rank
  std::vector<uint64_t> documents;  // per rank
  std::vector<uint32_t> key_bytes;  // per rank: the key's and the form's bytes
};

SitePlan plan_site(const CorpusShape& shape, size_t context_lines_cap);

CorpusShape measure(const Corpus& corpus);

}  // namespace velmor
