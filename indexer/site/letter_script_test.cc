#include "indexer/site/letter_script.h"

#include <gtest/gtest.h>

namespace velmor {
namespace {

TEST(LetterScript, LookAlikeLettersNameTheirScripts) {
  const std::pair<const char*, const char*> cases[] = {
      {"M", "Latin"},
      {"\xCE\x9C", "Greek"},     // Μ
      {"\xD0\x90", "Cyrillic"},  // А
      {"\xC5\xBD", "Latin"},
      {"Dž", "Latin"},               // Ž, a digraph by its first letter
      {"\xE3\x81\x82", "Hiragana"},  // あ
      {"\xE6\xBC\xA2", "Han"},       // 漢
      {"0-9", ""},
      {"#", ""},
      {"", ""},
      {"\xFF", ""},  // no script; not UTF-8
  };
  for (const auto& [letter, script] : cases) EXPECT_EQ(letter_script(letter), script) << letter;
}

}  // namespace
}  // namespace velmor
