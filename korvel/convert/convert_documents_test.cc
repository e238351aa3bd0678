#include "korvel/convert/convert_documents.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "korvel/testing/e2e.h"
#include "korvel/testing/file_size_limit.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace korvel {

namespace fs = std::filesystem;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool kUnderAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool kUnderAddressSanitizer = false;
#endif

const char kHead[] =
    "<HTML>\r\n<head>\r\n"
    "<meta http-equiv=\"content-type\"  content=\"text/HTML; charset=utf-8\">\r\n"
    "<title>\r\n";
const char kBodyStart[] = "</title>\r\n</head>\r\n<body>\r\n<pre>\r\n";
const char kTail[] = "</pre>\r\n</body>\r\n</html>\r\n";

std::string page_of(const std::string& page_path, const std::string& content_lines) {
  return kHead + page_path + "\r\n" + kBodyStart + content_lines + kTail;
}

// What the code under test writes on standard error.
template <typename F>
std::string error_output(F&& run) {
  fs::path file = fs::temp_directory_path() / ("korvel-stderr-" + std::to_string(getpid()));
  int saved = dup(2);
  int target = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(target, 2);
  close(target);
  run();
  dup2(saved, 2);
  close(saved);
  std::string text = read_file(file);
  fs::remove(file);
  return text;
}

struct Work : WorkFolder {
  Work() {
    fs::create_directory("txt_in");
    fs::create_directory("txt_wrk");
    fs::create_directory("htm_wrk");
  }
};

}  // namespace

TEST(WritePage, TheTwoLineDocumentGivesTheOneHundredEightyBytePage) {
  Work work;
  const std::string expected =
      "<HTML>\r\n<head>\r\n"
      "<meta http-equiv=\"content-type\"  content=\"text/HTML; charset=utf-8\">\r\n"
      "<title>\r\nhtm_wrk\\a.htm\r\n</title>\r\n</head>\r\n<body>\r\n<pre>\r\n"
      "one\r\ntwo\r\n</pre>\r\n</body>\r\n</html>\r\n";
  ASSERT_EQ(expected.size(), 180u);
  for (const char* document : {"one\r\ntwo  \r\n", "one\r\ntwo  "}) {
    write_file("txt_wrk/a.txt", document);
    write_page("txt_wrk\\a.txt", "htm_wrk\\a.htm");
    EXPECT_EQ(read_file("htm_wrk/a.htm"), expected) << document;
  }
  write_file("txt_wrk/a.txt", "");
  write_page("txt_wrk\\a.txt", "htm_wrk\\a.htm");
  std::string empty_page = read_file("htm_wrk/a.htm");
  EXPECT_EQ(empty_page.size(), 170u);
  EXPECT_EQ(empty_page, page_of("htm_wrk\\a.htm", ""));
}

TEST(WritePage, ContentLines) {
  Work work;
  using namespace std::string_literals;
  struct Case {
    std::string document;
    std::string lines;  // between "<pre>" and "</pre>"
  } cases[] = {
      {"one\r\n\r\n", "one\r\n\r\n"},  // an extra empty last line stays
      {"one\ntwo\n", "one\r\ntwo\r\n"},
      {"\r\nmiddle\r\n\r\n\r\nend", "\r\nmiddle\r\n\r\n\r\nend\r\n"},
      {"a < b > c & d\r\n", "a < b > c & d\r\n"},
      {"\xEF\xBB\xBF"
       "first\r\n",
       "\xEF\xBB\xBF"
       "first\r\n"},
      {"  keep\tthis \r\n    \r\n", "  keep\tthis\r\n\r\n"},
      {"x \0\0 \0\r\ny\r\n"s, "x\r\ny\r\n"},
      {"before\x1A"
       "after\r\n",
       "before\r\n"},
      // Bytes lie before the end of the file, so one (empty) line is read.
      {"\x1A"
       "hidden\r\n",
       "\r\n"},
      // Runs of blanks longer than the writer holds, read again where the
      // line goes on after them, over the ends of pieces and lines.
      {"short  \r\na" + std::string(100000, ' ') + std::string("\0b", 2) + std::string(70000, ' ') + "\r\n" +
           std::string(70001, '\0') + "c\r\n",
       "short\r\na" + std::string(100000, ' ') + std::string("\0b\r\n", 4) + std::string(70001, '\0') + "c\r\n"},
  };
  for (const Case& c : cases) {
    write_file("txt_wrk/doc.txt", c.document);
    write_page("txt_wrk\\doc.txt", "htm_wrk\\doc.htm");
    EXPECT_EQ(read_file("htm_wrk/doc.htm"), page_of("htm_wrk\\doc.htm", c.lines)) << c.document.substr(0, 40);
  }
}

