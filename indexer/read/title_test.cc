#include "indexer/read/title.h"

#include <gtest/gtest.h>

namespace velmor {
namespace {

TEST(TextPageTitle, TheNameUnlessItLostItsLetters) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::string title;
  } cases[] = {
      {"notes.htm", {"First line"}, "notes.htm"},
      {"man_1_ls.htm", {"LS(1)"}, "man_1_ls.htm"},
      {"______.htm", {"", "  \t", "  Дорогой друг,  ", "x"}, "Дорогой друг,"},
      {"________1.htm", {"--- ***", "Письмо 1"}, "Письмо 1"},
      {"______.htm", {"", "..."}, "______.htm"},
      {"______.htm", {"LS(1)\t   Команды \t LS(1) "}, "LS(1) Команды LS(1)"},  // no line to name it by
      {"______.htm", {std::string(100, 'a')}, std::string(80, 'a') + "…"},
      {"______.htm", {std::string(79, 'a') + "ž" + "ž"}, std::string(79, 'a') + "ž…"},
  };
  for (const Case& c : cases) EXPECT_EQ(text_page_title(c.name, c.lines), c.title) << c.name;
}

}  // namespace
}  // namespace velmor
