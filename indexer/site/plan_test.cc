#include "indexer/site/plan.h"

#include <gtest/gtest.h>

#include "indexer/site/layout.h"

namespace velmor {
namespace {

TEST(PlanLists, WholeLettersShareAPageAndBigOnesAreSplit) {
  using Pages = std::vector<std::tuple<size_t, size_t, std::string>>;
  struct Case {
    std::vector<std::string_view> initials;
    size_t per_page;
    Pages pages;
  } cases[] = {
      {{"A", "A", "B", "C", "C", "C", "D"}, 3, {{0, 3, "A\u2013B"}, {3, 6, "C"}, {6, 7, "D"}}},
      {{"A", "S", "S", "S", "S", "S", "T"}, 2, {{0, 1, "A"}, {1, 3, "S 1"}, {3, 5, "S 2"}, {5, 6, "S 3"}, {6, 7, "T"}}},
      {{"A", "B", "C"}, 10, {{0, 3, "A\u2013C"}}},
      {{"", "x"}, 1, {{0, 1, "?"}, {1, 2, "x"}}},
      {{}, 5, {}},
  };
  for (const Case& c : cases) {
    Pages got;
    for (const ListPage& p : plan_lists(c.initials, c.per_page)) got.emplace_back(p.begin, p.end, p.label);
    EXPECT_EQ(got, c.pages);
  }
}

TEST(PlanLists, NoMorePagesThanTheTopFolderTakes) {
  // Every word its own initial, as in Chinese: pages of 2 words would be
  // 500; a share of 7 gets pages of 256 words (2, 4, ... doubled).
  std::vector<std::string> letters;
  for (int i = 0; i < 1000; ++i) letters.push_back(std::to_string(i));
  std::vector<std::string_view> initials(letters.begin(), letters.end());
  EXPECT_EQ(plan_lists_within(initials, 2, 1000).size(), 500u);
  const std::vector<ListPage> pages = plan_lists_within(initials, 2, 7);
  EXPECT_EQ(pages.size(), 4u);
  EXPECT_EQ(pages.back().end, 1000u);
  EXPECT_EQ(plan_lists_within(initials, 2, 1).size(), 1u);
}

TEST(PlanSite, EntryFilesAreFewContiguousAndFull) {
  struct Case {
    size_t words;
    uint64_t count;
    uint32_t folder_files;
    uint32_t max_files;
    size_t max_entries;
  } cases[] = {
      {5, 2, kMaxFilesPerFolder, 1, kMaxEntriesPerFile},
      {200000, 40, kMaxFilesPerFolder, 1500, kMaxEntriesPerFile},
      {3000, 1, kMaxFilesPerFolder, 2, kMaxEntriesPerFile},
      {4001, 1, kMaxFilesPerFolder, 3, kMaxEntriesPerFile},
      // 15 files of 2,000 are too many for a share of 5: 4 of 8,000.
      {30000, 1, kFixedTopFiles + 20, 5, 4 * kMaxEntriesPerFile},
  };
  for (const Case& c : cases) {
    CorpusShape shape;
    shape.input_bytes = c.words * c.count * 8;
    shape.counts.assign(c.words, c.count);
    shape.documents.assign(c.words, 1);
    shape.key_bytes.assign(c.words, 12);
    SitePlan plan = plan_site(shape, c.folder_files);
    ASSERT_EQ(plan.entry_file.size(), c.words);
    EXPECT_GE(plan.entry_files, 1u);
    EXPECT_LE(plan.entry_files, c.max_files) << c.words;
    for (size_t r = 1; r < c.words; ++r) ASSERT_LE(plan.entry_file[r] - plan.entry_file[r - 1], 1u);
    EXPECT_EQ(plan.entry_file.back() + 1, plan.entry_files);
    std::vector<size_t> per_file(plan.entry_files);
    for (uint32_t f : plan.entry_file) ++per_file[f];
    for (size_t n : per_file) EXPECT_LE(n, c.max_entries);
  }
}

TEST(PlanSite, MeasuresGoToTheMostFrequentWordsWithinTheirBudget) {
  // 100 MB of text, Zipf-like: 1,000 words of 10,000 occurrences, 50,000
  // of 10, 300,000 of 1.
  CorpusShape shape;
  shape.input_bytes = 100u << 20;
  auto add = [&](size_t n, uint64_t count, uint64_t documents) {
    shape.counts.insert(shape.counts.end(), n, count);
    shape.documents.insert(shape.documents.end(), n, documents);
    shape.key_bytes.insert(shape.key_bytes.end(), n, 16);
  };
  add(1000, 10000, 3000);
  add(50000, 10, 8);
  add(300000, 1, 1);
  SitePlan plan = plan_site(shape, kMaxFilesPerFolder);
  EXPECT_EQ(plan.measured_from, 11u);  // the 50,000 of 10 would not all fit
  size_t measured = 0;
  for (uint64_t c : shape.counts) measured += c >= plan.measured_from;
  EXPECT_LE(static_cast<double>(measured) * kMeasureBytes, 0.05 * static_cast<double>(shape.input_bytes));

  // A small corpus measures every word that can have a collocate.
  CorpusShape small;
  small.input_bytes = 30000;
  small.counts = {2000, 5, 1};
  small.documents = {3, 2, 1};
  small.key_bytes = {6, 6, 6};
  EXPECT_EQ(plan_site(small, kMaxFilesPerFolder).measured_from, 3u);
}

}  // namespace
}  // namespace velmor
