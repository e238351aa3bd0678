#include "korvel/convert/trimmed_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvel/convert/page.h"

namespace korvel {

namespace {

// Feeds `text` (one line) in parts of `part_size`, holding at most
// `held_most`, rereading from `text` itself.
std::string through(const std::string& text, size_t part_size, size_t held_most, int* rereads = nullptr) {
  std::string out;
  TrimmedLines lines([&](std::string_view bytes) { out.append(bytes); },
                     [&](std::uint64_t offset, std::uint64_t length, const TrimmedLines::Out& to) {
                       if (rereads) ++*rereads;
                       if (offset + length > text.size()) return false;
                       to(std::string_view(text).substr(offset, length));
                       return true;
                     },
                     held_most);
  for (size_t at = 0; at < text.size(); at += part_size)
    EXPECT_TRUE(lines.add(std::string_view(text).substr(at, part_size)));
  lines.end_line();
  return out;
}

}  // namespace

// Whatever the parts and however little is held, a line loses its trailing
// blanks and zeros and nothing else, as when it is held whole.
TEST(TrimmedLines, GiveWhatTheWholeLineGives) {
  using namespace std::string_literals;
  const std::vector<std::string> lines = {
      "",
      "   ",
      "a",
      "a  ",
      "  a",
      "a \0 \0b \0"s,
      "a" + std::string(100, ' ') + "b   ",
      std::string(50, '\0') + "x" + std::string(50, ' '),
      "a b c d  e   f    ",
  };
  for (const std::string& line : lines)
    for (size_t part_size : {1, 2, 3, 7, 511})
      for (size_t held_most : {0, 1, 4, 1000})
        EXPECT_EQ(through(line, part_size, held_most), page_content_line(line))
            << "[" << line << "] parts of " << part_size << ", holding " << held_most;
}

TEST(TrimmedLines, OnlyARunTooLongToHoldIsReadAgainAndOnlyWhenNotTrailing) {
  int rereads = 0;
  EXPECT_EQ(through("a" + std::string(10, ' ') + "b" + std::string(10, ' '), 3, 4, &rereads),
            "a" + std::string(10, ' ') + "b");
  EXPECT_EQ(rereads, 1);
  rereads = 0;
  through("a" + std::string(3, ' ') + "b", 1, 4, &rereads);
  EXPECT_EQ(rereads, 0);
  // A run that cannot be had again fails the line.
  TrimmedLines lines([](std::string_view) {},
                     [](std::uint64_t, std::uint64_t, const TrimmedLines::Out&) { return false; }, 2);
  EXPECT_TRUE(lines.add("a   "));
  EXPECT_FALSE(lines.add("b"));
}

}  // namespace korvel
