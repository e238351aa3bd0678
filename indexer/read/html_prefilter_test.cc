#include "indexer/read/html_prefilter.h"

#include <gtest/gtest.h>

#include <string>

namespace velmor {
namespace {

// Whole, and cut at every byte: a tag or reference across the cut must come
// out as if uncut.
TEST(HtmlPrefilter, ChangesWhatTheParserWouldLoseWhereverThePageIsCut) {
  struct Case {
    std::string page, out;
  } cases[] = {
      {"a</body></HTML>b", "a</_body></_HTML>b"},
      {"</bodyx></htm></html", "</bodyx></htm></_html"},
      {"a</br>b</BR/></bra>", "a<br>b<BR/></bra>"},
      {"&bullet;&bullet&Bullet;&nosuch;&amp;&", "\xE2\x80\xA2&bullet&Bullet;&nosuch;&amp;&"},
      {"&AMP;lt; &LT;b&GT;", "&amp;lt; &lt;b>"},
      {"&CounterClockwiseContourIntegral;", "\xE2\x88\xB3"},
      {std::string("a\0b\0", 4), "ab"},
  };
  for (const Case& c : cases) {
    for (size_t at = 0; at <= c.page.size(); ++at) {
      HtmlPrefilter filter;
      std::string out;
      filter.feed(std::string_view(c.page).substr(0, at), false, out);
      filter.feed(std::string_view(c.page).substr(at), true, out);
      EXPECT_EQ(out, c.out) << c.page << " cut at " << at;
    }
  }
}

}  // namespace
}  // namespace velmor
