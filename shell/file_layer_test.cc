#include "shell/file_layer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/e2e.h"
#include "testing/file_size_limit.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::vector<std::string> read_all(const std::string& path) {
  std::vector<std::string> lines;
  int h = free_handle();
  open_input(path, h);
  while (!at_end(h)) lines.push_back(read_line(h));
  close_file(h);
  return lines;
}

struct ReadCase {
  const char* name;
  std::string content;
  std::vector<std::string> lines;
};

class FileLayerTest : public ::testing::Test {
 protected:
  WorkFolder folder;
};

TEST_F(FileLayerTest, ReadsLinesAsTextMode) {
  const std::string long_line(1500, 'x');
  const std::vector<ReadCase> cases = {
      {"two CR LF lines", "one\r\ntwo\r\n", {"one", "two"}},
      {"LF only", "one\ntwo\n", {"one", "two"}},
      {"last line without line end", "one\r\ntwo", {"one", "two"}},
      {"two empty lines", "\r\n\r\n", {"", ""}},
      {"blanks kept", "  a  \r\n", {"  a  "}},
      {"1500-byte line", long_line + "\r\n", {long_line}},
      {"1500-byte line, no line end", long_line, {long_line}},
      {"lone CR inside", "a\rb\r\n", {"a\rb"}},
      {"lone CR at the end", "a\r", {"a"}},
      {"CR CR LF", "a\r\r\nb", {"a", "b"}},
      {"0x1A ends the data", "one\r\ntw\x1Ao\r\nthree\r\n", {"one", "tw"}},
      // The end test only learns of 0x1A by reading it: one empty line.
      {"0x1A first", "\x1A" "abc", {""}},
      {"empty file", "", {}},
      {"zero bytes kept", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
  };
  for (const ReadCase& c : cases) {
    write_file(folder.path / "f.txt", c.content);
    EXPECT_EQ(read_all("f.txt"), c.lines) << c.name;
  }
}

TEST_F(FileLayerTest, CrAtPieceBoundaryEndsTheLine) {
  // The reader works in pieces of 511 bytes; a lone CR that is the last byte
  // of a piece ends the line, as it did with the text-mode reader.
  std::string first(510, 'a');
  write_file(folder.path / "f.txt", first + "\rbc\r\n");
  EXPECT_EQ(read_all("f.txt"), (std::vector<std::string>{first, "bc"}));
}

TEST_F(FileLayerTest, MissingFileReadsAsEmpty) {
  int h = free_handle();
  open_input("no_such.txt", h);
  EXPECT_TRUE(at_end(h));
  EXPECT_EQ(read_line(h), "");
  close_file(h);
  EXPECT_EQ(free_handle(), h);  // the failed open left the slot free
  EXPECT_TRUE(read_all("no_folder\\x.txt").empty());
}

TEST_F(FileLayerTest, AFolderDoesNotOpenForReading) {
  std::filesystem::create_directory(folder.path / "notes.txt");
  int h = free_handle();
  open_input("notes.txt", h);
  EXPECT_FALSE(is_open(h));
  EXPECT_TRUE(at_end(h));
  EXPECT_FALSE(is_plain_file("notes.txt"));
  write_file(folder.path / "f.txt", "");
  open_input("F.TXT", h);
  EXPECT_TRUE(is_open(h));  // an empty file is open, and at its end at once
  EXPECT_TRUE(at_end(h));
  close_file(h);
}

TEST_F(FileLayerTest, RewindReadsAgainFromTheStart) {
  write_file(folder.path / "f.txt", "one\r\ntwo\r\n");
  int h = free_handle();
  open_input("f.txt", h);
  read_line(h);
  read_line(h);
  ASSERT_TRUE(at_end(h));
  rewind_file(h);
  EXPECT_FALSE(at_end(h));
  EXPECT_EQ(read_line(h), "one");
  close_file(h);
}

TEST_F(FileLayerTest, SlotsTakeTheLowestFree) {
  write_file(folder.path / "f.txt", "x");
  int a = free_handle();
  open_input("f.txt", a);
  int b = free_handle();
  open_input("f.txt", b);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  close_file(a);
  EXPECT_EQ(free_handle(), 1);
  close_file(b);
  close_file(b);  // closing twice does nothing
  EXPECT_EQ(free_handle(), 1);
}

TEST_F(FileLayerTest, AllSlotsInUseGivesZero) {
  write_file(folder.path / "f.txt", "x");
  for (int i = 0; i < 255; ++i) open_input("f.txt", free_handle());
  EXPECT_EQ(free_handle(), 0);
  close_all_files();
  EXPECT_EQ(free_handle(), 1);
}

TEST_F(FileLayerTest, WritesCrLfLinesAndReplacesOldContent) {
  write_file(folder.path / "out.txt", "old content that is longer\r\n");
  int h = free_handle();
  open_output("out.txt", h);
  write_line(h, "a");
  write_line(h, "");
  write_line(h, "b\n");
  close_file(h);
  EXPECT_EQ(read_file(folder.path / "out.txt"), "a\r\n\r\nb\n\r\n");
}

TEST_F(FileLayerTest, FailedOutputOpenLosesWritesSilently) {
  int h = free_handle();
  open_output("missing_folder\\out.txt", h);
  write_line(h, "lost");
  close_file(h);
  EXPECT_FALSE(std::filesystem::exists(folder.path / "missing_folder"));
  EXPECT_EQ(free_handle(), h);
}

// The bytes still in the stream's buffer count too: the failure may show
// only when they are written out.
TEST_F(FileLayerTest, WriteErrorTellsOfBytesThatDidNotArrive) {
  int h = free_handle();
  open_output("out.txt", h);
  {
    FileSizeLimit limit(100);
    for (int i = 0; i < 3; ++i) write_line(h, std::string(60, 'x'));
    EXPECT_EQ(write_error(h), "There is not enough space on the disk.");
  }
  discard_file(h);
  EXPECT_FALSE(std::filesystem::exists(folder.path / "out.txt"));
  EXPECT_EQ(free_handle(), h);
  open_output("whole.txt", h);
  write_line(h, "a");
  EXPECT_EQ(write_error(h), "");
  close_file(h);
  EXPECT_EQ(read_file(folder.path / "whole.txt"), "a\r\n");
}

TEST_F(FileLayerTest, AFifoIsNeverOpenedForReading) {
  ASSERT_EQ(mkfifo((folder.path / "a.txt").c_str(), 0644), 0);
  alarm(30);  // were it opened, the test would wait for a writer for ever
  int h = free_handle();
  open_input("a.txt", h);
  alarm(0);
  EXPECT_FALSE(is_open(h));
  EXPECT_TRUE(at_end(h));
}

TEST_F(FileLayerTest, PathsUseBackslashesAndIgnoreCase) {
  std::filesystem::create_directory(folder.path / "Txt_In");
  write_file(folder.path / "Txt_In" / "README.TXT", "hello\r\n");
  EXPECT_EQ(read_all("txt_in\\readme.txt"), std::vector<std::string>{"hello"});
}

}  // namespace
