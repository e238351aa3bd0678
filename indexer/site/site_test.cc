#include "indexer/site/site.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <random>
#include <set>

#include "common/test_files.h"
#include "indexer/site/entries.h"
#include "indexer/site/lists.h"
#include "indexer/testing/memory_corpus.h"

namespace velmor {
namespace {

namespace fs = std::filesystem;

Document doc(std::string title, std::vector<std::string> lines) {
  Document d;
  d.file_name = title + ".htm";
  d.title = std::move(title);
  for (const auto& l : lines) d.bytes += l.size() + 1;
  d.lines = std::move(lines);
  return d;
}

TEST(Entries, EveryDocumentOfAWordIsListedWithItsCount) {
  auto at = [](std::vector<uint32_t> docs) {
    std::vector<Occurrence> occ;
    for (uint32_t d : docs) occ.push_back({d, 0});
    return occ;
  };
  // Numbers: 2*gap+more, then count-2 when more; "#" is 0, "$" 1 ...
  struct Case {
    std::vector<uint32_t> docs;
    std::string codes;
  } cases[] = {
      {{0, 2, 2, 2, 6}, "#&$)"},  // doc 0 once; doc 2 (gap 1) three times; doc 6 (gap 3) once
      {{44}, "}$"},               // gap 44: 88 takes two digits
      {{}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(document_codes(at(c.docs)), c.codes);

  // A word in forty documents: all of them in its entry's data.
  std::vector<Document> docs;
  for (int i = 0; i < 40; ++i) docs.push_back(doc("d" + std::to_string(i), {i % 7 ? "tide tide" : "tide"}));
  MemoryCorpus corpus(docs, "");
  common::WorkFolder dir("velmor_site");
  write_site(corpus, dir.path, {});
  std::string entries = common::read_file(dir.path / "i_001.htm");
  std::string expected = "#";
  for (int i = 1; i < 40; ++i) expected += i % 7 ? "$#" : "#";
  EXPECT_NE(entries.find("[\"tide\",\"" + expected + "\""), std::string::npos) << entries;
}

TEST(WriteSite, EverythingFromTheDocumentsIsEscaped) {
  common::WorkFolder dir("velmor_site");
  MemoryCorpus corpus({doc("<blink>\"T\"&amp;</blink>",
                           {"<script>alert(1)</script> & <img src=x onerror=alert(2)>", "\"quoted\" 'single' x<y"})},
                      "");
  write_site(corpus, dir.path, {});
  size_t files = 0;
  for (const auto& e : fs::recursive_directory_iterator(dir.path)) {
    if (!e.is_regular_file()) continue;
    ++files;
    std::string text = common::read_file(e.path());
    EXPECT_EQ(text.find("<script>alert"), std::string::npos) << e.path();
    EXPECT_EQ(text.find("<img"), std::string::npos) << e.path();
    EXPECT_EQ(text.find("<blink>"), std::string::npos) << e.path();
    EXPECT_EQ(text.find("x<y"), std::string::npos) << e.path();
  }
  EXPECT_GT(files, 8u);
  // The page's text is the store's, where it is a string, never markup.
  EXPECT_NE(
      common::read_file(dir.path / "text" / "000" / "d_0001.js").find("\\x3cscript>alert(1)\\x3c/script> & \\x3cimg"),
      std::string::npos);
  EXPECT_EQ(common::read_file(dir.path / "page.htm").find("alert"), std::string::npos);
}

// The A-Z pages carry their words as data: a heading at the first word of
// every page and of every letter, the entry file of each word from the
// pairs, however pages, letters and entry files cut the ranks, and each
// word's dispersion.
TEST(WordLists, EveryPageCarriesItsLettersAndEntryFilesFromItsFirstRank) {
  MemoryCorpus corpus({doc("one", {"apple apricot banana berry blue cherry dog"}), doc("two", {"apple blue blue"})},
                      "");
  std::vector<std::string_view> initials;
  for (size_t r = 0; r < corpus.word_count(); ++r) initials.push_back(corpus.word(r).initial);
  // A | B 1 | B 2 | C-D: "B" is longer than a page, C and D share one.
  const std::vector<ListPage> lists = plan_lists(initials, 2);
  SitePlan plan;
  plan.entry_file = {0, 1, 1, 1, 2, 2, 3};
  // Each word's DPnorm in thousandths, the documents 7 and 3 words long:
  // apple once in each is 0.2 / 0.7, a word once in "one" 0.3 / 0.7.
  const DocumentSizes sizes({corpus.document(0).tokens, corpus.document(1).tokens});
  std::vector<int16_t> dispersion;
  for (size_t r = 0; r < corpus.word_count(); ++r) {
    std::vector<Occurrence> occ;
    corpus.occurrences(r, occ);
    dispersion.push_back(dp_thousandths(dp_norm(occ, sizes)));
  }
  common::WorkFolder dir("velmor_site");
  write_lists(corpus, plan, lists, dispersion, dir.path);
  const char* expected[] = {
      R"({"first":0,"name":"words_1","files":[[0,0],[1,1]],"letters":[[0,"A"]],"words":[
["apple",2,286],
["apricot",1,429]
]})",
      R"({"first":2,"name":"words_2","files":[[2,1]],"letters":[[2,"B"]],"words":[
["banana",1,429],
["berry",1,429]
]})",
      R"({"first":4,"name":"words_3","files":[[4,2]],"letters":[[4,"B"]],"words":[
