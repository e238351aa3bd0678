#include "indexer/read/html_cost.h"

#include <gtest/gtest.h>

#include <string>

namespace velmor {
namespace {

// At least as many attributes as the parser reads in the tag, and not the
// blanks inside quoted values.
TEST(StartTagScan, CountsTheAttributesTheParserReads) {
  struct Case {
    std::string tag;
    uint64_t attributes;
    bool ended;
  } cases[] = {
      {"<p>", 0, true},
      {"<img src='a b > c' alt=\"x y\" hidden>rest", 3, true},
      {"<p a=1 b c=d/>", 3, true},
      {"<p a=\"1\"b='2'c>", 3, true},
      {"<p \"a b\" c>", 4, true},     // a quote not after '=' is no quote
      {"<p =\" a1 a2 a3", 4, false},  // nor after a bogus '='
      {"<p a=b=\"c d", 2, false},     // nor inside an unquoted value
      {"<p a='> b c", 1, false},
  };
  for (const Case& c : cases) {
    for (size_t at = 0; at <= c.tag.size(); ++at) {
      StartTagScan scan;
      scan.feed(std::string_view(c.tag).substr(0, at));
      scan.feed(std::string_view(c.tag).substr(at));
      EXPECT_EQ(scan.attributes(), c.attributes) << c.tag << " cut at " << at;
      EXPECT_EQ(scan.ended(), c.ended) << c.tag;
    }
  }
}

}  // namespace
}  // namespace velmor
