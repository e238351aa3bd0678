// The program's --vertical end to end: the file a strict reader takes, the
// same words as the index of the same pages, and files that are not ours
// left alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "common/child_process.h"
#include "common/test_files.h"
#include "indexer/export/vertical_file.h"
#include "indexer/export/vertical_reader.h"
#include "indexer/testing/run_velmor.h"

namespace fs = std::filesystem;
using velmor::testing::Outcome;
using velmor::testing::read_vertical;
using velmor::testing::run_velmor;

namespace {

// The number before `what` in the program's report: "12,345 words" gives 12345.
uint64_t reported(const std::string& out, const std::string& what) {
  std::smatch m;
  if (!std::regex_search(out, m, std::regex("([0-9,]+) " + what))) return ~uint64_t{0};
  std::string digits = m[1];
  std::erase(digits, ',');
  return std::stoull(digits);
}

}  // namespace

TEST(Export, SameWordsAsTheIndexAndEveryElementClosed) {
  common::WorkFolder dir("velmor_export");
  fs::create_directory("htm_in");
  common::write_file("htm_in/a.htm",
                     "<title>Tom &amp; \"Jerry\" &lt;3</title><p>L’homme dell'arte, STRASSE.<br>3.14 a.out<p>x");
  common::write_file("htm_in/b.htm", "<pre>one\n\n  two three\n</pre>");
  common::write_file("htm_in/c.htm", "");  // skipped by both: no number of its own
  common::write_file("htm_in/d.htm", "<h1>No words here: ... --- !</h1>");
  for (const std::vector<std::string>& rules : {std::vector<std::string>{}, {"--no-elision", "--no-apostrophes"}}) {
    std::vector<std::string> index = rules, vertical = rules;
    vertical.insert(vertical.end(), {"--vertical", "corpus.vrt"});
    Outcome indexed = run_velmor(dir.path, index), exported = run_velmor(dir.path, vertical);
    EXPECT_EQ(indexed.status, 1) << indexed.err;
    EXPECT_EQ(exported.status, 1) << exported.err;
    EXPECT_NE(exported.err.find("c.htm"), std::string::npos) << exported.err;
    auto read = read_vertical(common::read_file("corpus.vrt"));
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.docs.size(), 3u);
    EXPECT_EQ(read.docs[0].title, "Tom & \"Jerry\" <3");
    for (size_t d = 0; d < read.docs.size(); ++d) EXPECT_EQ(read.docs[d].id, std::to_string(d + 1));
    EXPECT_EQ(read.docs[2].file, "d.htm");
    EXPECT_EQ(read.words(), reported(indexed.out, "words"));
    EXPECT_EQ(reported(exported.out, "words"), read.words()) << exported.out;
    EXPECT_NE(exported.out.find("wrote 3 documents, "), std::string::npos) << exported.out;
  }
}

// What FILE may be: new, or an earlier export, which is replaced; anything
// else is refused before any page is read, and stays as it was.
TEST(Export, OnlyAnEarlierExportIsReplaced) {
  struct Case {
    std::string before;  // "" none, "/" a folder, else the file's content
    int status;
    std::string err;
  } cases[] = {
      {"", 0, ""},
      {"<doc id=\"1\" title=\"old\" file=\"old.htm\">\n</doc>\n", 0, ""},
      {"my thesis\n</doc>\n", 2, "is not an export of velmor"},
      {"/", 2, "is not a file"},
  };
  for (const Case& c : cases) {
    common::WorkFolder dir("velmor_export");
    fs::create_directory("htm_in");
    common::write_file("htm_in/a.htm", "alpha beta");
    if (c.before == "/") fs::create_directory("out.vrt");
    else if (!c.before.empty()) common::write_file("out.vrt", c.before);
    Outcome r = run_velmor(dir.path, {"--vertical", "out.vrt", "htm_in"});
    EXPECT_EQ(r.status, c.status) << c.before << r.err;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    if (c.status == 0) {
      EXPECT_EQ(read_vertical(common::read_file("out.vrt")).words(), 2u);
    } else if (c.before != "/") {
      EXPECT_EQ(common::read_file("out.vrt"), c.before);
    }
    EXPECT_FALSE(fs::exists(velmor::part_name("out.vrt")));
    EXPECT_FALSE(fs::exists("htm_out"));
  }
}

// No page readable: the earlier export stays, and nothing half made is left.
TEST(Export, NothingReadKeepsTheEarlierExport) {
  common::WorkFolder dir("velmor_export");
  fs::create_directory("htm_in");
  common::write_file("htm_in/a.htm", "alpha");
  ASSERT_EQ(run_velmor(dir.path, {"--vertical", "out.vrt"}).status, 0);
  const std::string earlier = common::read_file("out.vrt");
  common::write_file("htm_in/a.htm", "");
  Outcome r = run_velmor(dir.path, {"--vertical", "out.vrt"});
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_EQ(common::read_file("out.vrt"), earlier);
  EXPECT_FALSE(fs::exists(velmor::part_name("out.vrt")));
}
