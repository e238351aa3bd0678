#include "indexer/words/stretches.h"

#include <gtest/gtest.h>

#include <string>

#include "indexer/read/read_page.h"
#include "indexer/testing/memory_corpus.h"

namespace velmor {
namespace {

// A page read as the indexer reads it, its words split as the tests' corpus
// splits them, and its stretches written "a b | c": where a cluster may run.
std::string stretches_of(const std::string& page) {
  const Document doc = read_page(page, "p.htm");
  MemoryCorpus corpus({doc}, "");
  std::vector<WordToken> tokens;
  corpus.tokens(0, tokens);
  std::vector<uint32_t> starts;
  corpus.stretch_starts(0, starts);
  std::string out;
  for (uint32_t i = 0, s = 0; i < tokens.size(); ++i) {
    if (i > 0) out += s < starts.size() && starts[s] == i ? (++s, " | ") : " ";
    out += corpus.word(tokens[i].rank).form;
  }
  return out;
}

TEST(Stretches, ClustersStopAtSentencesBlocksAndBlankLines) {
  const std::string text_page =
      "<HTML>\r\n<head>\r\n<meta http-equiv=\"content-type\"  content=\"text/HTML; charset=utf-8\">\r\n"
      "<title>\r\nhtm_wrk\\t.htm\r\n</title>\r\n</head>\r\n<body>\r\n<pre>\r\n"
      "a text file's paragraph\r\nruns on\r\n\r\nafter a blank line\r\n</pre>\r\n</body>\r\n</html>\r\n";
  struct Case {
    std::string page, want;
  } cases[] = {
      {"<p>one two. three four! five? six</p>", "one two | three four | five | six"},
      {"<p>\xE2\x80\x9CSo.\xE2\x80\x9D Then \xE2\x80\xA6 more; and: on, on</p>", "So | Then | more and on on"},
      {"<p>\xE5\x8F\xA5\xE3\x80\x82\xE5\x8F\xA5</p><p>ab\xEF\xBC\x81"
       "cd</p>",
       "\xE5\x8F\xA5 | \xE5\x8F\xA5 | ab | cd"},
      {"<h1>Title words</h1><p>body words</p>", "Title words | body words"},
      {"<table><tr><td>cell one</td><td>cell two</td></tr></table>", "cell one | cell two"},
      {"<ul><li>item one<li>item two</ul>", "item one | item two"},
      {"<p>a line<br>goes on<br><br>not past a blank</p>", "a line goes on | not past a blank"},
      {"<pre>kept as\nwritten\n\nparted</pre><p>next</p>", "kept as written | parted | next"},
      {"<div>in <b>bold</b> still one</div>", "in bold still one"},
      {"version 3.14 and e.g. this", "version 3.14 and e.g | this"},  // an abbreviation parts: a cluster lost
      {text_page, "a text file's paragraph runs on | after a blank line"},
  };
  for (const Case& c : cases) EXPECT_EQ(stretches_of(c.page), c.want) << c.page;
}

}  // namespace
}  // namespace velmor
