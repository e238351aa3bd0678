#include "indexer/site/plan.h"

#include <gtest/gtest.h>

namespace velmor {
namespace {

TEST(WaterFill, FrequentWordsShareWhatRareOnesLeave) {
  struct Case {
    std::vector<uint64_t> amounts;
    uint64_t budget, cap;
  } cases[] = {
      {{3, 1, 2}, 100, 3},      // everything fits: the biggest amount
      {{10, 1, 1}, 5, 3},       // 3 + 1 + 1
      {{5, 5, 5}, 9, 3},
      {{5, 5, 5}, 8, 2},
      {{1000, 2, 1000}, 0, 1},  // never below one line
      {{}, 0, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(water_fill(c.amounts, c.budget), c.cap) << c.budget;
}

TEST(PlanLists, WholeLettersShareAPageAndBigOnesAreSplit) {
  using Pages = std::vector<std::tuple<size_t, size_t, std::string>>;
  struct Case {
    std::vector<std::string_view> initials;
    size_t per_page;
    Pages pages;
  } cases[] = {
      {{"A", "A", "B", "C", "C", "C", "D"}, 3,
       {{0, 3, "A\u2013B"}, {3, 6, "C"}, {6, 7, "D"}}},
      {{"A", "S", "S", "S", "S", "S", "T"}, 2,
       {{0, 1, "A"}, {1, 3, "S 1"}, {3, 5, "S 2"}, {5, 6, "S 3"}, {6, 7, "T"}}},
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

TEST(PlanSite, EntryFilesAreFewContiguousAndFull) {
  struct Case {
    size_t words;
    uint64_t count;
    uint32_t max_files;
  } cases[] = {{5, 2, 1}, {200000, 40, 1500}, {3000, 1, 4}};
  for (const Case& c : cases) {
    CorpusShape shape;
    shape.input_bytes = shape.text_bytes = c.words * c.count * 8;
    shape.text_code_points = shape.text_bytes;
    shape.counts.assign(c.words, c.count);
    shape.documents.assign(c.words, 1);
    shape.key_bytes.assign(c.words, 12);
    SitePlan plan = plan_site(shape, 1000);
    ASSERT_EQ(plan.entry_file.size(), c.words);
    EXPECT_GE(plan.entry_files, 1u);
    EXPECT_LE(plan.entry_files, c.max_files) << c.words;
    for (size_t r = 1; r < c.words; ++r)
      ASSERT_LE(plan.entry_file[r] - plan.entry_file[r - 1], 1u);
    EXPECT_EQ(plan.entry_file.back() + 1, plan.entry_files);
  }
}

TEST(PlanSite, ContextLinesAreCappedByTheOptionAndTheBudget) {
  CorpusShape shape;
  // 50 MB of text whose commonest word is a tenth of it.
  shape.input_bytes = shape.text_bytes = shape.text_code_points = 50u << 20;
  const uint64_t tokens = shape.text_bytes / 8;
  shape.counts = {tokens / 10, tokens / 20, 5, 1};
  shape.documents = {500, 500, 2, 1};
  shape.key_bytes = {6, 6, 6, 6};
  SitePlan plan = plan_site(shape, 1000);
  EXPECT_EQ(plan.lines_cap, 1000u);
  EXPECT_EQ(plan_site(shape, 20).lines_cap, 20u);
  // Ten million one-letter words: the contexts cannot all fit in 4x.
  shape.counts = {tokens};
  shape.documents = {500};
  shape.key_bytes = {2};
  SitePlan tight = plan_site(shape, tokens);
  EXPECT_LT(tight.lines_cap, tokens / 2);
  EXPECT_GT(tight.lines_cap, 100000u);
}

}  // namespace
}  // namespace velmor
