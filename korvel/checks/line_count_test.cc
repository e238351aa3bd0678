#include "korvel/checks/line_count.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvel/testing/e2e.h"

namespace korvel {

// What a check finds in its scratch file decides whether the tool is there:
// find, findstr, sort and convertcp need two non-blank lines, cmd one, and the
// indexer listing one line of any kind.
TEST(CountLines, ThresholdsOfTheToolChecks) {
  struct Case {
    std::string content;
    int non_blank, every;
  };
  const std::vector<Case> cases = {
      {"", 0, 0},
      {"---------- CHECK_01.TXT\r\n", 1, 1},
      {"---------- CHECK_01.TXT\r\nwget.exe\r\n", 2, 2},
      {"---------- CHECK_01.TXT\r\n    \r\n", 1, 2},
      {"\r\n\r\n", 0, 2},
      {"\t\r\n  x\n", 2, 2},
      {"a\r\nb", 2, 2},
  };
  WorkFolder folder;
  for (const Case& c : cases) {
    write_file("check_02.txt", c.content);
    EXPECT_EQ(count_lines("check_02.txt", true), c.non_blank) << c.content;
    EXPECT_EQ(count_lines("check_02.txt", false), c.every) << c.content;
  }
  EXPECT_EQ(count_lines("missing.txt", false), 0);
}

}  // namespace korvel
