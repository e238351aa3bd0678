#include "korvel/interp/name_filter.h"

#include <gtest/gtest.h>

#include <string>

namespace korvel {

namespace {
std::string name_of(const char* kind, int i) { return std::string(kind) + " " + std::to_string(i) + " [copy].txt"; }
}  // namespace

// Every name added is a "maybe"; a name never added is a "certainly not"
// nearly always, even at the 100,000 names of a working folder of 50,000
// documents: each wrong "maybe" costs a read of that whole folder.
TEST(NameFilter, HoldsWhatWasAddedAndRarelyClaimsMore) {
  NameFilter filter;
  EXPECT_TRUE(filter.may_hold("a.txt"));  // not started: it cannot tell
  filter.start();
  EXPECT_FALSE(filter.may_hold("a.txt"));
  constexpr int kNames = 100000, kAbsent = 1000000;
  for (int i = 0; i < kNames; ++i) filter.add(name_of("doc", i));
  for (int i = 0; i < kNames; ++i) ASSERT_TRUE(filter.may_hold(name_of("doc", i))) << i;
  int wrong = 0;
  for (int i = 0; i < kAbsent; ++i) wrong += filter.may_hold(name_of("other", i)) ? 1 : 0;
  EXPECT_LE(wrong, 20) << "of " << kAbsent;  // about 1 expected
  filter.start();
  EXPECT_FALSE(filter.may_hold(name_of("doc", 7)));  // started anew: empty again
  filter.release();
  EXPECT_TRUE(filter.may_hold(name_of("doc", 7)));
}

}  // namespace korvel