["blue",3,524,2]
]})",
      R"({"first":5,"name":"words_4","files":[[5,2],[6,3]],"letters":[[5,"C"],[6,"D"]],"words":[
["cherry",1,429],
["dog",1,429]
]})",
  };
  ASSERT_EQ(lists.size(), std::size(expected));
  const std::string open = "<script type=application/json id=words-data>";
  for (size_t p = 0; p < lists.size(); ++p) {
    const std::string page = common::read_file(dir.path / ("index_00" + std::to_string(p + 1) + ".htm"));
    const size_t at = page.find(open);
    ASSERT_NE(at, std::string::npos) << page;
    const size_t from = at + open.size();
    EXPECT_EQ(page.substr(from, page.find("</script>", from) - from), expected[p]);
    // The alphabet bar leads to the first heading of each letter.
    EXPECT_NE(page.find("<a href=index_002.htm#a2>B</a><a href=index_004.htm#a5>C</a>"
                        "<a href=index_004.htm#a6>D</a>"),
              std::string::npos)
        << page;
  }
}

// A page that names a script the site does not hold is drawn blank: every
// kind of page names only files that were written.
TEST(WriteSite, EveryScriptAPageLoadsIsThere) {
  common::WorkFolder dir("velmor_site");
  MemoryCorpus corpus({doc("one", {"apple apricot banana apple"}), doc("two", {"apple banana"})}, "");
  write_site(corpus, dir.path, {});
  std::set<std::string> kinds;
  for (const auto& e : fs::directory_iterator(dir.path)) {
    const std::string name = e.path().filename().string();
    if (e.path().extension() != ".htm") continue;
    kinds.insert(name.substr(0, name.find_first_of("_.")));
    const std::string page = common::read_file(e.path());
    size_t scripts = 0;
    for (size_t at = page.find("<script src="); at != std::string::npos; at = page.find("<script src=", at + 1)) {
      const size_t from = at + 12;
      const std::string src = page.substr(from, page.find_first_of(" >", from) - from);
      EXPECT_TRUE(fs::is_regular_file(dir.path / src)) << name << " loads " << src;
      ++scripts;
    }
    EXPECT_GE(scripts, 4u) << name;  // velmor.js, the search box's and the double-click's
  }
  EXPECT_EQ(kinds, (std::set<std::string>{"i", "index", "page", "query", "s"}));
}

