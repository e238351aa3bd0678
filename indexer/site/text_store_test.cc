#include "indexer/site/text_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/test_files.h"
#include "indexer/site/formats.h"

#include <unicode/unistr.h>

#include <algorithm>
#include <cctype>
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

std::string word_text(const std::string& text, const StoredWord& w) {
  // Test texts below are ASCII where asked, so units are bytes there.
  return text.substr(w.start, w.length);
}

// The decoding formats.h describes, as text_store.js does it.
std::vector<StoredWord> decode_words(const std::string& code, const std::u16string& text) {
  std::vector<uint64_t> n;
  for (uint64_t value = 0, scale = 1; char c : code) {
    const uint64_t d = kDigits.find(c);
    if (d >= kDigitBase) {
      value += (d - kDigitBase) * scale, scale *= kDigitBase;
    } else {
      n.push_back(value + d * scale), value = 0, scale = 1;
    }
  }
  size_t at = 0;
  auto next = [&] { return at < n.size() ? n[at++] : 0; };
  auto separator = [](char16_t u) { return u < 128 && !std::isalnum(u); };
  std::vector<std::pair<uint32_t, int64_t>> pairs(next());
  for (uint64_t rank = 0; auto& p : pairs) {
    const uint64_t v = next();
    rank += v / 2;
    p = {rank, v % 2 ? int64_t(next()) : -1};
  }
  std::vector<size_t> order;
  for (uint64_t f = next(); f > 0; --f) order.push_back(next());
  for (size_t p = 0; p < pairs.size(); ++p)
    if (std::find(order.begin(), order.end(), p) == order.end()) order.push_back(p);
  std::vector<StoredWord> out;
  for (size_t end = 0; at < n.size();) {
    const uint64_t v = next();
    size_t start = end;
    if (v % 2) start += next();
    else while (start < text.size() && separator(text[start])) ++start;
    auto [rank, length] = pairs.at(order.at(v / 2));
    if (length < 0)
      for (length = 0; start + length < text.size() && !separator(text[start + length]);) ++length;
    out.push_back({rank, uint32_t(start), uint32_t(length)});
    end = start + length;
  }
  return out;
}

TEST(TextStore, TheExampleOfTheFormatEncodesAsWritten) {
  MemoryCorpus corpus({doc({"ab cd ab"})}, "");
  EXPECT_EQ(encode_words(stored_words(corpus, 0)), "%#%##%#");
}

TEST(TextStore, WordsDecodeWhereTheyStandWhateverTheGuessesMiss) {
  const std::vector<std::vector<std::string>> texts = {
      {"ab cd ab"},
      {"_ab ab_cd don't a.out 3.14 user@example.org"},
      {"  (lead) \"quoted\", end.", "", "\tnext line", "x"},
      {"日本語の文章です。東京へ行きました", "ことば"},
      {"éf 𝒳g hi — «guillemets» l’homme", "ÉF"},
      {"the the the the of of of and and and a a a to to to in in in is is is it it it"},
      {},
  };
  for (const auto& lines : texts) {
    MemoryCorpus corpus({doc(lines)}, "");
    const std::vector<StoredWord> words = stored_words(corpus, 0);
    std::string joined;
    for (size_t l = 0; l < lines.size(); ++l) joined += (l ? "\n" : "") + lines[l];
    const std::u16string text = icu::UnicodeString::fromUTF8(joined).getTerminatedBuffer();
    const std::vector<StoredWord> back = decode_words(encode_words(words), text);
    ASSERT_EQ(back.size(), words.size()) << joined;
    for (size_t i = 0; i < words.size(); ++i) {
      EXPECT_EQ(back[i].rank, words[i].rank) << joined << " word " << i;
      EXPECT_EQ(back[i].start, words[i].start) << joined << " word " << i;
      EXPECT_EQ(back[i].length, words[i].length) << joined << " word " << i;
    }
  }
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
  EXPECT_EQ(common::read_file(dir / "text" / "000" / "d_0001.js"), "\xEF\xBB\xBFvelmorText(1,`one two\none`,\"" + expected_code + "\",[],[\"" + info.title +
                         "\",\"" + info.file_name + "\",3,2,2],\"%\");\n");  // two lines, two stretches: from word 2, "%"
  EXPECT_TRUE(std::filesystem::exists(dir / "text" / "001" / "d_0002.js"));
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
