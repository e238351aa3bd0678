#include "indexer/site/text_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/test_files.h"
#include "indexer/site/formats.h"

#include <algorithm>
#include <random>
#include "indexer/testing/memory_corpus.h"
#include "indexer/site/radix_sort.h"

namespace velmor {
namespace {

Document doc(std::vector<std::string> lines) {
  Document d;
  d.file_name = d.title = "t";
  d.lines = std::move(lines);
  return d;
}

TEST(TextStore, AFileHoldsTheTextOnceAndItsWords) {
  const common::WorkFolder work("velmor_text_store");
  const std::filesystem::path& dir = work.path;
  std::filesystem::create_directories(dir / "text" / "000");
  std::filesystem::create_directories(dir / "text" / "001");
  MemoryCorpus corpus({doc({"one two", "one"}), doc({})}, "");
  write_text_store(corpus, 0, keywords(corpus, 0, 3, KeywordOptions{}), 1, dir);
  write_text_store(corpus, 1, keywords(corpus, 1, 3, KeywordOptions{}), 1, dir);
  const std::string expected_code = encode_words(stored_words(corpus, 0));
  const DocumentInfo& info = corpus.document(0);
  EXPECT_EQ(common::read_file(dir / "text" / "000" / "d_0001.js"),
            "\xEF\xBB\xBFvelmorText(1,`one two\none`,\"" + expected_code + "\",[],[\"" + info.title + "\",\"" +
                info.file_name + "\",3,2,2],\"%\");\n");
  // two lines, two stretches: from word 2, "%"
  EXPECT_TRUE(std::filesystem::exists(dir / "text" / "001" / "d_0002.js"));
}

TEST(RadixSort, OrdersAsAStableSortByKey) {
  std::mt19937_64 random(7);
  struct Case {
    size_t items;
    uint64_t mask;  // the key bits that vary
  } cases[] = {
      {100, 0xFFFFF0000000Full},      // below the size that uses the passes
      {3000, 0xFFFFF0000000Full},     // ranks and lengths, as a document's are
      {3000, 0xFF00000000000000ull},  // the top byte only, many ties
      {3000, 0x8000000000000001ull},  // the outer bits of the outer bytes
      {3000, 0},                      // all keys equal
  };
  for (const Case& c : cases) {
    std::vector<std::pair<uint64_t, uint32_t>> items;
    for (uint32_t i = 0; i < c.items; ++i) items.emplace_back(random() & c.mask, i);
    auto expected = items;
    std::stable_sort(expected.begin(), expected.end(), [](auto& a, auto& b) { return a.first < b.first; });
    radix_sort_by_key(items);
    EXPECT_EQ(items, expected) << c.items << " items, mask " << std::hex << c.mask;
  }
}

}  // namespace
}  // namespace velmor
