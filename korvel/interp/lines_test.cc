#include "korvel/interp/lines.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "common/lines.h"
#include "korvel/base/text.h"
#include "korvel/testing/e2e.h"

namespace korvel {

namespace {
std::vector<std::string> lines_of(const std::string& path) {
  std::vector<std::string> lines;
  LineReader reader;
  if (!reader.open(path)) return {"<cannot be read>"};
  for (std::string_view line; reader.next(line);) lines.emplace_back(line);
  return lines;
}
}  // namespace

// Line by line, a file reads as the whole text split at once would, also
// where a line or a CR LF straddles two reads.
TEST(LineReader, ReadsTheLinesTheWholeTextHolds) {
  std::string long_line(64 * 1024 - 1, 'x');
  const std::string cases[] = {
      "",
      "\n",
      "a",
      "a\n",
      "a\r\nb",
      "a\r\r\nb\r",
      "\r\n\r\n",
      "one\ntwo\n\nfour\r\n",
      long_line + "\r\nnext\n",     // CR LF across the first read's end
      long_line + "yz\nshort\r\n",  // a line longer than one read
      std::string(200000, '\n'),
  };
  WorkFolder work;
  std::string path = (work.path / "list.txt").string();
  for (const std::string& text : cases) {
    write_file(work.path / "list.txt", text);
    std::vector<std::string> expected;
    common::split_lines(text, expected);
    EXPECT_EQ(lines_of(path), expected) << text.substr(0, 20);
  }
  EXPECT_EQ(lines_of((work.path / "missing.txt").string()), std::vector<std::string>{"<cannot be read>"});
}

// What is appended to the file while it is read (find ... >> on its own
// input) is not read back.
TEST(LineReader, StopsWhereTheFileEndedWhenOpened) {
  WorkFolder work;
  std::string path = (work.path / "list.txt").string();
  write_file(work.path / "list.txt", "a\nb\n");
  LineReader reader;
  ASSERT_TRUE(reader.open(path));
  std::ofstream(path, std::ios::app) << "c\n";
  std::vector<std::string> lines;
  for (std::string_view line; reader.next(line);) lines.emplace_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));
}

}  // namespace korvel
