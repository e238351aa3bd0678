#include "korvel/convert/page.h"

#include <gtest/gtest.h>

namespace korvel {

TEST(PageName, FromTheFirstTxtOnward) {
  struct Case {
    const char* document;
    const char* page;
  } cases[] = {
      {"notes.txt", "notes.htm"},
      {"Report.TXT", "Report.htm"},  // the base keeps its case, "htm" is lower case
      {"a.txt.txt", "a.htm"},
      {"x.txtold", "x.htm"},
      {"My_Notes.Txt", "My_Notes.htm"},
      {"old.htm.txt", "old.htm.htm"},
      {".txt", ".htm"},
      {"readme.doc", ""},
      {"txt", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(page_name(c.document), c.page) << c.document;
}

TEST(PageContentLine, OnlyTrailingBlanksAndZeroBytesGo) {
  using namespace std::string_literals;
  struct Case {
    std::string line;
    std::string content;
  } cases[] = {
      {"two  ", "two"},
      {"   ", ""},
      {"", ""},
      {"  indented", "  indented"},
      {"tab\t", "tab\t"},
      {"a < b > c & d", "a < b > c & d"},
      {"x \0 \0\0"s, "x"},
      {"in\0side"s, "in\0side"s},
      {"\xEF\xBB\xBF"
       "first",
       "\xEF\xBB\xBF"
       "first"},
  };
  for (const Case& c : cases) EXPECT_EQ(page_content_line(c.line), c.content) << c.line;
}

TEST(PageMetaLine, IsTheSixtyEightCharacterDeclaration) {
  EXPECT_EQ(kPageMetaLine.size(), 68u);
  EXPECT_EQ(kPageMetaLine, std::string("<meta http-equiv=\"content-type\"") + "  content=" + "\"" + "text/HTML" + ";" +
                               " charset=utf-8" + "\"" + ">");
}

}  // namespace korvel
