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

TEST(HtmlNesting, FollowsTheParserWhereNestingGrows) {
  struct Case {
    std::string html;
    size_t depth;
  } cases[] = {
      {"<p>a<p>b<br><div><b>c</b></div>", 2},
      {repeat("<li>x", 500) + repeat("<p>y", 500) + repeat("<td>z", 500), 1},  // closed by the next
      {"<table>" + repeat("<tr><td><b>x", 50) + "</table>" + repeat("<a name=x/>", 50), 3},
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
  for (const Case& c : cases) EXPECT_EQ(html_nesting(c.html, 1000).depth, c.depth) << c.html.substr(0, 60);
  // Past the limit the count stops.
  EXPECT_EQ(html_nesting(repeat("<b>", 400000), 1000).depth, 1001u);
}

// Formatting left open costs a copy of each per later run of text: a few
// per run, as pages have, is read; hundreds per run are not.
TEST(HtmlNesting, FormattingCopiedOverAndOverIsOutOfBounds) {
  std::string many_bold = "<p>";
  for (int i = 0; i < 900; ++i) many_bold += "<b id=" + std::to_string(i) + ">";
  struct Case {
    std::string html;
    uint64_t runs, reopened;
    bool in_bounds;
  } cases[] = {
      {"<b>a</b> b <i>c <u>d</u></i>", 4, 4, true},
      {"<font face=x><font size=2><b>" + repeat("<p>x</p>", 100000), 100000, 300000, true},
      {many_bold + "</p>" + repeat("<p>x</p>", 100), 100, 90000, true},
      {many_bold + "</p>" + repeat("<p>x</p>", 2000), 2000, 1800000, false},
      {"<script>" + repeat("<b>", 9) + "</script>x<style>b{}</style> y", 2, 0, true},
  };
  for (const Case& c : cases) {
    HtmlNesting n = html_nesting(c.html, 1000);
    EXPECT_EQ(n.text_runs, c.runs) << c.html.substr(0, 60);
    EXPECT_EQ(n.reopened, c.reopened) << c.html.substr(0, 60);
    EXPECT_EQ(parses_in_bounds(n, 1000), c.in_bounds) << c.html.substr(0, 60);
  }
}

}  // namespace
}  // namespace velmor