// Words drawn with Zipf's law from a made-up vocabulary of several scripts,
// occurrences recorded as they are drawn: big corpora without a tokenizer.
class ZipfCorpus : public Corpus {
 public:
  ZipfCorpus(uint32_t docs, uint32_t lines_per_doc, uint32_t vocabulary) {
    static const char* syllables[] = {"ka", "lo", "mi", "če", "ßu", "ra", "δο", "ne", "ти", "ve", "so", "ar"};
    std::mt19937 random(7);
    std::set<std::string> seen;
    while (seen.size() < vocabulary) {
      std::string w;
      for (int n = 1 + static_cast<int>(random() % 5); n-- > 0;) w += syllables[random() % 12];
      seen.insert(w);
    }
    std::vector<std::string> by_rank(seen.begin(), seen.end());
    std::vector<double> weights(vocabulary);
    for (uint32_t i = 0; i < vocabulary; ++i) weights[i] = 1.0 / (i + 1);
    std::shuffle(by_rank.begin(), by_rank.end(), random);  // frequency unrelated to order
    std::discrete_distribution<uint32_t> zipf(weights.begin(), weights.end());
    std::vector<std::string> sorted = by_rank;
    std::sort(sorted.begin(), sorted.end());
    std::vector<uint32_t> rank_of(vocabulary);
    for (uint32_t i = 0; i < vocabulary; ++i)
      rank_of[i] = static_cast<uint32_t>(std::lower_bound(sorted.begin(), sorted.end(), by_rank[i]) - sorted.begin());
    words_.resize(vocabulary);
    at_.resize(vocabulary);
    for (uint32_t r = 0; r < vocabulary; ++r) {
      words_[r].key = words_[r].form = sorted[r];
      words_[r].initial = sorted[r].substr(0, (static_cast<unsigned char>(sorted[r][0]) < 0x80) ? 1 : 2);
    }
    for (uint32_t d = 0; d < docs; ++d) {
      DocumentInfo info{"d" + std::to_string(d) + ".htm", "Document " + std::to_string(d), 0, 0, lines_per_doc, 0, 0};
      std::set<uint32_t> distinct;
      lines_.emplace_back();
      for (uint32_t l = 0; l < lines_per_doc; ++l) {
        std::string line;
        while (line.size() < 70) {
          uint32_t r = rank_of[zipf(random)];
          if (!line.empty()) line += ' ';
          at_[r].push_back({d, static_cast<uint32_t>(info.tokens++)});
          seq_.resize(d + 1);
          tok_.resize(d + 1);
          seq_[d].push_back(r);
          tok_[d].push_back({r, l, static_cast<uint32_t>(line.size()), static_cast<uint32_t>(sorted[r].size())});
          line += sorted[r];
          distinct.insert(r);
          if (at_[r].size() == 1 || at_[r][at_[r].size() - 2].doc != d) ++words_[r].documents;
          ++words_[r].count;
        }
        info.bytes += line.size() + 1;
        lines_.back().push_back(std::move(line));
      }
      info.bytes += 200;  // the page's frame
      info.distinct = static_cast<uint32_t>(distinct.size());
      docs_.push_back(info);
    }
  }
  uint32_t document_count() const override { return static_cast<uint32_t>(docs_.size()); }
  const DocumentInfo& document(uint32_t d) const override { return docs_[d]; }
  std::string_view line(uint32_t d, uint32_t l) const override { return lines_[d][l]; }
  size_t word_count() const override { return words_.size(); }
  const WordInfo& word(size_t r) const override { return words_[r]; }
  void occurrences(size_t r, std::vector<Occurrence>& out) const override {
    out.insert(out.end(), at_[r].begin(), at_[r].end());
  }
  std::span<const uint32_t> sequence(uint32_t d) const override { return seq_[d]; }
  void tokens(uint32_t d, std::vector<WordToken>& out) const override {
    out.insert(out.end(), tok_[d].begin(), tok_[d].end());
  }
  void stretch_starts(uint32_t, std::vector<uint32_t>&) const override {}

 private:
  std::vector<std::vector<uint32_t>> seq_;
  std::vector<std::vector<WordToken>> tok_;
  std::vector<DocumentInfo> docs_;
  std::vector<std::vector<std::string>> lines_;
  std::vector<WordInfo> words_;
  std::vector<std::vector<Occurrence>> at_;
};

