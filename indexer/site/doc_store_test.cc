#include "indexer/site/doc_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "indexer/site/formats.h"
#include "indexer/site/lists.h"

#include <algorithm>
#include <random>
#include "indexer/site/memory_corpus.h"
#include "indexer/site/radix_sort.h"

namespace velmor {
namespace {

Document doc(std::vector<std::string> lines) {
  Document d;
  d.file_name = d.title = "t";
  d.lines = std::move(lines);
  return d;
}

// Every escaper of text that lands in a script, one table: a string
// literal, the document's template literal, and JSON titles and forms.
TEST(TextStore, TheTextCannotEndItsScript) {
  using Append = void (*)(std::string&, std::string_view);
  const struct {
    Append append;
    std::string in, out;
  } cases[] = {
      {append_js_literal, "a\"b\\c", "\"a\\\"b\\\\c\""},
      {append_js_literal, "</script>", "\"\\x3c/script>\""},
      {append_js_literal, "x\ry\t\x01", "\"x\\x0dy\\x09\\x01\""},
      {append_js_literal, "a\xE2\x80\xA8" "b\xE2\x80\xA9", "\"a\\u2028b\\u2029\""},
      {append_js_literal, "Straße €", "\"Straße €\""},
      {append_js_template_chars, "a`b\\c${d}", "a\\`b\\\\c\\${d}"},
      {append_js_template_chars, "x\ry\t\n\x01", "x\\x0dy\\x09\n\\x01"},
      {append_js_template_chars, "</script> \xE2\x80\xA8 Straße", "\\x3c/script> \xE2\x80\xA8 Straße"},
      {append_json_string, "a\"b\\c", "\"a\\\"b\\\\c\""},
      {append_json_string, "<b>&amp;</b>", "\"\\u003cb\\u003e\\u0026amp;\\u003c/b\\u003e\""},
      {append_json_string, "x\ny\x01 Straße", "\"x\\u000ay\\u0001 Straße\""},
      {append_json_string, "", "\"\""},
  };
  for (const auto& c : cases) {
    std::string out;
    c.append(out, c.in);
    EXPECT_EQ(out, c.out) << c.in;
  }
}

TEST(TextStore, AFileHoldsTheTextOnceAndItsWords) {
  auto dir = std::filesystem::temp_directory_path() / "velmor_text_store_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "text" / "000");
  std::filesystem::create_directories(dir / "text" / "001");
  MemoryCorpus corpus({doc({"one two", "one"}), doc({})}, "");
  write_text_store(corpus, 0, 3, 1, dir);
  write_text_store(corpus, 1, 3, 1, dir);
  std::ifstream in(dir / "text" / "000" / "d_0001.js", std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  const std::string expected_code = encode_words(stored_words(corpus, 0));
  const DocumentInfo& info = corpus.document(0);
  EXPECT_EQ(s.str(), "\xEF\xBB\xBFvelmorText(1,`one two\none`,\"" + expected_code + "\",[],[\"" + info.title +
                         "\",\"" + info.file_name + "\",3,2,2],\"%\");\n");  // two lines, two stretches: from word 2, "%"
  EXPECT_TRUE(std::filesystem::exists(dir / "text" / "001" / "d_0002.js"));
  std::filesystem::remove_all(dir);
}

TEST(RadixSort, OrdersAsAStableSortByKey) {
  std::mt19937_64 random(7);
  struct Case {
    size_t items;
    uint64_t mask;  // the key bits that vary
  } cases[] = {
      {100, 0xFFFFF0000000Full},       // below the size that uses the passes
      {3000, 0xFFFFF0000000Full},      // ranks and lengths, as a document's are
      {3000, 0xFF00000000000000ull},   // the top byte only, many ties
      {3000, 0x8000000000000001ull},   // the outer bits of the outer bytes
      {3000, 0},                       // all keys equal
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
