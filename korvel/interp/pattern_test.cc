#include "korvel/interp/pattern.h"
#include "korvel/interp/entries.h"
#include "korvel/interp/path.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace korvel {

TEST(ShortName, FollowsTheNtfsRule) {
  struct Case {
    const char* name;
    const char* expected;
  } cases[] = {
      {"index.html", "INDEX~1.HTM"},     {"notes.txt_old", "NOTES~1.TXT"}, {"notes.txt.bak", "NOTEST~1.BAK"},
      {"My Notes.html", "MYNOTE~1.HTM"}, {"a+b;c.text", "A_B_C~1.TEX"},    {"longfoldername", "LONGFO~1"},
      {".profile", "PROFIL~1"},
  };
  for (const Case& c : cases) EXPECT_EQ(short_name(c.name), c.expected) << c.name;
}

TEST(ShortName, KnowsWhichNamesAreShortAlready) {
  for (const char* name : {"a.txt", "README", "VELMOR~1.EXE", "abcdefgh.htm", "x_1.c"})
    EXPECT_TRUE(is_short_name(name)) << name;
  for (const char* name : {"index.html", "abcdefghi.txt", "a.b.c", "my file.txt", "a+b.txt", ".x", "a."})
    EXPECT_FALSE(is_short_name(name)) << name;
}

TEST(NameMatches, CmdRules) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"*", "anything.txt", true},
      {"*.*", "README", true},
      {"*.*", "a.b.c", true},
      {"*.", "htm_in", true},
      {"*.", "a.txt", false},
      {"*.", ".", true},
      {"*", "..", true},
      {"*.txt", "..", false},
      {"velmor_*.exe", "VELMOR_X.EXE", true},
      {"velmor_*.exe", "velmor_x.exe.bak", false},
      {"*.htm", "index.html", true},
      {"*.htm", "page.htm", true},
      {"*.txt", "notes.txt_old", true},
      {"*.txt", "notes.txt.bak", false},
      {"*.txt", "a.TXT", true},
      {"a?c.txt", "abc.txt", true},
      {"a?c.txt", "ac.txt", false},
      {"check_*.txt", "check_01.txt", true},
      {"check_*.txt", "xcheck_01.txt", false},
      {"README.", "readme", true},
      {"x*.*", "xyz", true},
      {"*.htm", "a.htmx", true},
  };
  for (const Case& c : cases) EXPECT_EQ(name_matches(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

TEST(ListingOrder, UpperCasesLettersOnly) {
  std::vector<std::string> names = {"_x.txt", "b.txt", "Z.TXT", "a1.txt", "A.txt", "10", "9"};
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return listing_before(a, b); });
  EXPECT_EQ(names, (std::vector<std::string>{"10", "9", "A.txt", "a1.txt", "b.txt", "Z.TXT", "_x.txt"}));
}

// A listing sorts by a key of its names' first eight bytes before it
// compares whole names: the order must be the one listing_before gives.
TEST(ListingOrder, ListingsSortAsNamesCompare) {
  std::vector<std::string> names = {
      "abcdefgh", "ABCDEFGH", "abcdefghi", "abcdefg", "abcdefgH.txt",         "ABCDEFGh",     "abc",
      "ab",       "a",        "b_",        "B",       "\xc3\xa9t\xc3\xa9",    "~korvel",      "Zz.txt",
      "zZ.TXT",   "_x",       "10",        "9",       "report-1 (draft).TXT", "report_1.txt", "Report-1 (Draft).txt"};
  Entries entries;
  for (const std::string& name : names) entries.add(name, false);
  entries.sort();
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return listing_before(a, b); });
  std::vector<std::string> listed;
  for (const Entry& entry : entries) listed.emplace_back(entry.name);
  EXPECT_EQ(listed, names);
}

// Copies share the names of the listing they came from. A name read from
// one of them must outlive whatever is added to the others, which could
// move the shared bytes (AddressSanitizer sees a view left behind).
TEST(ListingOrder, SharedNamesStayWhileOthersGrow) {
  Entries kept;
  kept.add("b.txt", false);
  kept.add("sub", true);
  kept.add("a.htm", false);
  Entries texts = kept;
  Entries copy = kept;
  std::string_view kept_name = kept[2].name, text_name = texts[0].name;  // "b.txt"
  for (int i = 0; i < 1000; ++i) copy.add("c" + std::to_string(i) + ".txt", false);
  for (int i = 0; i < 1000; ++i) texts.add("d" + std::to_string(i) + ".txt", false);
  EXPECT_EQ(kept_name, "a.htm");
  EXPECT_EQ(text_name, "b.txt");
  EXPECT_EQ(kept.size(), 3u);
  EXPECT_TRUE(kept[1].is_folder);
  EXPECT_EQ(copy[3].name, "c0.txt");
  EXPECT_EQ(texts[3].name, "d0.txt");
}

// "*.txt" has a quick path that never makes the short name; "**.txt" means
// the same and takes the general one. Both must agree on every name built
// from the pieces that decide it: case, blanks, dots, characters a short
// name replaces, long and short stems and endings.
TEST(NameMatches, ExtensionPatternsAgreeWithTheGeneralRule) {
  const char* stems[] = {"a", "Index", "my file", "abcdefghi", "a+b", ".x", "", "x.y", "long.name.here"};
  const char* ends[] = {"",      ".",     ".txt", ".TXT",     ".html",    ".htm",  ".ht",  ".h",
                        ".t xt", ".tx t", ".t+t", ".txt.bak", ".txt_old", "..txt", ".htm."};
  const char* patterns[] = {"*.txt", "*.htm", "*.h", "*.TX", "*.t_t", "*.HT"};
  for (const char* stem : stems)
    for (const char* end : ends) {
      std::string name = std::string(stem) + end;
      if (name.empty() || name == "." || name == "..") continue;
      for (const char* pattern : patterns)
        EXPECT_EQ(name_matches(pattern, name), name_matches(std::string("*") + pattern, name))
            << pattern << " " << name;
    }
}

}  // namespace korvel
