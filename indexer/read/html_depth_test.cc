#include "indexer/read/html_depth.h"

#include <gtest/gtest.h>

#include <string>

namespace velmor {
namespace {

std::string repeat(std::string_view s, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += s;
  return out;
}

TEST(HtmlDepth, FollowsTheParserWhereNestingGrows) {
  struct Case {
    std::string html;
    size_t depth;
  } cases[] = {
      {"<p>a<p>b<br><div><b>c</b></div>", 2},
      {repeat("<li>x", 500) + repeat("<p>y", 500) + repeat("<td>z", 500), 0},  // closed by the next
      {repeat("<div>", 40) + repeat("</div>", 40) + repeat("<DIV>", 30), 40},
      {repeat("<x><div></x>", 3), 6},               // </x> does not close across the <div>
      {repeat("<b id=1><i></b>x", 3), 4},           // each <i> is opened again
      {"<svg>" + repeat("<path d='1'/>", 50) + "</svg>", 1},
      {"<svg><div/><div/><div/>", 3},               // <div> ends the svg; "/>" means nothing then
      {repeat("<span/>", 7), 7},
      {"<script>if (a<b) { '<div><div>' }</SCRIPT><div>", 1},
      {"<!-- <div><div> --><span title='>'>x</span><div", 1},
      {"<title><b><b><b></title>", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(html_depth(c.html, 1000), c.depth) << c.html.substr(0, 60);
  // Past the limit the count stops.
  EXPECT_EQ(html_depth(repeat("<b>", 400000), 1000), 1001u);
}

}  // namespace
}  // namespace velmor
