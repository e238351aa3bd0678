#include "common/lines.h"

#include <gtest/gtest.h>

namespace common {
namespace {

TEST(Lines, EndAtLfAndCrLfAndALoneCrWhereAsked) {
  struct Case {
    std::string_view text;
    std::vector<std::string> in_line, ends_line;
  } cases[] = {
      {"", {}, {}},
      {"one", {"one"}, {"one"}},
      {"one\r\ntwo\n", {"one", "two"}, {"one", "two"}},
      {"\r\n\n", {"", ""}, {"", ""}},
      {"\n\nx\r\n\r\n", {"", "", "x", ""}, {"", "", "x", ""}},
      {"a\rb\r\n", {"a\rb"}, {"a", "b"}},
      {"one\r\ntwo\rthree\nfour", {"one", "two\rthree", "four"}, {"one", "two", "three", "four"}},
      {"end\r", {"end"}, {"end"}},
      {"\r\r\n", {"\r"}, {"", ""}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = {"kept"};
    split_lines(c.text, lines);
    lines.erase(lines.begin());
    EXPECT_EQ(lines, c.in_line) << c.text;
    lines.clear();
    split_lines(c.text, lines, LoneCr::kEndsLine);
    EXPECT_EQ(lines, c.ends_line) << c.text;
  }
}

}  // namespace
}  // namespace common
