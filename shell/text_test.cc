#include "shell/text.h"

#include <gtest/gtest.h>

namespace {

TEST(TextTest, CaseChangesOnlyAsciiLetters) {
  EXPECT_EQ(to_lower_ascii("ABC_xyz-\xC3\x84"), "abc_xyz-\xC3\x84");
  EXPECT_EQ(to_upper_ascii("abc_XYZ[`{@"), "ABC_XYZ[`{@");
}

TEST(TextTest, TrimRemovesBlanksOnly) {
  struct Case {
    const char* in;
    const char* both;
    const char* trailing;
  } cases[] = {
      {"  a b  ", "a b", "  a b"},
      {"\ta\t", "\ta\t", "\ta\t"},
      {"    ", "", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(trim_blanks(c.in), c.both) << c.in;
    EXPECT_EQ(trim_trailing_blanks(c.in), c.trailing) << c.in;
  }
}

TEST(TextTest, FindIgnoresAsciiCaseOnly) {
  struct Case {
    const char* haystack;
    const char* needle;
    size_t at;
  } cases[] = {
      {"Report.TXT", ".txt", 6},
      {"a.txt.htm", ".htm", 5},
      {"a.htm", ".txt", std::string_view::npos},
      {"x", "longer", std::string_view::npos},
      {"abc", "", 0},
      {"\xC3\xA4.txt", "\xC3\x84", std::string_view::npos},  // no case folding beyond ASCII
  };
  for (const Case& c : cases) EXPECT_EQ(find_ignore_case(c.haystack, c.needle), c.at) << c.haystack;
  EXPECT_TRUE(equals_ignore_case("VELMOR_X.EXE", "velmor_x.exe"));
  EXPECT_FALSE(equals_ignore_case("a", "ab"));
}

TEST(TextTest, LinesEndAtLfOrCrLfAndALoneCrStays) {
  struct Case {
    std::string_view text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"one\r\ntwo\n", {"one", "two"}},
      {"last without end", {"last without end"}},
      {"\r\n\n", {"", ""}},
      {"a\rb\r\n", {"a\rb"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines;
    split_lines(c.text, lines);
    EXPECT_EQ(lines, c.lines) << c.text;
  }
}

}  // namespace
