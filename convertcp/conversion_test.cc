// A file that changes while it is converted: changed at an exact point of a
// pass through the input's seam, so that no timing decides the outcome.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include <gtest/gtest.h>

#include "common/test_files.h"
#include "convertcp/conversion.h"

namespace fs = std::filesystem;
using common::read_file;
using common::write_file;

namespace {
constexpr std::uint64_t kPiece = 1 << 20;  // convertcp's

enum class Change { kNone, kGrown, kSameSize, kShrunk, kReplaced };

// What another program does to in.txt.
void change(Change how) {
  int fd = open("in.txt", O_WRONLY);
  switch (how) {
    case Change::kGrown: EXPECT_EQ(pwrite(fd, "more", 4, lseek(fd, 0, SEEK_END)), 4); break;
    // At the start, which the pass has already read: only the file's times tell.
    case Change::kSameSize: EXPECT_EQ(pwrite(fd, "ZZZZ", 4, 0), 4); break;
    case Change::kShrunk: EXPECT_EQ(ftruncate(fd, kPiece / 2), 0); break;
    case Change::kReplaced:
      write_file("new.txt", "another file");
      fs::rename("new.txt", "in.txt");
      break;
    case Change::kNone: break;
  }
  close(fd);
}

std::set<std::string> names_in(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}
}  // namespace

TEST(Conversion, AFileThatChangesIsNeverPutInPlaceNorHalfStreamed) {
  // "č" in windows-1250 is one byte, in UTF-8 two: the output is no copy.
  const std::string text(kPiece + kPiece / 2, '\xE8');
  std::string converted;
  for (size_t i = 0; i < text.size(); ++i) converted += "č";
  struct Row {
    bool stream;
    Change how;
    int pass;  // the file changes before this pass reads at `offset`
    std::uint64_t offset;
    int status;
    std::string message;
    std::string streamed;  // what a stream output got
  } rows[] = {
      {false, Change::kNone, 0, kPiece, kDone, "", ""},
      {false, Change::kGrown, 0, kPiece, kNoInput, "it changed while it was read", ""},
      {false, Change::kSameSize, 0, kPiece, kNoInput, "it changed while it was read", ""},
      {false, Change::kShrunk, 0, kPiece, kNoInput, "it changed while it was read", ""},
      {false, Change::kReplaced, 0, 0, kNoInput, "its name was given to another file", ""},
      {true, Change::kNone, 1, kPiece, kDone, "", converted},
      // At the end of the trial pass: nothing is written.
      {true, Change::kGrown, 0, text.size(), kNoInput, "it changed while it was read", ""},
      {true, Change::kSameSize, 0, text.size(), kNoInput, "it changed while it was read", ""},
      // Once the writing pass has begun, what was written stays, but no byte
      // beyond those the trial pass converted.
      {true, Change::kGrown, 1, 0, kNoInput, "it changed while it was read", converted},
      {true, Change::kSameSize, 1, 0, kNoInput, "it changed while it was read", "ZZZZ" + converted.substr(8)},
      {true, Change::kGrown, 1, kPiece, kNoInput, "it changed while it was read", converted},
  };
  common::WorkFolder work{"convertcp-conversion"};
  const CodePage& from = *find_code_page("1250");
  const CodePage& to = *find_code_page("65001");
  for (const Row& row : rows) {
    std::string what = std::string(row.stream ? "stream" : "file") + " change " + std::to_string(int(row.how)) +
                       " in pass " + std::to_string(row.pass) + " at " + std::to_string(row.offset);
    write_file("in.txt", text);
    write_file("out.txt", "old");
    // An old time of modification, so that a write now changes it even
    // within the file system's tick.
    timespec long_ago[2] = {{946684800, 0}, {946684800, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, "in.txt", long_ago, 0), 0);
    int stream = open("stream.out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    {
      InputFile in;
      ASSERT_EQ(in.open("in.txt"), "");
      bool changed = false;
      in.before_read = [&](int pass, std::uint64_t offset) {
        if (changed || pass != row.pass || offset != row.offset) return;
        change(row.how);
        changed = true;
      };
      OutputFile out;
      ASSERT_EQ(out.open(row.stream ? "/dev/fd/" + std::to_string(stream) : "out.txt"), "");
      bool written = false;
      Stop stop = convert_into(in, out, from, to, written);
      EXPECT_TRUE(changed) << what;
      EXPECT_EQ(stop.status, row.status) << what << ": " << stop.message;
      EXPECT_EQ(stop.input_changed, row.status != kDone) << what;
      EXPECT_NE(stop.message.find(row.message), std::string::npos) << what << ": " << stop.message;
      if (row.stream) {
        EXPECT_EQ(written, !row.streamed.empty()) << what;
      }
    }
    close(stream);
    EXPECT_TRUE(read_file("stream.out") == row.streamed) << what;
    bool replaced = !row.stream && row.status == kDone;
    EXPECT_TRUE(read_file("out.txt") == (replaced ? converted : "old")) << what;
    EXPECT_EQ(names_in("."), (std::set<std::string>{"in.txt", "out.txt", "stream.out"})) << what;
  }
}