TEST(WriteSite, OutputStaysWithinFourTimesTheInputWithSafeNames) {
  common::WorkFolder dir("velmor_site");
  ZipfCorpus corpus(120, 500, 10000);  // 4.6 MB of text, 600,000 words
  uint64_t input = 0, output = 0;
  for (uint32_t d = 0; d < corpus.document_count(); ++d) input += corpus.document(d).bytes;
  uint64_t last_done = 0, last_total = 0;
  SiteOptions options;
  options.progress = [&](uint64_t done, uint64_t total) {
    EXPECT_GE(done, last_done);
    last_done = done;
    last_total = total;
  };
  write_site(corpus, dir.path, options);
  EXPECT_EQ(last_done, last_total);
  EXPECT_EQ(last_total, corpus.word_count() + corpus.document_count());

  std::set<std::string> folded_names;
  size_t entry_files = 0;
  for (const auto& e : fs::recursive_directory_iterator(dir.path)) {
    if (!e.is_regular_file()) continue;
    output += e.file_size();
    std::string name = e.path().filename().string();
    EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_."), std::string::npos) << name;
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_TRUE(folded_names.insert(lower).second) << name;
    entry_files += name.rfind("i_", 0) == 0;
  }
  const double ratio = static_cast<double>(output) / static_cast<double>(input);
  RecordProperty("size_ratio", std::to_string(ratio));
  EXPECT_LE(ratio, 4.0) << output << " bytes out of " << input;
  EXPECT_LT(entry_files, 200u);
}

// A small limit splits a small corpus as the real one splits a big one:
// the text stores into folders, the top folder's families held to their
// share (here one page each, where 3,000 words would make two).
TEST(WriteSite, NoFolderHoldsMoreFilesThanTheLimit) {
  common::WorkFolder dir("velmor_site");
  ZipfCorpus corpus(120, 100, 3000);
  SiteOptions options;
  options.folder_files = kFixedTopFiles + 4;
  write_site(corpus, dir.path, options);
  std::map<std::string, size_t> families;
  for (const auto& e : fs::directory_iterator(dir.path)) {
    const std::string name = e.path().filename().string();
    const size_t cut = name.rfind('_');
    if (cut != std::string::npos && std::isdigit(static_cast<unsigned char>(name[cut + 1])))
      ++families[name.substr(0, cut)];
  }
  EXPECT_EQ(families, (std::map<std::string, size_t>{{"i", 1}, {"index", 1}, {"s_freq", 1}, {"s_once", 1}}));
  std::map<std::string, size_t> per_folder;
  for (const auto& e : fs::recursive_directory_iterator(dir.path))
    ++per_folder[fs::relative(e.path().parent_path(), dir.path).generic_string()];
  for (const auto& [folder, files] : per_folder) EXPECT_LE(files, options.folder_files) << folder;
  EXPECT_EQ(per_folder["text"], 3u);
  EXPECT_EQ(per_folder["text/002"], 120u - 2 * options.folder_files);
}

TEST(WriteSite, AFailedWriteNamesTheFile) {
  common::WorkFolder dir("velmor_site");
  MemoryCorpus corpus({doc("d", {"one word"})}, "");
  fs::create_directory(dir.path / "index.htm");  // a folder where the file should go
  try {
    write_site(corpus, dir.path, {});
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("index.htm"), std::string::npos) << e.what();
  }
  EXPECT_THROW(write_site(corpus, dir.path / "missing", {}), std::runtime_error);
}

TEST(CollationTag, LocaleNamesBecomeLanguageTags) {
  EXPECT_EQ(collation_tag("sl_SI.UTF-8"), "sl-SI");
  EXPECT_EQ(collation_tag("de_DE@euro"), "de-DE");
  EXPECT_EQ(collation_tag(""), "und");
  EXPECT_EQ(collation_tag("C"), "und");
  EXPECT_EQ(collation_tag("el"), "el");
}

}  // namespace
}  // namespace velmor
