#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "indexer/read/html_text.h"

namespace velmor {
namespace {

using Lines = std::vector<std::string>;

// Which lines go on within their block: a <br> and a line end kept as
// written continue one, a block's end does not.
TEST(HtmlText, LinesThatGoOnWithinTheirBlock) {
  struct Case {
    std::string html;
    Lines lines;
    std::vector<uint32_t> continued;
  } cases[] = {
      {"line<br>break<br><br>after", {"line", "break", "", "after"}, {1, 2, 3}},
      {"<p>a<br>b</p><p>c</p>", {"a", "b", "c"}, {1}},
      {"<p>a<br></p><p>c</p>", {"a", "c"}, {}},
      {"<pre>x\ny</pre><p>z</p>", {"x", "y", "z"}, {1}},
      {"<table><tr><td>x</td><td>y</td></tr></table><h2>z</h2>", {"x", "y", "z"}, {}},
  };
  for (const Case& c : cases) {
    HtmlText text;
    ASSERT_TRUE(html_text(c.html, text)) << c.html;
    EXPECT_EQ(text.lines, c.lines) << c.html;
    EXPECT_EQ(text.continued_lines, c.continued) << c.html;
  }
}

TEST(HtmlText, BodyTextAsABrowserShowsIt) {
  struct Case {
    std::string html;
    const char* title;
    Lines lines;
  } cases[] = {
      {"<title> My \n  Notes </title><p>Hello <b>big</b>   world</p>", "My Notes", {"Hello big world"}},
      {"<p>no title</p>", "", {"no title"}},
      {"<p>a</p><p>b</p><div>c<div>d</div>e</div>", "", {"a", "b", "c", "d", "e"}},
      {"<ul><li>one<li>two</ul><h1>Head</h1>tail", "", {"one", "two", "Head", "tail"}},
      {"<table><tr><td>x</td><td>y</td></tr><tr><th>z</table>", "", {"x", "y", "z"}},
      {"line<br>break<br><br>after", "", {"line", "break", "", "after"}},
      {"<script>var word = 1;</script><style>p { color: red }</style>"
       "<!-- hidden words -->shown<noscript>also hidden</noscript>",
       "",
       {"shown"}},
      {"&lt;tag&gt; &amp; caf&eacute; &#x10D;as&nbsp;x", "", {"<tag> & café čas\xC2\xA0x"}},
      {"<pre>\n  indented\n\n\tand tabbed  \n<b>bold</b> kept</pre>after",
       "",
       {"  indented", "", "\tand tabbed  ", "bold kept", "after"}},
      {"<p>in <pre>x\r\ny</pre> out</p>", "", {"in", "x", "y", "out"}},
      {"<svg><title>not the page title</title><text>drawn</text></svg><title>Real</title>", "Real", {"drawn"}},
      {"", "", {}},
      // libxml2 reads HTML 4; where that lost words browsers show, the
      // page is changed on its way in (html_prefilter.h).
      {"<body><p>in</p></body></html><p>after the end</p>", "", {"in", "after the end"}},
      {"one</br>two", "", {"one", "two"}},
      {"&bullet; x&NewLine;y &AMP;lt; &amp;bullet;", "", {"\xE2\x80\xA2 x y &lt; &bullet;"}},
      {std::string("a\0b <b>c</b>", 12), "", {"ab c"}},
      {"<meta charset=windows-1252><title>čas</title>čas", "čas", {"čas"}},
      {"<template><p>never shown</p></template>shown", "", {"shown"}},
  };
  for (const Case& c : cases) {
    HtmlText text;
    EXPECT_TRUE(html_text(c.html, text)) << c.html;
    EXPECT_EQ(text.title, c.title) << c.html;
    EXPECT_EQ(text.lines, c.lines) << c.html;
  }
}

// Nesting up to the limit is read; past it the page is refused, not parsed.
TEST(HtmlText, NestingPastTheLimitIsRefused) {
  for (size_t depth : {kMaxHtmlDepth - 5, kMaxHtmlDepth + 1, size_t{100000}}) {
    std::string html;
    for (size_t i = 0; i < depth; ++i) html += "<span>";
    html += "deep";
    HtmlText text;
    const bool read = html_text(html, text);
    EXPECT_EQ(read, depth <= kMaxHtmlDepth) << depth;
    EXPECT_EQ(text.lines, read ? Lines{"deep"} : Lines{}) << depth;
  }
}

std::string repeat(std::string_view s, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += s;
  return out;
}

// Pages that cost the parser far more than their size are refused alone;
// pages that only look costly are read. The first two crashed gumbo.
TEST(HtmlText, CostlyPagesAreRefusedAndOnlyThey) {
  std::string attributes = "<p";
  for (int i = 0; i < 100000; ++i) attributes += " a" + std::to_string(i);
  std::string many_tags;
  for (int t = 0; t < 2000; ++t) {
    many_tags += "<p";
    for (int i = 0; i < 900; ++i) many_tags += " a" + std::to_string(i);
    many_tags += ">x";
  }
  struct Case {
    const char* what;
    std::string html;
    bool read;
  } cases[] = {
      {"unclosed objects", repeat("<div><object></div>", 150000), true},
      {"unclosed noscripts", repeat("<span><noscript></span>", 150000), true},
      {"deep, then text", repeat("<div>", 900) + repeat("word ", 100000), true},
      {"a long quoted value", "<img src='" + repeat("QUJD ", 200000) + "'>after", true},
      {"unmatched end tags, deep", repeat("<div>", 999) + repeat("</x>", 1000000), false},
      {"body tags, deep", repeat("<div>", 999) + repeat("<body>", 500000), false},
      {"a tag of 100,000 attributes", attributes + ">x", false},
      {"tags of 900 attributes", many_tags, false},
  };
  for (const Case& c : cases) {
    HtmlText text;
    EXPECT_EQ(html_text(c.html, text), c.read) << c.what;
    if (!c.read) {
      EXPECT_TRUE(text.lines.empty() && text.title.empty()) << c.what;
    }
  }
}

}  // namespace
}  // namespace velmor
