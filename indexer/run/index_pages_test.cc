#include "indexer/run/index_pages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/test_files.h"
#include "indexer/words/words.h"

namespace fs = std::filesystem;

namespace velmor {

// Pages far longer than the read-ahead allows, among short ones: each must
// still be read (the builder would wait for it for ever otherwise) and all
// must come in the list's order, whatever order the workers finish them in.
TEST(IndexPages, PagesLongerThanTheReadAheadComeInOrder) {
  common::WorkFolder folder("velmor_index_pages");
  const fs::path dir = folder.path;
  const int words_in[] = {3, 2000, 1, 5000, 2, 2, 4000, 7};
  std::vector<PageFile> pages;
  uint64_t words = 0;
  for (int p = 0; p < 8; ++p) {
    PageFile page{(dir / ("p" + std::to_string(p) + ".htm")).string(), "p" + std::to_string(p) + ".htm", 0};
    std::string text;
    for (int w = 0; w < words_in[p]; ++w) text += "word" + std::to_string(p) + " ";
    common::write_file(page.path, text + "\n");
    page.bytes = fs::file_size(page.path);
    pages.push_back(page);
    words += words_in[p];
  }
  Collation collation("en");
  for (uint64_t ahead : {uint64_t{0}, uint64_t{100}, uint64_t{8} << 20}) {
    fs::remove_all(dir / "work");
    fs::create_directories(dir / "work");
    IndexOptions options;
    options.work_dir = (dir / "work").string();
    options.read_ahead_bytes = ahead;
    IndexResult r = index_pages(pages, collation, options);
    EXPECT_EQ(r.words, words) << ahead;
    ASSERT_EQ(r.corpus->document_count(), pages.size()) << ahead;
    for (uint32_t d = 0; d < pages.size(); ++d) {
      EXPECT_EQ(r.corpus->document(d).file_name, pages[d].name) << ahead;
      EXPECT_EQ(r.corpus->document(d).tokens, uint64_t(words_in[d])) << ahead;
    }
  }
}

}  // namespace velmor
