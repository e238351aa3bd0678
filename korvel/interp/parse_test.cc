#include "korvel/interp/parse.h"

#include <gtest/gtest.h>

#include "korvel/interp/chcp.h"
#include "korvel/interp/findstr_regex.h"

namespace korvel {

TEST(SplitWords, QuotesGroupBlanksAndAreRemoved) {
  std::vector<Word> words = split_words("copy  \"My Report (2).txt\"\tMy_Report__2_.txt /Y");
  ASSERT_EQ(words.size(), 4u);
  EXPECT_EQ(words[1].text, "My Report (2).txt");
  EXPECT_TRUE(words[1].quoted);
  EXPECT_EQ(words[2].text, "My_Report__2_.txt");
  EXPECT_TRUE(is_switch(words[3]));
  EXPECT_FALSE(is_switch(split_words("\"/x\"")[0]));
}

TEST(RefusedChar, OnlyOutsideQuotes) {
  EXPECT_EQ(refused_char("dir & del x"), '&');
  EXPECT_EQ(refused_char("dir | sort"), '|');
  EXPECT_EQ(refused_char("sort < x"), '<');
  EXPECT_EQ(refused_char("echo ^x"), '^');
  EXPECT_EQ(refused_char("md \"a & b|<^\""), 0);
}

TEST(CutRedirections, TakesTargetAndMode) {
  struct Case {
    const char* line;
    const char* command;
    const char* target;
    bool append;
  } cases[] = {
      {"dir /b *. > dir_01.txt", "dir /b *.  ", "dir_01.txt", false},
      {"dir /b  txt_in\\*.htm >> txt_file.txt", "dir /b  txt_in\\*.htm  ", "txt_file.txt", true},
      {"cmd /c find /i \".exe\" check_01.txt >  check_02.txt", "cmd /c find /i \".exe\" check_01.txt  ", "check_02.txt",
       false},
      {"dir >x.txt /b", "dir   /b", "x.txt", false},
      {"dir > \"a b.txt\"", "dir  ", "a b.txt", false},
      {"find \"a>b\" x", "find \"a>b\" x", "", false},
  };
  for (const Case& c : cases) {
    std::string command;
    Redirection redirection;
    ASSERT_TRUE(cut_redirections(c.line, command, redirection)) << c.line;
    EXPECT_EQ(command, c.command) << c.line;
    EXPECT_EQ(redirection.target, c.target) << c.line;
    EXPECT_EQ(redirection.append, c.append) << c.line;
  }
  std::string command;
  Redirection redirection;
  EXPECT_FALSE(cut_redirections("dir >  ", command, redirection));
}

TEST(FindstrMatch, Table) {
  struct Case {
    const char* regex;
    const char* line;
    bool ignore_case;
    bool matches;
  } cases[] = {
      {".exe", "a.EXE", true, true},    {".exe", "a.EXE", false, false},
      {".exe", "exe", true, false},     {".exe", "xexe", true, true},
      {"^abc", "abcd", false, true},    {"^abc", "xabc", false, false},
      {"abc$", "xabc", false, true},    {"abc$", "abcx", false, false},
      {"a*b", "b", false, true},        {"a.*z", "a123z", false, true},
      {"a.*z", "a123", false, false},   {"\\.exe", "aexe", false, false},
      {"\\.exe", "a.exe", false, true}, {"[0-9][0-9]*x", "a12x", false, true},
      {"[^a-z]", "abc", false, false},  {"[A-C]x", "bx", true, true},
      {"^$", "", false, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(findstr_match(c.regex, c.line, c.ignore_case), c.matches) << c.regex << " " << c.line;
}

TEST(CodePage, KnownSetsAndFallback) {
  EXPECT_EQ(code_page_of("UTF-8"), 65001);
  EXPECT_EQ(code_page_of("utf-8"), 65001);
  EXPECT_EQ(code_page_of("ANSI_X3.4-1968"), 20127);
  EXPECT_EQ(code_page_of("ISO-8859-1"), 28591);
  EXPECT_EQ(code_page_of("KOI8-R"), 20866);
  EXPECT_EQ(code_page_of("no-such-set"), 65001);
}

}  // namespace korvel
