#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "indexer/testing/icu_words.h"
#include "indexer/words/words.h"

namespace velmor {
namespace {

std::vector<std::string> words_of(std::string_view line) {
  WordSplitter splitter;
  std::vector<WordSpan> spans;
  splitter.split(line, spans);
  std::vector<std::string> out;
  for (WordSpan s : spans) out.emplace_back(line.substr(s.begin, s.length));
  return out;
}

using Words = std::vector<std::string>;

TEST(WordSplitter, SplitsLikeUnicodeWordBoundaries) {
  struct Case {
    const char* line;
    Words words;
  } cases[] = {
      {"", {}},
      {"  ,.;!  ", {}},
      {"Čas je zlato, žaba skače.", {"Čas", "je", "zlato", "žaba", "skače"}},
      {"Die Straße heißt STRASSE.", {"Die", "Straße", "heißt", "STRASSE"}},
      {"Η ΟΔΟΣ και η οδός", {"Η", "ΟΔΟΣ", "και", "η", "οδός"}},
      {"Съешь же ещё этих булок", {"Съешь", "же", "ещё", "этих", "булок"}},
      {"l'homme don't rock’n’roll", {"l'", "homme", "don't", "rock’n’roll"}},
      {"'quoted' words", {"quoted", "words"}},
      {"well-known e-mail -dash-", {"well", "known", "e", "mail", "dash"}},
      {"pi is 3.14, year 2026, 1,000 and v2", {"pi", "is", "3.14", "year", "2026", "1,000", "and", "v2"}},
      {"snake_case <https://example.org/x>", {"snake_case", "https", "example.org", "x"}},
      {"a < b & c", {"a", "b", "c"}},
      {"東京は日本の首都です", {"東京", "は", "日本", "の", "首都", "です"}},
      {"emoji 😀 here", {"emoji", "here"}},
      {"e\xCC\x81t\xC3\xA9", {"e\xCC\x81t\xC3\xA9"}},  // combining accent stays in its word
      {"tab\tseparated\xC2\xA0nbsp", {"tab", "separated", "nbsp"}},
  };
  for (const Case& c : cases) EXPECT_EQ(words_of(c.line), c.words) << c.line;
}

TEST(WordSplitter, SpansAreByteOffsetsAndTheBufferIsReplaced) {
  WordSplitter splitter;
  std::vector<WordSpan> spans{{99, 99}};
  splitter.split("žaba  in", spans);
  ASSERT_EQ(spans.size(), 2u);
  EXPECT_EQ(spans[0].begin, 0u);
  EXPECT_EQ(spans[0].length, 5u);
  EXPECT_EQ(spans[1].begin, 7u);
  EXPECT_EQ(spans[1].length, 2u);
  splitter.split("", spans);
  EXPECT_TRUE(spans.empty());
}

// The splitter takes the pieces of a line made of letters of alphabetic
// scripts, digits and the ASCII marks without ICU; on any line it must find
// exactly what ICU finds in the whole line.
TEST(WordSplitter, AgreesWithIcuOnRandomLines) {
  const char* pieces[] = {"a", "Z", "q", "0", "7", "'", ".", ",", ";", ":", "_", "@", "-", " ", "  ", "\t", "\"", "!",
                          "/", "é", "\xCC\x81", "č", "ß", "東", "京", "ク", "\xE2\x80\x8D", "\xC2\xAD", "😀", "ا",
                          "\xD7\x90", "’", "\xC2\xA0", "１", "٣", "🇸", "🇮", "ｶ",
                          // letters and marks of alphabetic scripts, which skip ICU, beside
                          // the marks and letters that must not. Left out: a mark that is
                          // also a letter (U+FF9E), which ICU joins to a blank before it.
                          "ό", "Σ", "ж", "ł", "ŉ", "ह", "\xE0\xA4\xBF", "\xE0\xA5\x8D", "ب", "\xD7\xB3", "·",
                          "\xCE\x87", "‘", "．", "․", "ア", "ก", "Ⓐ", "ʼ", "‿", "Ａ", "\xCC\xA3", "한", "국", "ᄀ",
                          "ㄱ", "あ", "ゝ", "ລ", "ក", "\xD9\x8B", "ꀀ", "ሀ", "Ꭰ", "ཀ", "ᠠ", "ᐁ", "ㄅ", "𐌰", "ℵ", "ǅ",
                          "\xE2\x80\x8C", "\xEF\xB8\x8F"};
  std::mt19937 random(2026);
  WordRules unicode_only;  // the rules after Unicode's segmentation are tested apart
  unicode_only.split_elision = false;
  WordSplitter splitter(unicode_only);
  std::vector<WordSpan> spans;
  for (int round = 0; round < 20000; ++round) {
    std::string line;
    size_t length = random() % 14;
    for (size_t i = 0; i < length; ++i) line += pieces[random() % std::size(pieces)];
    splitter.split(line, spans);
    std::vector<std::string> words;
    for (WordSpan s : spans) words.push_back(line.substr(s.begin, s.length));
    ASSERT_EQ(words, icu_words_of(line)) << "line: " << line;
  }
}

TEST(FoldKey, WrittenFormsOfOneWordMeet) {
  struct Case {
    const char* word;
    const char* key;
  } cases[] = {
      {"Straße", "strasse"},
      {"STRASSE", "strasse"},
      {"ẞ", "ss"},
      {"ΟΔΟΣ", "οδοσ"},
      {"οδος", "οδοσ"},  // final sigma
      {"ΟΔΌΣ", "οδόσ"},
      {"οδός", "οδόσ"},
      {"ČAS", "čas"},
      {"čas", "čas"},
      {"e\xCC\x81t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},  // NFC first: é from e + accent
      {"ÉTÉ", "\xC3\xA9t\xC3\xA9"},
      {"МОСКВА", "москва"},
      {"Don't", "don't"},
      {"3.14", "3.14"},
      {"東京", "東京"},
      {"ﬁle", "file"},
      {"İstanbul", "i\xCC\x87stanbul"},
  };
  for (const Case& c : cases) EXPECT_EQ(fold_key(c.word), c.key) << c.word;
}

TEST(FoldKey, AccentsAndLettersStayApart) {
  EXPECT_NE(fold_key("čas"), fold_key("cas"));
  EXPECT_NE(fold_key("οδός"), fold_key("οδος"));
  std::string out = "left over";
  fold_key("Ab", out);
  EXPECT_EQ(out, "ab");
}

}  // namespace
}  // namespace velmor
