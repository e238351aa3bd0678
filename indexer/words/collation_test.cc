#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "indexer/words/words.h"

namespace velmor {
namespace {

std::vector<std::string> sorted(const std::string& locale, std::vector<std::string> words) {
  Collation collation(locale);
  std::sort(words.begin(), words.end(),
            [&](const std::string& a, const std::string& b) { return collation.sort_key(a) < collation.sort_key(b); });
  return words;
}

using Words = std::vector<std::string>;

TEST(Collation, OrdersByTheLocale) {
  struct Case {
    const char* locale;
    Words in, out;
  } cases[] = {
      {"", {"d", "č", "c", "cz"}, {"c", "č", "cz", "d"}},
      {"sl", {"d", "čas", "cvet", "cas", "ž", "z"}, {"cas", "cvet", "čas", "d", "z", "ž"}},
      {"sl_SI", {"d", "čas", "cvet"}, {"cvet", "čas", "d"}},
      {"de",
       {"Zebra", "Äpfel", "Apfel", "Straße", "Strasse", "Ofen", "Öl"},
       {"Apfel", "Äpfel", "Ofen", "Öl", "Strasse", "Straße", "Zebra"}},
      {"root", {"b", "B", "a", "2026", "10"}, {"10", "2026", "a", "b", "B"}},
      {"cs", {"hrad", "chata", "ihla", "cihla"}, {"cihla", "hrad", "chata", "ihla"}},
  };
  for (const Case& c : cases) EXPECT_EQ(sorted(c.locale, c.in), c.out) << c.locale;
}

TEST(Collation, UnknownLocaleIsRefused) {
  for (const char* name : {"xx", "klingon", "C", "sl!"}) EXPECT_THROW(Collation{name}, std::invalid_argument) << name;
  for (const char* name : {"", "root", "en", "de_DE", "sl-SI"}) EXPECT_NO_THROW(Collation{name}) << name;
  EXPECT_EQ(Collation("").name(), "root");
  EXPECT_EQ(Collation("sl_SI").name(), "sl");
}

TEST(Collation, InitialIsTheLetterTheWordFilesUnder) {
  struct Case {
    const char* locale;
    const char* word;
    const char* initial;
  } cases[] = {
      {"", "čas", "C"},
      {"sl", "čas", "Č"},
      {"sl", "cvet", "C"},
      {"sl", "Čas", "Č"},
      {"", "été", "E"},
      {"", "Ärger", "A"},
      {"", "ßig", "S"},
      {"", "ﬁle", "F"},
      {"", "οδός", "Ο"},
      {"", "ώρα", "Ω"},
      {"", "москва", "М"},
      {"", "2026", "0-9"},
      {"", "3.14", "0-9"},
      {"", "²", "0-9"},
      {"", "東京", "漢"},
      {"cs", "chata", "CH"},
      {"cs", "cihla", "C"},
      {"hu", "dzsungel", "DZS"},
      {"", "Ｚoo", "Z"},
      {"", "_x", "#"},
      {"", "Đorđe", "D"},
      {"hr", "Đorđe", "Đ"},
      {"pl", "Łódź", "Ł"},
      {"", "Łódź", "L"},
      {"", "アメ", "あ"},
      {"ru", "ßig", "S"},
      {"",
       "\xCC\x81"
       "abc",
       "A"},
      {"",
       "\xE2\x80\xAF"
       "abc",
       "#"},  // a stray mark, a narrow blank
  };
  for (const Case& c : cases) EXPECT_EQ(Collation(c.locale).initial(c.word), c.initial) << c.locale << " " << c.word;
}

// An alphabet bar links each letter to one run of words: no initial may
// come back after another one has started.
TEST(Collation, WordsOfOneInitialStandTogether) {
  Words words = {"abc", "Äbc", "b",  "c", "č",  "ć",  "chata", "d",  "đ",  "ez",   "été",
                 "ß",   "sz",  "st", "š", "z",  "ž",  "1",     "٣",  "²",  "αλφα", "άλφα",
                 "ω",   "ж",   "ё",  "е", "東", "ひ", "ﬁ",     "fa", "fj", "Ｚ",   "zz"};
  for (const char* locale : {"", "sl", "cs", "de", "hu", "ru", "el"}) {
    Collation collation(locale);
    Words order = sorted(locale, words);
    std::vector<std::string> seen;
    for (const std::string& w : order) {
      std::string initial = collation.initial(w);
      if (!seen.empty() && seen.back() == initial) continue;
      EXPECT_EQ(std::find(seen.begin(), seen.end(), initial), seen.end())
          << locale << ": " << initial << " again at " << w;
      seen.push_back(initial);
    }
  }
}

TEST(Collation, LocaleFromEnvironment) {
  struct Case {
    const char* all;
    const char* collate;
    const char* lang;
    const char* locale;
  } cases[] = {
      {nullptr, nullptr, nullptr, ""},
      {nullptr, nullptr, "sl_SI.UTF-8", "sl_SI"},
      {nullptr, "de_DE@euro", "sl_SI.UTF-8", "de_DE"},
      {"C.UTF-8", "de_DE", "sl_SI", ""},
      {"", "POSIX", "sl_SI", ""},
  };
  for (const Case& c : cases) {
    auto set = [](const char* name, const char* value) {
      if (value) setenv(name, value, 1);
      else unsetenv(name);
    };
    set("LC_ALL", c.all);
    set("LC_COLLATE", c.collate);
    set("LANG", c.lang);
    EXPECT_EQ(locale_from_environment(), c.locale);
  }
  unsetenv("LC_ALL");
  unsetenv("LC_COLLATE");
  unsetenv("LANG");
}

}  // namespace
}  // namespace velmor
