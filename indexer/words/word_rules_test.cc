#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "indexer/words/words.h"

namespace velmor {
namespace {

using Words = std::vector<std::string>;

Words words_of(std::string_view line, WordRules rules = {}) {
  WordSplitter splitter(rules);
  std::vector<WordSpan> spans;
  splitter.split(line, spans);
  Words out;
  for (WordSpan s : spans) out.emplace_back(line.substr(s.begin, s.length));
  return out;
}

TEST(WordRules, ElidedArticlesAreWordsOfTheirOwn) {
  struct Case {
    const char* line;
    Words words;
  } cases[] = {
      // French
      {"l'utilisateur d’abord", {"l'", "utilisateur", "d’", "abord"}},
      {"L'Option qu'il jusqu'à lorsqu'elle", {"L'", "Option", "qu'", "il", "jusqu'", "à", "lorsqu'", "elle"}},
      {"c'est n'importe s'il j'ai m'a t'es",
       {"c'", "est", "n'", "importe", "s'", "il", "j'", "ai", "m'", "a", "t'", "es"}},
      {"aujourd'hui l'élève l'2", {"aujourd'hui", "l'", "élève", "l", "2"}},
      {"QU’ÉLU puisqu'on quoiqu'il", {"QU’", "ÉLU", "puisqu'", "on", "quoiqu'", "il"}},
      // Italian
      {"dell'arte all'uscita nell'anno sull'isola",
       {"dell'", "arte", "all'", "uscita", "nell'", "anno", "sull'", "isola"}},
      {"un'altra quest'anno c'è l'ultimo", {"un'", "altra", "quest'", "anno", "c'", "è", "l'", "ultimo"}},
      // English stays whole
      {"don't O'Brien rock'n'roll it's", {"don't", "O'Brien", "rock'n'roll", "it's"}},
      {"Dell's Nell's y'all o'clock", {"Dell's", "Nell's", "y'all", "o'clock"}},
      // German, Turkish and Greek have no elided articles to split
      {"Über die Straße geht's", {"Über", "die", "Straße", "geht's"}},
      {"İstanbul'da ısık Türkiye'nin", {"İstanbul'da", "ısık", "Türkiye'nin"}},
      {"Η οδός τ' αστέρια", {"Η", "οδός", "τ", "αστέρια"}},
      // Dots and @ join: a file name, an abbreviation, an address
      {"a.out e.g. user@example.org 3.14", {"a.out", "e.g", "user@example.org", "3.14"}},
  };
  for (const Case& c : cases) EXPECT_EQ(words_of(c.line), c.words) << c.line;
}

TEST(WordRules, EachRuleSwitchesOff) {
  WordRules whole;
  whole.split_elision = false;
  EXPECT_EQ(words_of("l'utilisateur dell'arte", whole), (Words{"l'utilisateur", "dell'arte"}));
  EXPECT_EQ(fold_key("L’Option"), "l'option");
  EXPECT_EQ(fold_key("Lʼoption"), "l'option");
  WordRules kept;
  kept.unify_apostrophes = false;
  EXPECT_EQ(key_function(kept)("L’Option"), "l’option");
  EXPECT_EQ(key_function(WordRules{})("L’Option"), "l'option");
}

TEST(WordRules, KeysOfElidedFormsMeetTheWholeWord) {
  struct Case {
    const char* line;
    Words keys;
  } cases[] = {
      {"L’utilisateur, l'utilisateur et UTILISATEUR", {"l'", "utilisateur", "l'", "utilisateur", "et", "utilisateur"}},
      {"Dell’Arte dell'arte", {"dell'", "arte", "dell'", "arte"}},
      {"ΟΔΟΣ οδος", {"οδοσ", "οδοσ"}},
      {"İSİM isim", {"i̇si̇m", "isim"}},  // identity keys keep the dot; the search key drops it
  };
  for (const Case& c : cases) {
    Words keys;
    for (const std::string& w : words_of(c.line)) keys.push_back(fold_key(w));
    EXPECT_EQ(keys, c.keys) << c.line;
  }
}

// "\u0308" in the table stands for the code point, so combining marks can
// be written visibly.
std::string unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s.compare(i, 2, "\\u") == 0 && i + 6 <= s.size()) {
      unsigned c = static_cast<unsigned>(std::stoul(s.substr(i + 2, 4), nullptr, 16));
      if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
      } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      }
      out += static_cast<char>(0x80 | (c & 0x3F));
      i += 5;
    } else {
      out += s[i];
    }
  }
  return out;
}

TEST(SearchKey, ForgivesWhatAReaderDoesNotType) {
  std::ifstream table(VELMOR_SEARCH_KEY_CASES);
  ASSERT_TRUE(table) << VELMOR_SEARCH_KEY_CASES;
  int cases = 0;
  for (std::string line; std::getline(table, line);) {
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos) << line;
    EXPECT_EQ(search_key(unescape(line.substr(0, tab))), line.substr(tab + 1)) << line;
    ++cases;
  }
  EXPECT_GT(cases, 20);
}

}  // namespace
}  // namespace velmor
