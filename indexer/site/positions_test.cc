#include "indexer/site/positions.h"

#include <gtest/gtest.h>

#include "common/test_files.h"
#include "indexer/testing/memory_corpus.h"

namespace velmor {
namespace {

namespace fs = std::filesystem;

// Store digits: "#" 0, "$" 1, "&" 3, "2" 15; 46 is "R$", 100 "[%".
TEST(Positions, EachOccurrenceItsPlaceAmongAllWordsLessTheOneBefore) {
  const std::vector<uint64_t> starts = {0, 10, 30, 100, 101};
  struct Case {
    std::vector<Occurrence> occurrences;
    std::string code;
  } cases[] = {
      {{}, ""},
      {{{0, 0}}, "#"},
      {{{0, 0}, {0, 2}}, "#$"},           // 2 less 0 less 1
      {{{0, 0}, {0, 1}, {0, 2}}, "###"},  // neighbours step by 0
      {{{1, 5}}, "2"},                    // 10 words of document 0 before
      {{{0, 3}, {2, 20}}, "&R$"},         // 50 less 3 less 1, two digits
      {{{3, 0}}, "[%"},
      {{{0, 3}, {1, 20}}, "&>"},  // formats.h's example
  };
  for (const Case& c : cases) {
    std::string out;
    append_positions(out, c.occurrences, starts);
    EXPECT_EQ(out, c.code) << "code " << c.code;
  }
}

TEST(Positions, FilesCloseOnceFullAndNeverSplitAWord) {
  struct Case {
    std::vector<uint64_t> counts;
    uint64_t per_file;
    std::vector<uint32_t> firsts;
  } cases[] = {
      {{}, 10, {}},
      {{5, 5, 5}, 10, {0, 2}},
      {{30, 1, 1}, 10, {0, 1}},  // a word past the size has a file of its own
      {{1, 1, 1, 1}, 1, {0, 1, 2, 3}},
  };
  for (const Case& c : cases) EXPECT_EQ(plan_position_files(c.counts, c.per_file), c.firsts);
  // However the occurrences fall on the words, the files stay within the
  // folder's share: words of a file's worth each and one more (a file for
  // each, and one for the last, unless a file holds more), many small ones,
  // one giant among them.
  const uint32_t limit = 40;
  std::vector<std::vector<uint64_t>> shapes = {std::vector<uint64_t>(40, 50000), std::vector<uint64_t>(3000000, 1),
                                               std::vector<uint64_t>(100, 1), std::vector<uint64_t>(2000, 1500)};
  shapes[0].push_back(1);
  shapes[3][1000] = 10000000;
  for (const auto& counts : shapes) {
    uint64_t total = 0;
    for (uint64_t c : counts) total += c;
    EXPECT_LE(plan_position_files(counts, positions_per_file(total, limit)).size(), limit) << total;
  }
}

TEST(Positions, WrittenFromTheCorpusAsTheFormatSays) {
  const common::WorkFolder work("velmor_positions");
  const fs::path& dir = work.path;
  fs::create_directories(dir / "query");
  Document d;
  d.file_name = "a.htm";
  d.title = "a";
  d.lines = {"ab cd ab"};
  MemoryCorpus corpus({d}, "");
  write_position_file(corpus, document_starts(corpus), 0, 0, corpus.word_count(), dir);
  write_position_starts({0}, dir);
  EXPECT_EQ(common::read_file(dir / "query" / "p_0000.js"), "\xEF\xBB\xBFvelmorPositions(0,[\"#$\",\"$\"]);\n");
  EXPECT_EQ(common::read_file(dir / "query" / "files.js"), "\xEF\xBB\xBFvelmorPositionFiles([0]);\n");
}

}  // namespace
}  // namespace velmor
