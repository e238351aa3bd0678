#include "indexer/site/doc_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "indexer/site/formats.h"
#include "indexer/site/memory_corpus.h"

namespace velmor {
namespace {

Document doc(std::vector<std::string> lines) {
  Document d;
  d.file_name = d.title = "t";
  d.lines = std::move(lines);
  return d;
}

std::string word_text(const std::string& text, const StoredWord& w) {
  // Test texts below are ASCII where asked, so units are bytes there.
  return text.substr(w.start, w.length);
}

TEST(TextStore, TheExampleOfTheFormatEncodesAsWritten) {
  EXPECT_EQ(encode_words({{4, 0, 2}, {9, 3, 2}, {4, 6, 2}}), "%'%(%$#&$#");
}

TEST(TextStore, NumbersTakeOneDigitBelowTheBaseAndMoreAbove) {
  const struct { uint64_t value; std::string written; } cases[] = {
      {0, "#"}, {44, "P"}, {45, "Q$"}, {46, "R$"}, {2024, "~P"}, {2025, "QQ$"}};
  for (const auto& c : cases) {
    std::string out;
    append_store_number(out, c.value);
    EXPECT_EQ(out, c.written) << c.value;
  }
}

TEST(TextStore, WordsStandWhereTheBrowserCountsThemAcrossLines) {
  MemoryCorpus corpus({doc({"ab  cd", "", "éf 𝒳g hi", "jk"})}, "");
  std::vector<StoredWord> words = stored_words(corpus, 0);
  ASSERT_EQ(words.size(), 6u);
  // Text in UTF-16 units: "ab  cd\n\néf 𝒳g hi\njk" with 𝒳 two units.
  const uint32_t starts[] = {0, 4, 8, 11, 15, 18};
  const uint32_t lengths[] = {2, 2, 2, 3, 2, 2};
  for (size_t i = 0; i < words.size(); ++i) {
    EXPECT_EQ(words[i].start, starts[i]) << i;
    EXPECT_EQ(words[i].length, lengths[i]) << i;
    EXPECT_EQ(corpus.word(words[i].rank).key,
              std::vector<std::string>({"ab", "cd", "éf", "𝒳g", "hi", "jk"})[i]);
  }
  EXPECT_EQ(word_text("ab  cd\n\n", words[1]), "cd");
}

TEST(TextStore, TheTextCannotEndItsScript) {
  const struct { std::string in, out; } cases[] = {
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"</script>", "\"\\x3c/script>\""},
      {"x\ry\t\x01", "\"x\\x0dy\\x09\\x01\""},
      {"a\xE2\x80\xA8" "b\xE2\x80\xA9", "\"a\\u2028b\\u2029\""},
      {"Straße €", "\"Straße €\""},
  };
  for (const auto& c : cases) {
    std::string out;
    append_js_literal(out, c.in);
    EXPECT_EQ(out, c.out);
  }
}

TEST(TextStore, AFileHoldsTheTextOnceAndItsWords) {
  auto dir = std::filesystem::temp_directory_path() / "velmor_text_store_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "text");
  MemoryCorpus corpus({doc({"one two", "one"}), doc({})}, "");
  write_text_store(corpus, 0, 3, dir);
  write_text_store(corpus, 1, 3, dir);
  std::ifstream in(dir / "text" / "d_0001.js", std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  const std::string expected_code = encode_words(stored_words(corpus, 0));
  EXPECT_EQ(s.str(), "\xEF\xBB\xBFvelmorText(1,\"one two\\none\",\"" + expected_code + "\",[]);\n");
  EXPECT_TRUE(std::filesystem::exists(dir / "text" / "d_0002.js"));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velmor
