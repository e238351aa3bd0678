#include "korvel/prepare/renames_journal.h"

#include <gtest/gtest.h>

namespace korvel {

// A journal line must give back exactly the names it was made from, those
// with bytes that would break a line or a field included, and nothing for a
// line cut short or altered.
TEST(RenamesJournal, LinesGiveBackTheirNames) {
  const Rename renames[] = {
      {"My Notes.txt", "My_Notes.txt", 12},
      {"100%.txt", "100_.txt", 0},
      {"tab\there.txt", "tab_here.txt", 7},
      {"line\r\nbreak.txt", "line__break.txt", 1ull << 40},
      {"%41.txt", "_41.txt", 3},
  };
  for (const Rename& rename : renames) {
    std::string line = journal_line(rename);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    std::optional<Rename> back = rename_of_line(line);
    ASSERT_TRUE(back) << line;
    EXPECT_EQ(back->from, rename.from);
    EXPECT_EQ(back->to, rename.to);
    EXPECT_EQ(back->size, rename.size);
  }
  for (const char* broken :
       {"a.txt\tb.txt", "a.txt\tb.txt\t", "a.txt\tb.txt\t12x", "\tb.txt\t1", "a%4.txt\tb.txt\t1", "a%zz.txt\tb.txt\t1"})
    EXPECT_FALSE(rename_of_line(broken)) << broken;
}

}  // namespace korvel
