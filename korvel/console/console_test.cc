#include "korvel/console/console.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace korvel {

TEST(NumberText, BlankBeforeNonNegativeMinusBeforeNegative) {
  EXPECT_EQ(number_text(1), " 1");
  EXPECT_EQ(number_text(0), " 0");
  EXPECT_EQ(number_text(-3), "-3");
  EXPECT_EQ(number_text(1234), " 1234");
}

TEST(PrintZoneFill, BlanksToNextZoneOrLineEnd) {
  struct Case {
    int column, width;
    std::string fill;
  };
  const Case cases[] = {
      {0, 80, std::string(14, ' ')},   // column 1 -> 15
      {2, 80, std::string(12, ' ')},   // after " 1"
      {13, 80, std::string(1, ' ')},   // last column of the first zone
      {14, 80, std::string(14, ' ')},  // at a zone start: on to column 29
      {52, 80, std::string(4, ' ')},   // the zone at column 57 is the last that fits
      {55, 80, std::string(1, ' ')},
      {56, 80, "\r\n"},               // the zone at 71 is past 80 - 14
      {0, 29, std::string(14, ' ')},  // narrow console: 15 is still within 29 - 14
      {0, 28, "\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(print_zone_fill(c.column, c.width), c.fill) << "column " << c.column << " width " << c.width;
}

TEST(ColumnAfter, CountsBytesResetsAtLineEndsWrapsAtWidth) {
  EXPECT_EQ(column_after(0, " 1", 80), 2);
  EXPECT_EQ(column_after(5, "ab\r\n", 80), 0);
  EXPECT_EQ(column_after(5, "ab\r\nxyz", 80), 3);
  EXPECT_EQ(column_after(78, "abc", 80), 1);  // the console wrapped
  EXPECT_EQ(column_after(0, std::string(80, 'x'), 80), 0);
}

// What the output operations write to file descriptor 1.
std::string captured_output(void (*print)()) {
  int pipe_ends[2];
  EXPECT_EQ(pipe(pipe_ends), 0);
  int saved = dup(1);
  dup2(pipe_ends[1], 1);
  close(pipe_ends[1]);
  print();
  dup2(saved, 1);
  close(saved);
  std::string out;
  char buffer[256];
  for (ssize_t n; (n = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) out.append(buffer, n);
  close(pipe_ends[0]);
  return out;
}

TEST(ConsoleOutput, LinesEndInCrLfAndZonesFollowTheColumn) {
  std::string out = captured_output([] {
    print_empty_line();
    print_number(1);
    next_print_zone();
    print_line("a.htm");
    print_text("ab");
    print_text("cd");
    next_print_zone();
    print_number(-3);
    print_empty_line();
  });
  EXPECT_EQ(out, "\r\n 1" + std::string(12, ' ') + "a.htm\r\nabcd" + std::string(10, ' ') + "-3\r\n");
}

// A batch changes only how many writes carry the output: the bytes, and
// their order against error lines, stay as if each had gone out at once.
TEST(ConsoleOutput, BatchedOutputKeepsItsBytesAndItsPlaceBeforeErrors) {
  int pipe_ends[2];
  ASSERT_EQ(pipe(pipe_ends), 0);
  ASSERT_GE(fcntl(pipe_ends[1], F_SETPIPE_SZ, 1 << 20), 1 << 20);  // all of it, unread until the end
  int saved_out = dup(1), saved_err = dup(2);
  dup2(pipe_ends[1], 1);
  dup2(pipe_ends[1], 2);
  close(pipe_ends[1]);
  {
    ConsoleBatch batch;
    print_line("a.htm");
    print_number(1);
    next_print_zone();
    print_line("b.htm");
    print_error_line("error");
    for (int i = 0; i < 10000; ++i) print_line("many.htm");  // more than one large write holds
    print_number(2);
  }
  print_line("after");
  dup2(saved_out, 1);
  dup2(saved_err, 2);
  close(saved_out);
  close(saved_err);
  std::string out;
  char buffer[4096];
  for (ssize_t n; (n = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) out.append(buffer, n);
  close(pipe_ends[0]);
  std::string many;
  for (int i = 0; i < 10000; ++i) many += "many.htm\r\n";
  EXPECT_EQ(out, "a.htm\r\n 1" + std::string(12, ' ') + "b.htm\r\nerror\r\n" + many + " 2after\r\n");
}

}  // namespace korvel
