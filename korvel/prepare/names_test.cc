#include "korvel/prepare/names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvel/base/text.h"

namespace korvel {

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
      if (extension_position(name) == std::string::npos) given.push_back(name);
      else given.push_back(unique_new_name(name, taken));
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
      {"wget.exe", true},
      {"WGET.EXE", true},
      {"convertcp.exe", true},
      {"korvel", true},
      {"Korvel.exe", true},
      {"mykorvel.bin", true},
      {"velmor_01_209.exe", true},
      {"VELMOR_.EXE", true},
      {"velmor.exe", true},
      {"velmor_1.exe.txt", false},
      {"wget.exe.txt", false},
      {"notes.txt", false},
      {"find.exe", true},
      {"SORT.BAT", true},
      {"x.txt.cmd", true},
      {"version.dll", true},
      {"a.com", true},
      {"notes.comment", false},
      {"a.js", true},
      {".JS", true},
      {"a.xjs", false},
      {"js", false},
      {"a.ps1.", false},
      {"Setup.Msi", true},
  };
  for (const Case& c : cases) EXPECT_EQ(is_program_file(c.name, "MyKorvel.bin"), c.expected) << c.name;
}

TEST(IsAddressable, OnlyNamesACommandCarriesExactly) {
  for (std::string name :
       std::vector<std::string>{"a.txt", "a.txt&del x", "x.htm|y", "(1)^.txt", ".txt", "a b.txt", "caf\xc3\xa9.txt",
                                "\xff\xfe.txt", "console.txt", "com10.txt", std::string(200, 'a')})
    EXPECT_TRUE(is_addressable(name)) << name;
  for (std::string name : std::vector<std::string>{"*",
                                                   "*.txt",
                                                   "a?.txt",
                                                   "q\"q.txt",
                                                   "a\\b.txt",
                                                   "a\rb.txt",
                                                   "a\nb.txt",
                                                   "100%.txt",
                                                   "%path%.txt",
                                                   "a!b!.txt",
                                                   "MYNOTE~1.TXT",
                                                   " a.txt",
                                                   "a.txt ",
                                                   "a.txt.",
                                                   "con.txt",
                                                   "NUL",
                                                   "Com1.htm",
                                                   "lpt9",
                                                   "",
                                                   std::string(201, 'a'),
                                                   std::string("a\0b.txt", 7)})
    EXPECT_FALSE(is_addressable(name)) << shown_name(name);
  // What the rules make of a name is always addressable, or too long.
  for (std::string name : {"*.txt", "a.txt.", "con.txt", "q\"\\%!~.htm", "a.txt ..", "nul .txt"})
    EXPECT_TRUE(is_addressable(new_name(name))) << new_name(name);
  EXPECT_EQ(new_name("con.txt"), "file_con.txt");
  EXPECT_EQ(new_name("a.txt."), "a.txt_");
  EXPECT_EQ(shown_name("a\nb\x7f.txt"), "a\\x0Ab\\x7F.txt");
}

TEST(ScratchAndStateFiles, AreKnownInAnyLetterCase) {
  for (const char* name : {"txt_in.list", "OUT_NULL.LIST", "compare_04.txt", "Check_01.txt"})
    EXPECT_TRUE(is_scratch_file(name)) << name;
  for (const char* name : {"korvel.lock", "MOVED_FILES.LIST", "txt_in_renames.list"})
    EXPECT_TRUE(is_state_file(name)) << name;
  for (const char* name : {"compare_03.txt", "txt_in.lst", "readme.txt"}) {
    EXPECT_FALSE(is_scratch_file(name)) << name;
    EXPECT_FALSE(is_state_file(name)) << name;
  }
}

// Each name a run writes, deletes by pattern or makes a folder of in the
// working folder, with the reason given for keeping its namesake in txt_in.
TEST(ReservedWorkingNames, AreKnownInAnyLetterCaseWithTheirReason) {
  const std::string writes = "korvel writes a file of that name in the working folder";
  const std::string deletes = "korvel deletes the files named check_*.txt in the working folder";
  const std::string lists = "korvel writes files of such names in the working folder";
  const std::string folder = "korvel makes a folder of that name in the working folder";
  struct Case {
    std::string name;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {"check_01.txt", writes},
      {"TXT_FILE.TXT", writes},
      {"korvel.lock", writes},
      {"check_list.txt", deletes},
      {"CHECK_Notes.TXT", deletes},
      {"check_.txt", deletes},
      {"check_a.b.txt", deletes},
      {"check_x.txtold", deletes},
      // Short names: CHECK_~1.TXT
      {"ch eck_x.txt", deletes},
      {"check+x.txt", deletes},
      {"c.h.e.c.k_notes.txt", deletes},
      {"compare_03.txt", lists},
      {"Compare_09 old.TXT", lists},
      {"my.list", lists},
      {"notes.txt.LIST", lists},
      {".list", lists},
      {"txt_wrk", folder},
      {"HTM_WRK.txt", folder},
      {"htm_in", folder},
      {"htm_out.htm", folder},
      {"Velmor", folder},
      {"velmor.old.txt", folder},
      {"check_x.txt.bak", ""},
      {"check_x", ""},
      {"checks.txt", ""},
      {"compare_1.txt", ""},
      {"list.txt", ""},
      {"notes.lst", ""},
      {"txt_wrk_notes.txt", ""},
      {"my velmor.txt", ""},
      {"velmor_notes.htm", ""},
      {"readme.txt", ""},
      {"htm_inx.htm", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(reserved_working_name(c.name), c.reason) << c.name;
}

TEST(BaseName, HtmIsSearchedBeforeTxt) {
  struct Case {
    std::string listed;
    std::optional<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"a.htm", "a"},           {"a.html", "a"},
      {"a.txt", "a"},           {"Report.htm", "Report"},
      {"report.TXT", "report"}, {".txt", ""},
      {" x.htm.txt ", "x"},     {"x.txt.htm", "x.txt"},
      {"sub", std::nullopt},    {"notes.doc", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(base_name(c.listed), c.expected) << c.listed;
  EXPECT_TRUE(same_base_name(base_name("Report.htm"), base_name("report.txt")));
  EXPECT_FALSE(same_base_name(base_name("a.htm"), base_name("b.txt")));
  EXPECT_FALSE(same_base_name(base_name("sub"), base_name("sub")));
}

}  // namespace korvel
