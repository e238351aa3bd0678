#include "indexer/measures/dispersion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velmor {
namespace {

// DPnorm worked by hand: DP = half the sum over documents of |share of the
// word there - share of the corpus there|, over 1 - the smallest share.
TEST(Dispersion, DpNormMatchesHandWorkedValues) {
  struct Case {
    std::vector<uint64_t> sizes;
    std::vector<uint32_t> docs;  // one entry per occurrence
    double dp_norm;              // -1: none
  } cases[] = {
      {{50, 50}, {0, 0, 1, 1}, 0},               // as even as the documents
      {{50, 50}, {0, 0, 0, 0}, 1},               // DP 0.5, its most with two halves
      {{10, 30, 60}, {0, 1, 2, 2}, 0.15 / 0.9},  // |.25-.1| + |.25-.3| + |.5-.6| = .3
      {{10, 30, 60}, {2, 2, 2}, 0.4 / 0.9},      // all in the largest: .1 + .3 + .4 = .8
      {{10, 30, 60}, {0}, 1},                    // all in the smallest: .9 + .3 + .6
      {{0, 20, 20}, {1}, 1},                     // an empty document is no part: min share .5
      {{100}, {0, 0}, -1},                       // one document: nothing to compare
      {{100, 0}, {0}, -1},
      {{10, 30}, {}, -1},  // a word that does not occur
  };
  for (const Case& c : cases) {
    std::vector<Occurrence> occ;
    for (uint32_t i = 0; i < c.docs.size(); ++i) occ.push_back({c.docs[i], i});
    const std::optional<double> got = dp_norm(occ, DocumentSizes(c.sizes));
    if (c.dp_norm < 0) {
      EXPECT_FALSE(got.has_value()) << c.sizes.size() << " documents";
      EXPECT_EQ(dp_thousandths(got), -1);
    } else {
      ASSERT_TRUE(got.has_value());
      EXPECT_NEAR(*got, c.dp_norm, 1e-12) << c.sizes.size() << " documents, " << c.docs.size() << " occurrences";
      EXPECT_EQ(dp_thousandths(got), static_cast<int16_t>(std::lround(c.dp_norm * 1000)));
    }
  }
}

}  // namespace
}  // namespace velmor
