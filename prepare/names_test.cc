#include "prepare/names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/text.h"

TEST(NewName, NormalisesEveryDocumentName) {
  struct Case {
    std::string listed, expected;
  };
  const std::vector<Case> cases = {
      {"notes.txt", "notes.txt"},
      {"My Report (2).txt", "My_Report__2_.txt"},
      {"a.b.HTM", "a_b.HTM"},
      {"page_3.htm", "file_page_3.htm"},
      {"Page 3.txt", "file_Page_3.txt"},
      {"index.html", "index.html"},
      {"notes.txt.bak", "notes.txt.bak"},
      {"old.htm.txt", "old_htm.txt"},
      {"a-b c.txt", "a_b_c.txt"},
      {"a .txt", "a.txt"},
      {"\xC3\xA9t\xC3\xA9.txt", "__t__.txt"},  // one "_" per byte
      {".txt", ".txt"},
      {"Page-1.htm", "file_Page_1.htm"},
      {"pages.htm", "pages.htm"},
      {"page1.htm", "page1.htm"},
      {"A.TXT", "A.TXT"},
      // The tail is cleaned as well, so no name can carry a command.
      {"a.txt b.txt", "a.txt_b.txt"},
      {"a.txt&del *.*", "a.txt_del__._"},
      {"x.htm|y", "x.htm_y"},
      {"(1)^.txt", "_1__.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(new_name(c.listed), c.expected) << c.listed;
}

TEST(NewName, NumberGoesAfterTheStemAndBeforeThePageRule) {
  EXPECT_EQ(new_name("a b.txt", 2), "a_b_2.txt");
  EXPECT_EQ(new_name("page .txt", 2), "file_page_2.txt");
  EXPECT_EQ(new_name(".txt", 3), "_3.txt");
}

TEST(ExtensionPosition, TxtIsSearchedBeforeHtm) {
  EXPECT_EQ(extension_position("old.htm.txt"), 7u);
  EXPECT_EQ(extension_position("NOTES.TXT"), 5u);
  EXPECT_EQ(extension_position("a.HtMl"), 1u);
  EXPECT_EQ(extension_position("readme.doc"), std::string::npos);
}

TEST(DocumentMarks, IgnoreLetterCase) {
  EXPECT_EQ(document_marks("README.TXT"), 1);
  EXPECT_EQ(document_marks("a.Htm"), 1);
  EXPECT_EQ(document_marks("a.htm.txt"), 2);
  EXPECT_EQ(document_marks("notes.doc"), 0);
  EXPECT_EQ(document_marks(""), 0);
}

// Each list is processed in order, as the listing gives it.
TEST(UniqueNewName, NoDocumentTakesAnotherOnesName) {
  struct Case {
    std::vector<std::string> listed, expected;
  };
  const std::vector<Case> cases = {
      {{"a b.txt", "a-b.txt", "a_b.txt"}, {"a_b_2.txt", "a_b_3.txt", "a_b.txt"}},
      {{"a_b.txt", "a b.txt", "a-b.txt"}, {"a_b.txt", "a_b_2.txt", "a_b_3.txt"}},
      {{"A_B.TXT", "a b.txt"}, {"A_B.TXT", "a_b_2.txt"}},
      {{"page .txt", "page.txt"}, {"file_page_2.txt", "page.txt"}},
      {{"notes.txt", "x.doc"}, {"notes.txt", "x.doc"}},
      {{"a b.txt", "a_b_2.txt"}, {"a_b.txt", "a_b_2.txt"}},
      {{"a b.txt", "a_b.txt", "a_b_2.txt"}, {"a_b_3.txt", "a_b.txt", "a_b_2.txt"}},
  };
  for (const Case& c : cases) {
    TakenNames taken;
    for (const std::string& name : c.listed) taken.insert(to_lower_ascii(name));
    std::vector<std::string> given;
    for (const std::string& name : c.listed) {
      if (extension_position(name) == std::string::npos)
        given.push_back(name);
      else
        given.push_back(unique_new_name(name, taken));
    }
    EXPECT_EQ(given, c.expected) << c.listed[0];
  }
}

TEST(IsProgramFile, GuardsTheProgramAndItsTools) {
  struct Case {
    std::string name;
    bool expected;
  };
  const std::vector<Case> cases = {
      {"wget.exe", true},       {"WGET.EXE", true},         {"convertcp.exe", true},
      {"korvel", true},         {"Korvel.exe", true},       {"mykorvel.bin", true},
      {"velmor_01_209.exe", true}, {"VELMOR_.EXE", true},   {"velmor.exe", false},
      {"velmor_1.exe.txt", false}, {"wget.exe.txt", false}, {"notes.txt", false},
  };
  for (const Case& c : cases) EXPECT_EQ(is_program_file(c.name, "MyKorvel.bin"), c.expected) << c.name;
}

TEST(IsQuotable, RefusesWhatWouldEndTheQuotes) {
  EXPECT_FALSE(is_quotable("a\"&del x.txt"));
  EXPECT_FALSE(is_quotable("a\r.txt"));
  EXPECT_FALSE(is_quotable(std::string("a\0.txt", 6)));
  EXPECT_TRUE(is_quotable("a.txt&del *.*"));
  EXPECT_TRUE(is_quotable("x.htm|y"));
  EXPECT_TRUE(is_quotable("(1)^.txt"));
  EXPECT_TRUE(holds_wildcard("a.txt&del *.*"));
  EXPECT_TRUE(holds_wildcard("a?.txt"));
  EXPECT_FALSE(holds_wildcard("(1)^.txt"));
}

TEST(BaseName, HtmIsSearchedBeforeTxt) {
  struct Case {
    std::string listed;
    std::optional<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"a.htm", "a"},          {"a.html", "a"},       {"a.txt", "a"},
      {"Report.htm", "Report"}, {"report.TXT", "report"}, {".txt", ""},
      {" x.htm.txt ", "x"},    {"x.txt.htm", "x.txt"}, {"sub", std::nullopt},
      {"notes.doc", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(base_name(c.listed), c.expected) << c.listed;
}
