#include "indexer/measures/association.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace velmor {
namespace {

// The cases the browser's association.js is held to as well.
TEST(Association, EachMeasureGivesTheWorkedValues) {
  std::ifstream in(VELMOR_ASSOCIATION_CASES);
  ASSERT_TRUE(in) << VELMOR_ASSOCIATION_CASES;
  std::string line;
  int cases = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream row(line);
    std::string name;
    PairCounts c{};
    double want = 0;
    row >> name >> c.together >> c.word >> c.collocate >> c.tokens >> c.span >> want;
    ASSERT_TRUE(row) << line;
    Measure m;
    ASSERT_TRUE(measure_named(name, m)) << name;
    EXPECT_NEAR(association(m, c), want, 5e-6) << line;
    ++cases;
  }
  EXPECT_EQ(cases, 25);
}

}  // namespace
}  // namespace velmor
