#include "korvel/shell/file_layer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvel/testing/e2e.h"
#include "korvel/testing/file_size_limit.h"

#include <sys/stat.h>
#include <unistd.h>

namespace korvel {

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
      {"0x1A first",
       "\x1A"
       "abc",
       {""}},
      {"empty file", "", {}},
      {"zero bytes kept", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
  };
  for (const ReadCase& c : cases) {
    write_file(folder.path / "f.txt", c.content);
    EXPECT_EQ(read_all("f.txt"), c.lines) << c.name;
  }
}

// The lines a text-mode reader gives, worked out the slow way: the bytes up
// to 0x1A with CR LF made LF, cut into pieces of at most 511 bytes that end
// at an LF; a piece ending in LF or in CR ends its line. A piece that ends
// neither at an LF nor full has read the 0x1A; otherwise the reader is
// asked once more and finds it: one empty line.
std::vector<std::string> text_mode_lines(std::string_view raw) {
  std::string text;
  bool stopped = false;
  for (size_t i = 0; i < raw.size() && !stopped; ++i) {
    if (raw[i] == '\x1A') stopped = true;
    else if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') text += '\n', ++i;
    else text += raw[i];
  }
  std::vector<std::string> lines;
  bool read_the_end = false;
  for (size_t at = 0; at < text.size();) {
    std::string line;
    for (bool whole = false; !whole && at < text.size();) {
      size_t end = at;
      while (end < text.size() && end - at < 511)
        if (text[end++] == '\n') break;
      std::string piece = text.substr(at, end - at);
      at = end;
      read_the_end = piece.back() != '\n' && piece.size() < 511;
      whole = piece.back() == '\n' || piece.back() == '\r';
      if (piece.back() == '\n') piece.pop_back();
      if (!piece.empty() && piece.back() == '\r') piece.pop_back();
      line += piece;
    }
    lines.push_back(line);
  }
  if (stopped && !read_the_end) lines.push_back("");
  return lines;
}

// Documents of every shape against the slow way: lines that fit the buffer
// and lines across its end, CR LF, lone CRs, CR at the 511th byte, 0x1A.
TEST_F(FileLayerTest, ReadsEveryDocumentAsTheTextModeRulesSay) {
  uint64_t seed = 12345;
  auto next = [&](uint64_t bound) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    return (seed >> 33) % bound;
  };
  const char* pieces[] = {"a", "word ", "\r\n", "\n", "\r", "\r\r\n", "\x1A"};
  for (int round = 0; round < 400; ++round) {
    std::string document;
    size_t size = next(4) == 0 ? next(20000) : next(600);
    while (document.size() < size) {
      size_t pick = next(100);
      if (pick < 60) document += pieces[next(2)];
      else if (pick < 80) document += pieces[2];
      else if (pick < 88) document += pieces[3];
      else if (pick < 94) document += pieces[4];
      else if (pick < 97) document += std::string(500 + next(30), 'x');  // around the 511-byte piece
      else if (pick < 99) document += pieces[5];
      else if (next(4) == 0) document += pieces[6];
    }
    write_file(folder.path / "f.txt", document);
    ASSERT_EQ(read_all("f.txt"), text_mode_lines(document)) << "round " << round;
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

}  // namespace korvel
