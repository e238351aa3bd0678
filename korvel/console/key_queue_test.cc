#include "korvel/console/key_queue.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace korvel {

TEST(KeyQueue, OldestFirstAndEmptyGivesNothing) {
  KeyQueue queue;
  EXPECT_EQ(pop_key(queue), "");
  push_key(queue, "1");
  push_key(queue, "\xff;");
  EXPECT_EQ(pop_key(queue), "1");
  EXPECT_EQ(pop_key(queue), "\xff;");
  EXPECT_EQ(pop_key(queue), "");
}

TEST(KeyQueue, FullQueuePushesOutTheOldest) {
  auto queue = std::make_unique<KeyQueue>();
  for (int i = 1; i <= 511; ++i) push_key(*queue, std::to_string(i));
  EXPECT_EQ(key_count(*queue), 511u);
  push_key(*queue, "512");
  EXPECT_EQ(key_count(*queue), 511u);
  EXPECT_EQ(pop_key(*queue), "2");
  for (int i = 3; i <= 512; ++i) ASSERT_EQ(pop_key(*queue), std::to_string(i));
  EXPECT_EQ(pop_key(*queue), "");
}

}  // namespace korvel
