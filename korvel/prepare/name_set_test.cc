#include "korvel/prepare/name_set.h"

#include <gtest/gtest.h>

#include <string>

namespace korvel {

// Enough names to grow the table many times and fill many blocks, one name
// longer than a block, and names that differ only in letter case.
TEST(NameSet, CountsEveryNameIgnoringCaseAndKeepsItAsGiven) {
  NameSet names;
  const int kNames = 40000;
  for (int i = 0; i < kNames; ++i) names.insert("Doc " + std::to_string(i) + ".TXT");
  std::string huge(100 * 1024, 'x');
  names.insert(huge);
  names.insert("doc 7.txt");
  names.insert("DOC 7.TXT");

  ASSERT_EQ(names.size(), static_cast<size_t>(kNames + 3));
  EXPECT_EQ(names[0], "Doc 0.TXT");
  EXPECT_EQ(names[kNames - 1], "Doc 39999.TXT");
  EXPECT_EQ(names[kNames], huge);
  EXPECT_EQ(names[kNames + 1], "doc 7.txt");
  struct Case {
    std::string name;
    size_t count;
  };
  const Case cases[] = {
      {"doc 7.txt", 3},
      {"Doc 39999.txt", 1},
      {"doc 40000.txt", 0},
      {"doc 7.tx", 0},
      {"doc 7.txt ", 0},
      {"", 0},
      {huge, 1},
      {std::string(huge.size(), 'X'), 1},
      {"DOC 12345.TXT", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(names.count(c.name), c.count) << c.name.substr(0, 20);
  EXPECT_FALSE(NameSet().contains("a"));
}

}  // namespace korvel