TEST(WritePage, ReplacesAnOlderPageWhole) {
  Work work;
  write_file("htm_wrk/a.htm", std::string(1000, 'z'));
  write_file("txt_wrk/a.txt", "new\r\n");
  write_page("txt_wrk\\a.txt", "htm_wrk\\a.htm");
  EXPECT_EQ(read_file("htm_wrk/a.htm"), page_of("htm_wrk\\a.htm", "new\r\n"));
}

// The line is longer than the memory the writer may take: it must come
// through a part at a time, never held whole.
TEST(WritePage, AHundredMegabyteLineComesThroughWholeInLittleMemory) {
  Work work;
  const size_t length = 100u << 20;
  {
    std::string line(length, 'x');
    for (size_t i = 0; i < length; i += 4099) line[i] = static_cast<char>('a' + i % 26);
    write_file("txt_wrk/big.txt", line + "   \r\nlast\r\n");
  }
  // An address space limit and the sanitizer's shadow memory do not mix:
  // there the page is only checked.
  pid_t child = kUnderAddressSanitizer ? -1 : fork();
  if (child < 0) write_page("txt_wrk\\big.txt", "htm_wrk\\big.htm");
  if (child == 0) {
    // What the process maps now, and 48 MB more.
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    rlim_t mapped = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
    struct rlimit limit = {mapped + (48u << 20), RLIM_INFINITY};
    setrlimit(RLIMIT_AS, &limit);
    write_page("txt_wrk\\big.txt", "htm_wrk\\big.htm");
    _exit(0);
  }
  int status = 0;
  if (child > 0) waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the page writer ran out of memory";
  std::string page = read_file("htm_wrk/big.htm");
  std::string head = kHead + std::string("htm_wrk\\big.htm\r\n") + kBodyStart;
  std::string tail = std::string("\r\nlast\r\n") + kTail;
  ASSERT_EQ(page.size(), head.size() + length + tail.size());
  EXPECT_EQ(page.compare(0, head.size(), head), 0);
  EXPECT_EQ(page.compare(page.size() - tail.size(), tail.size(), tail), 0);
  for (size_t i = 0; i < length; ++i) {
    char want = i % 4099 == 0 ? static_cast<char>('a' + i % 26) : 'x';
    if (page[head.size() + i] != want) {
      ADD_FAILURE() << "byte " << i << " of the line differs";
      break;
    }
  }
}

TEST(WritePage, ADocumentThatCannotBeReadGetsNoPage) {
  Work work;
  fs::create_directory("txt_wrk/folder.txt");
  struct Case {
    const char* source;
    const char* page;
    const char* message;
  } cases[] = {
      {"txt_wrk\\missing.txt", "htm_wrk\\missing.htm",
       "The document txt_wrk\\missing.txt cannot be read; it gets no page.\r\n"},
      {"txt_wrk\\folder.txt", "htm_wrk\\folder.htm",
       "The document txt_wrk\\folder.txt cannot be read; it gets no page.\r\n"},
      {"txt_wrk\\fifo.txt", "htm_wrk\\fifo.htm", "The document txt_wrk\\fifo.txt cannot be read; it gets no page.\r\n"},
  };
  ASSERT_EQ(mkfifo("txt_wrk/fifo.txt", 0644), 0);
  alarm(30);  // were the FIFO opened, the test would wait for ever
  for (const Case& c : cases) {
    EXPECT_EQ(error_output([&] { write_page(c.source, c.page); }), c.message);
    EXPECT_FALSE(fs::exists(fs::path("htm_wrk") / std::string(c.page).substr(8))) << c.page;
  }
  alarm(0);
  // An empty document is readable: it gets its page.
  write_file("txt_wrk/empty.txt", "");
  EXPECT_EQ(error_output([] { write_page("txt_wrk\\empty.txt", "htm_wrk\\empty.htm"); }), "");
  EXPECT_EQ(read_file("htm_wrk/empty.htm"), page_of("htm_wrk\\empty.htm", ""));
}

