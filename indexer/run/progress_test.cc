#include "indexer/run/progress.h"

#include <gtest/gtest.h>

namespace velmor {
namespace {

TEST(Progress, LinesSayWhatIsDoneInAUnitThatShowsIt) {
  struct Case {
    uint64_t done, total, bytes_done, bytes_total;
    double seconds;
    const char* expected;
  } cases[] = {
      // A handful of short documents: kilobytes, not "0.0 of 0.0 MB".
      {5, 5, 5760, 5760, 0.0, "read 5 of 5 pages, 5.8 of 5.8 KB"},
      {0, 3949, 0, 100000000, 0.0, "read 0 of 3,949 pages, 0.0 of 100.0 MB"},
      // Rate and time left once there is a rate to speak of.
      {1234, 3949, 25000000, 100000000, 1.0, "read 1,234 of 3,949 pages, 25.0 of 100.0 MB, 25.0 MB/s, 3.0 s left"},
      {3949, 3949, 100000000, 100000000, 4.0, "read 3,949 of 3,949 pages, 100.0 of 100.0 MB, 25.0 MB/s"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(format_progress("read", c.done, c.total, "pages", c.bytes_done, c.bytes_total, c.seconds), c.expected);
}

TEST(Progress, DurationsReadNaturally) {
  EXPECT_EQ(format_duration(0.42), "0.4 s");
  EXPECT_EQ(format_duration(14.2), "14 s");
  EXPECT_EQ(format_duration(125), "2 min 05 s");
  EXPECT_EQ(format_duration(3 * 3600 + 7 * 60), "3 h 07 min");
}

}  // namespace
}  // namespace velmor
