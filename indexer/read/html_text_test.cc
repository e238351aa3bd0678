#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "indexer/read/html_text.h"

namespace velmor {
namespace {

using Lines = std::vector<std::string>;

TEST(HtmlText, BodyTextAsABrowserShowsIt) {
  struct Case {
    const char* html;
    const char* title;
    Lines lines;
  } cases[] = {
      {"<title> My \n  Notes </title><p>Hello <b>big</b>   world</p>", "My Notes",
       {"Hello big world"}},
      {"<p>no title</p>", "", {"no title"}},
      {"<p>a</p><p>b</p><div>c<div>d</div>e</div>", "", {"a", "b", "c", "d", "e"}},
      {"<ul><li>one<li>two</ul><h1>Head</h1>tail", "", {"one", "two", "Head", "tail"}},
      {"<table><tr><td>x</td><td>y</td></tr><tr><th>z</table>", "", {"x", "y", "z"}},
      {"line<br>break<br><br>after", "", {"line", "break", "", "after"}},
      {"<script>var word = 1;</script><style>p { color: red }</style>"
       "<!-- hidden words -->shown<noscript>also hidden</noscript>",
       "", {"shown"}},
      {"&lt;tag&gt; &amp; caf&eacute; &#x10D;as&nbsp;x", "", {"<tag> & café čas\xC2\xA0x"}},
      {"<pre>\n  indented\n\n\tand tabbed  \n<b>bold</b> kept</pre>after", "",
       {"  indented", "", "\tand tabbed  ", "bold kept", "after"}},
      {"<p>in <pre>x\r\ny</pre> out</p>", "", {"in", "x", "y", "out"}},
      {"<svg><title>not the page title</title><text>drawn</text></svg><title>Real</title>",
       "Real", {"drawn"}},
      {"", "", {}},
  };
  for (const Case& c : cases) {
    HtmlText text;
    html_text(c.html, text);
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

}  // namespace
}  // namespace velmor