TEST(WritePage, APageThatCannotBeCreatedIsReported) {
  Work work;
  write_file("txt_wrk/a.txt", "one\r\n");
  fs::create_directory("htm_wrk/a.htm");  // a folder where the page should go
  EXPECT_EQ(error_output([] { write_page("txt_wrk\\a.txt", "htm_wrk\\a.htm"); }),
            "The page htm_wrk\\a.htm cannot be created.\r\n");
  EXPECT_EQ(error_output([] { write_page("txt_wrk\\a.txt", "nowhere\\a.htm"); }),
            "The page nowhere\\a.htm cannot be created.\r\n");
  EXPECT_FALSE(fs::exists("nowhere"));
  // Nothing stays open after a failure: the next page still gets slot one.
  write_page("txt_wrk\\a.txt", "htm_wrk\\b.htm");
  EXPECT_EQ(read_file("htm_wrk/b.htm"), page_of("htm_wrk\\b.htm", "one\r\n"));
}

TEST(WritePage, APageNotWrittenWholeIsRemovedAndNamed) {
  Work work;
  std::string document;
  for (int i = 0; i < 4000; ++i) document += "line " + std::to_string(i) + "\r\n";
  write_file("txt_wrk/a.txt", document);
  write_file("htm_wrk/a.htm", "older page");
  std::string message;
  {
    FileSizeLimit limit(16 * 1024);
    message = error_output([] { write_page("txt_wrk\\a.txt", "htm_wrk\\a.htm"); });
  }
  EXPECT_EQ(message,
            "The page htm_wrk\\a.htm could not be written whole and is removed. "
            "There is not enough space on the disk.\r\n");
  EXPECT_FALSE(fs::exists("htm_wrk/a.htm"));
  EXPECT_EQ(read_file("txt_wrk/a.txt"), document);
}

TEST(ConvertDocuments, TextBecomesAPageHtmlIsCopiedTheRestIsLeft) {
  Work work;
  const std::vector<std::pair<std::string, std::string>> documents = {
      {"Report.TXT", "report\r\n"},
      {"a.txt.txt", "a\r\n"},
      {"x.txtold", "x\r\n"},
      {"notes.html", "<p>html</p>\r\n"},
      {"notes.htm.txt", "<p>htm</p>\r\n"},
      {"readme.doc", "doc\r\n"},
      {"my notes & more.htm", "quoted\r\n"},
  };
  for (const auto& [name, content] : documents) write_file(fs::path("txt_in") / name, content);
  fs::create_directory("txt_wrk/old.txt");  // a subfolder left from before
  std::string errors = error_output([] { convert_documents(); });
  EXPECT_EQ(errors, "The document txt_wrk\\old.txt cannot be read; it gets no page.\r\n");

  std::map<std::string, std::string> expected = {
      {"Report.htm", page_of("htm_wrk\\Report.htm", "report\r\n")},
      {"a.htm", page_of("htm_wrk\\a.htm", "a\r\n")},
      {"x.htm", page_of("htm_wrk\\x.htm", "x\r\n")},
      {"notes.html", "<p>html</p>\r\n"},
      {"notes.htm.txt", "<p>htm</p>\r\n"},
      {"my notes & more.htm", "quoted\r\n"},
  };
  EXPECT_EQ(snapshot("htm_wrk"), expected);
  for (const auto& [name, content] : documents) EXPECT_EQ(read_file(fs::path("txt_wrk") / name), content) << name;
  EXPECT_TRUE(fs::exists("txt_wrk.list"));
}

}  // namespace korvel
