#include "indexer/export/vertical.h"

#include <gtest/gtest.h>

#include "indexer/export/vertical_reader.h"

using namespace velmor;
using velmor::testing::read_vertical;

namespace {

Document document(std::vector<std::string> lines, std::string title = "T", std::string file = "t.htm") {
  Document d;
  d.title = std::move(title);
  d.file_name = std::move(file);
  d.lines = std::move(lines);
  return d;
}

}  // namespace

// Hostile titles and file names come back whole from a strict reader; what
// XML cannot hold at all (controls but tab, LF, CR) comes back as U+FFFD.
TEST(Vertical, AttributesSurviveAStrictReader) {
  struct Case {
    std::string text, read_back;
  } cases[] = {
      {"Tom & Jerry <3 \"quoted\" 'single' >", "Tom & Jerry <3 \"quoted\" 'single' >"},
      {"&amp; stays &amp;", "&amp; stays &amp;"},
      {"tab\there\nnew line\r", "tab\there\nnew line\r"},
      {std::string("nul\0bell\x07"
                   "del\x7f"
                   "esc\x1b",
                   17),
       "nul\uFFFDbell\uFFFDdel\uFFFDesc\uFFFD"},
      {"\"><doc id=\"2\">", "\"><doc id=\"2\">"},
      {"Čaj ΟΔΟΣ 日本", "Čaj ΟΔΟΣ 日本"},
  };
  for (const Case& c : cases) {
    VerticalWriter writer{WordRules{}};
    std::string out;
    writer.append(document({"word"}, c.text, c.text + ".htm"), 1, out);
    auto read = read_vertical(out);
    ASSERT_EQ(read.error, "") << out;
    ASSERT_EQ(read.docs.size(), 1u);
    EXPECT_EQ(read.docs[0].title, c.read_back);
    EXPECT_EQ(read.docs[0].file, c.read_back + ".htm");
    EXPECT_EQ(out.find('\n'), out.find("\">") + 2) << "the tag spans lines: " << out;
  }
}

// Paragraphs are runs of lines between empty ones; lines and paragraphs
// without words leave nothing behind.
TEST(Vertical, LinesAndParagraphs) {
  struct Case {
    std::vector<std::string> lines;
    std::string shape;
  } cases[] = {
      {{}, ""},
      {{"", "  ", "--- ..."}, ""},
      {{"one two"}, "p l w w /l /p"},
      {{"one", "two three"}, "p l w /l l w w /l /p"},
      {{"one", "", "", "two"}, "p l w /l /p p l w /l /p"},
      {{"one", "* * *", "two"}, "p l w /l l w /l /p"},
      {{"", "one", " \t"}, "p l w /l /p"},
  };
  for (const Case& c : cases) {
    VerticalWriter writer{WordRules{}};
    std::string out;
    writer.append(document(c.lines), 1, out);
    auto read = read_vertical(out);
    ASSERT_EQ(read.error, "") << out;
    EXPECT_EQ(read.docs[0].shape, c.shape) << out;
  }
}

// The words and keys are the index's, under the same rules; <l n> is the
// line's number in the document, counting the lines without words.
TEST(Vertical, WordsAndKeysFollowTheRules) {
  struct Case {
    WordRules rules;
    std::string line;
    std::vector<std::string> forms, keys;
  } cases[] = {
      {{}, "L’homme STRASSE a<b", {"L’", "homme", "STRASSE", "a", "b"}, {"l'", "homme", "strasse", "a", "b"}},
      {{false, true}, "L’homme", {"L’homme"}, {"l'homme"}},
      {{true, false}, "L’homme", {"L’", "homme"}, {"l’", "homme"}},
      {{}, "AT&T x\"y", {"AT", "T", "x", "y"}, {"at", "t", "x", "y"}},
  };
  for (const Case& c : cases) {
    VerticalWriter writer{c.rules};
    std::string out;
    EXPECT_EQ(writer.append(document({"", c.line}), 7, out), c.forms.size());
    auto read = read_vertical(out);
    ASSERT_EQ(read.error, "") << out;
    EXPECT_EQ(read.docs[0].id, "7");
    EXPECT_EQ(read.docs[0].forms, c.forms) << c.line;
    EXPECT_EQ(read.docs[0].keys, c.keys) << c.line;
    EXPECT_NE(out.find("<l n=\"2\">"), std::string::npos) << out;
  }
}

TEST(Vertical, AnEarlierExportIsKnownByItsEnds) {
  struct Case {
    std::string head, tail;
    bool ours;
  } cases[] = {
      {"", "", true},
      {"<doc id=\"1\" title=\"a\" file=\"a.htm\">\n<p>\n", "</p>\n</doc>\n", true},
      {"<doc id=\"1\" title=\"a\" file=\"a.htm\">\n", "</doc>", false},
      {"<doc id=\"2\" title=\"a\" file=\"a.htm\">\n", "</doc>\n", false},
      {"<doc id=\"1\" title=\"a\">\n", "</doc>\n", false},
      {"<doc id=\"1\" title=\"a\" file=\"a.htm\"", "</doc>\n", false},
      {"my thesis, chapter 1\n", "</doc>\n", false},
      {"\n", "\n", false},
  };
  for (const Case& c : cases) EXPECT_EQ(looks_like_export(c.head, c.tail), c.ours) << c.head << "|" << c.tail;
}
