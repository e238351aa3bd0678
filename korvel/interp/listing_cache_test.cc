#include "korvel/interp/listing_cache.h"

#include <gtest/gtest.h>

#include <string>

namespace {
constexpr time_t kChanged = 1'800'000'000;

// A folder of this inode, last changed at kChanged + `nanoseconds`.
struct stat folder(ino_t ino, long nanoseconds = 123'456'789) {
  struct stat st = {};
  st.st_dev = 1;
  st.st_ino = ino;
  st.st_mtim = st.st_ctim = {kChanged, nanoseconds};
  return st;
}

Entries names(size_t n) {
  Entries entries;
  for (size_t i = 0; i < n; ++i) entries.add("doc " + std::to_string(i) + ".txt", false);
  return entries;
}

timespec after(long long milliseconds) {
  long long ns = 123'456'789 + milliseconds * 1'000'000;
  return {kChanged + static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

size_t kept_size(const struct stat& st) {
  const Entries* kept = kept_listing(st);
  return kept ? kept->size() : 0;
}
}  // namespace

// Two listings are kept, the one used least recently goes first, and
// together they hold no more than 60,000 names; a listing read too soon
// after its folder changed is not kept, nor one that missed partial copies
// for work that must see every name.
TEST(ListingCache, KeepsTwoSettledListingsWithinTheirShare) {
  keep_listing("d", folder(11), after(1000), names(3), false);
  keep_listing("e", folder(12), after(1000), names(4), false);
  EXPECT_EQ(kept_size(folder(11)), 3u);
  EXPECT_EQ(kept_size(folder(12)), 4u);
  EXPECT_EQ(kept_size(folder(11, 123'456'790)), 0u) << "the folder's times moved";

  keep_listing("f", folder(13), after(1000), names(5), false);
  EXPECT_EQ(kept_size(folder(11)), 0u) << "used least recently";
  EXPECT_EQ(kept_size(folder(12)), 4u);
  EXPECT_EQ(kept_size(folder(13)), 5u);

  keep_listing("g", folder(14), after(1000), names(59997), false);
  EXPECT_EQ(kept_size(folder(12)), 0u) << "4 + 59,997 names are over the share";
  EXPECT_EQ(kept_size(folder(13)), 0u);
  EXPECT_EQ(kept_size(folder(14)), 59997u);
  keep_listing("h", folder(15), after(1000), names(60001), false);
  EXPECT_EQ(kept_size(folder(15)), 0u) << "too large to keep";
  EXPECT_EQ(kept_size(folder(14)), 59997u) << "an empty place was taken first";

  keep_listing("i", folder(16), after(9), names(2), false);
  EXPECT_EQ(kept_size(folder(16)), 0u) << "read 9 ms after the change";
  EXPECT_EQ(kept_size(folder(14)), 59997u) << "a listing not kept takes no place";
  keep_listing("i", folder(16), after(10), names(2), false);
  EXPECT_EQ(kept_size(folder(16)), 2u);

  keep_listing("j", folder(17, 120'000'000), after(1000), names(2), false);
  EXPECT_EQ(kept_size(folder(17, 120'000'000)), 0u) << "coarse times: a second is not enough";
  keep_listing("j", folder(17, 120'000'000), after(2000), names(2), false);
  EXPECT_EQ(kept_size(folder(17, 120'000'000)), 2u);

  keep_listing("k", folder(18), after(1000), names(2), true);
  EXPECT_EQ(kept_size(folder(18)), 2u);
  EXPECT_EQ(kept_complete_listing(folder(18)), nullptr) << "partial copies were left out";
  keep_listing("k", folder(18), after(1000), names(2), false);
  EXPECT_NE(kept_complete_listing(folder(18)), nullptr);
  drop_kept_listing("k");
  EXPECT_EQ(kept_size(folder(18)), 0u);
}
