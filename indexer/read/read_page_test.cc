#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/test_files.h"
#include "indexer/read/read_page.h"

namespace velmor {
namespace {

using Lines = std::vector<std::string>;

// A page as korvel's text-to-page conversion writes it.
std::string korvel_page(const std::string& name, const Lines& lines) {
  std::string page =
      "<HTML>\r\n<head>\r\n"
      "<meta http-equiv=\"content-type\"  content=\"text/HTML; charset=utf-8\">\r\n"
      "<title>\r\nhtm_wrk\\" +
      name + "\r\n</title>\r\n</head>\r\n<body>\r\n<pre>\r\n";
  for (const std::string& line : lines) page += line + "\r\n";
  return page + "</pre>\r\n</body>\r\n</html>\r\n";
}

TEST(ReadPage, KorvelPagesKeepEveryLineAsWritten) {
  Lines text = {"See <https://example.org/x> now", "a < b & c", "", "&amp; <b>not bold</b>", "</pre>", "\ttabbed"};
  Document doc = read_page(korvel_page("notes.htm", text), "notes.htm");
  EXPECT_EQ(doc.title, "notes.htm");
  EXPECT_EQ(doc.lines, text);
  EXPECT_EQ(doc.invalid_bytes, 0u);

  Document empty = read_page(korvel_page("e.htm", {}), "e.htm");
  EXPECT_EQ(empty.lines, Lines{});
  EXPECT_EQ(empty.title, "e.htm");
}

TEST(ReadPage, KorvelPageDetailsAreCleaned) {
  // A byte-order mark of the document, a Latin-1 byte, an old Mac line end,
  // a lone LF.
  Document doc = read_page(korvel_page("m.htm", {"\xEF\xBB\xBFHello", "caf\xE9", "one\rtwo", "x\ny"}), "m.htm");
  EXPECT_EQ(doc.lines, (Lines{"Hello", "caf\xEF\xBF\xBD", "one", "two", "x", "y"}));
  EXPECT_EQ(doc.invalid_bytes, 1u);
}

TEST(ReadPage, PagesThatBreakTheFrameAreHtml) {
  std::string good = korvel_page("a.htm", {"x <https://example.org/x> y"});
  auto replace = [&](const std::string& from, const std::string& to) {
    std::string page = good;
    page.replace(page.find(from), from.size(), to);
    return page;
  };
  std::string broken[] = {
      replace("\r\n", "\n"),  // LF line ends
      replace("<HTML>", "<html>"),
      replace("content=", "content ="),    // meta line changed
      replace("htm_wrk\\a.htm", "a.htm"),  // no folder in the title
      replace("htm_wrk\\a.htm", "htm_wrk\\a.txt"),
      replace("</html>\r\n", "</html>\r\n<p>more</p>"),  // something after the end
      replace("<pre>\r\n", "<pre>\r\n<b>"),
  };
  for (const std::string& page : broken) {
    // As HTML, "<https://example.org/x>" is a tag and its words are gone.
    Document doc = read_page(page, "a.htm");
    EXPECT_NE(doc.lines, Lines{"x <https://example.org/x> y"}) << page;
  }
}

TEST(ReadPage, HtmlPagesTitleAndInvalidBytes) {
  Document titled = read_page("<title>Kratka zgodba</title><p>Čas.</p>", "zgodba.html");
  EXPECT_EQ(titled.title, "Kratka zgodba");
  EXPECT_EQ(titled.file_name, "zgodba.html");
  EXPECT_EQ(titled.lines, Lines{"Čas."});

  Document untitled = read_page("\xEF\xBB\xBF<p>x \xFF\xFE y</p>", "bad\xFFname.htm");
  EXPECT_EQ(untitled.title, "bad\xEF\xBF\xBDname.htm");
  EXPECT_EQ(untitled.lines, Lines{"x \xEF\xBF\xBD\xEF\xBF\xBD y"});
  EXPECT_EQ(untitled.invalid_bytes, 2u);
  EXPECT_EQ(untitled.bytes, 16u);
}

TEST(ReadPage, Utf16PagesAreDecoded) {
  std::string le = std::string("\xFF\xFE", 2);
  for (char16_t c : std::u16string(u"<p>čas 😀</p>")) {
    le += static_cast<char>(c & 0xFF);
    le += static_cast<char>(c >> 8);
  }
  Document doc = read_page(le, "u.htm");
  EXPECT_EQ(doc.lines, Lines{"čas 😀"});
  EXPECT_EQ(doc.invalid_bytes, 0u);
}

class ReadPageFile : public ::testing::Test {
 protected:
  common::WorkFolder work{"velmor_read_page"};
  const std::filesystem::path& dir = work.path;
  std::string write(const std::string& name, const std::string& bytes) {
    common::write_file(dir / name, bytes);
    return (dir / name).string();
  }
};

TEST_F(ReadPageFile, ProblemsNameTheFile) {
  std::string fifo = (dir / "pipe.htm").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_directory(dir / "folder.htm");
  struct Case {
    std::string path;
    PageProblem problem;
  } cases[] = {
      {write("empty.htm", ""), PageProblem::empty},
      {write("picture.htm", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)), PageProblem::binary},
      {fifo, PageProblem::unreadable},
      {(dir / "folder.htm").string(), PageProblem::unreadable},
      {(dir / "missing.htm").string(), PageProblem::unreadable},
      {write("nested.htm",
             [] {
               std::string s;
               for (int i = 0; i < 400000; ++i) s += "<b>";
               return s;
             }()),
       PageProblem::too_deep},
  };
  for (const Case& c : cases) {
    std::string name = std::filesystem::path(c.path).filename().string();
    PageRead read = read_page_file(c.path, name);
    EXPECT_EQ(read.problem, c.problem) << name;
    EXPECT_NE(read.message.find(name), std::string::npos) << read.message;
    EXPECT_EQ(read.message.find('\n'), std::string::npos) << read.message;
  }
}

TEST_F(ReadPageFile, ReadsAPage) {
  std::string page = korvel_page("k.htm", {"x < y"});
  PageRead read = read_page_file(write("k.htm", page), "k.htm");
  EXPECT_EQ(read.problem, PageProblem::none);
  EXPECT_EQ(read.message, "");
  EXPECT_EQ(read.document.lines, Lines{"x < y"});
  EXPECT_EQ(read.document.bytes, page.size());
}

// The file reader skips the second check of pages it found valid; pages
// that are not must still come out as the checking reader makes them.
TEST_F(ReadPageFile, ReadsAsThePageReaderDoes) {
  const std::string pages[] = {
      korvel_page("ok.htm", {"\xEF\xBB\xBFčaj", "b"}),
      korvel_page("bad.htm", {"a\xFF"
                              "b",
                              "\xC3"}),
      korvel_page("cr.htm", {"a\rb"}),
      "<title>t\xE9</title><p>caf\xE9 ok",
      "<p>plain",
      std::string("\xFF\xFE<\0p\0>\0", 8),
  };
  for (const std::string& page : pages) {
    const Document expected = read_page(page, "p.htm");
    const Document read = read_page_file(write("p.htm", page), "p.htm").document;
    EXPECT_EQ(read.lines, expected.lines) << page;
    EXPECT_EQ(read.title, expected.title) << page;
    EXPECT_EQ(read.invalid_bytes, expected.invalid_bytes) << page;
  }
}

}  // namespace
}  // namespace velmor
