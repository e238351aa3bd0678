#include "indexer/postings/postings_builder.h"
#include "indexer/postings/string_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <map>
#include <random>
#include <tuple>

#include "common/test_files.h"
#include "indexer/site/site.h"
#include "indexer/words/stretches.h"
#include "indexer/words/words.h"

namespace fs = std::filesystem;
using namespace velmor;

namespace {

std::string lower_ascii(std::string_view word) {
  std::string key(word);
  for (char& c : key) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return key;
}

Document make_document(const std::string& name, std::vector<std::string> lines) {
  Document d;
  d.file_name = name;
  d.title = name;
  d.lines = std::move(lines);
  return d;
}

// Words are what lies between blanks.
std::vector<Token> blank_tokens(const Document& d) {
  std::vector<Token> tokens;
  for (uint32_t n = 0; n < d.lines.size(); ++n) {
    const std::string& line = d.lines[n];
    for (size_t i = 0; i < line.size();) {
      size_t end = line.find(' ', i);
      if (end == std::string::npos) end = line.size();
      if (end > i) tokens.push_back(Token{n, uint32_t(i), uint32_t(end - i)});
      i = end + 1;
    }
  }
  return tokens;
}

// With `sources` splitting threads, each page comes as those hand it over:
// its forms numbered in the page and looked up in the thread's own table.
std::unique_ptr<Corpus> build(const std::vector<Document>& docs, const fs::path& dir, size_t budget,
                              size_t* runs = nullptr, unsigned sources = 0) {
  PostingsBuilder builder(dir.string(), budget, lower_ascii);
  std::vector<StringTable> tables(sources);
  for (size_t d = 0; d < docs.size(); ++d) {
    std::vector<Token> tokens = blank_tokens(docs[d]);
    Document doc = docs[d];
    doc.stretch_starts = stretch_starts(doc, tokens);
    if (sources == 0) {
      builder.add_document(doc, tokens);
      continue;
    }
    const unsigned source = (d * 7) % sources;
    StringTable page;
    std::vector<uint32_t> forms;
    for (Token& t : tokens) {
      const std::string text = docs[d].lines[t.line].substr(t.begin, t.length);
      bool added;
      t.form = page.intern(text, added);
      if (added) forms.push_back(tables[source].intern(text, added));
    }
    builder.add_page(doc, tokens, forms, source);
  }
  Collation root("");
  auto corpus = builder.finish(root);
  if (runs) *runs = builder.runs();
  return corpus;
}

// Everything the site stage could read, as one comparable text.
std::string dump(const Corpus& c) {
  std::string out;
  for (uint32_t d = 0; d < c.document_count(); ++d) {
    const DocumentInfo& info = c.document(d);
    out += info.file_name + " tokens=" + std::to_string(info.tokens) + " distinct=" + std::to_string(info.distinct);
    out += " stretches from";
    std::vector<uint32_t> stretches;
    c.stretch_starts(d, stretches);
    for (uint32_t s : stretches) out += " " + std::to_string(s);
    out += "\n";
    for (uint32_t n = 0; n < info.lines; ++n) out += "  |" + std::string(c.line(d, n)) + "|\n";
    std::vector<WordToken> tokens;
    c.tokens(d, tokens);
    out += "  words:";
    for (const WordToken& t : tokens)
      out += " " + std::to_string(t.rank) + "@" + std::to_string(t.line) + "." + std::to_string(t.begin) + "." +
             std::to_string(t.length);
    out += "\n";
  }
  std::vector<Occurrence> occ;
  for (size_t r = 0; r < c.word_count(); ++r) {
    const WordInfo& w = c.word(r);
    out += w.key + " " + w.form + " " + std::to_string(w.count) + "/" + std::to_string(w.documents) + ":";
    c.occurrences(r, occ);
    for (const Occurrence& o : occ) out += " " + std::to_string(o.doc) + "#" + std::to_string(o.ordinal);
    out += "\n";
  }
  return out;
}

std::vector<Document> random_corpus() {
  std::mt19937 random(7);
  std::vector<std::string> vocabulary;
  for (int i = 0; i < 400; ++i) {
    std::string w;
    for (int n = 0; n < 1 + i % 7; ++n) w += char('a' + random() % 26);
    if (i % 5 == 0) w[0] = char(w[0] - 32);
    vocabulary.push_back(w);
  }
  std::vector<Document> docs;
  for (int d = 0; d < 40; ++d) {
    std::vector<std::string> lines;
    int line_count = d == 7 ? 0 : int(random() % 30);
    for (int n = 0; n < line_count; ++n) {
      std::string line;
      for (int k = random() % 12; k > 0; --k) {
        // Small ids far more often, as in text.
        size_t id = (random() % 400) * (random() % 400) / 400;
        line += (random() % 3 == 0 ? "  " : " ") + vocabulary[id];
      }
      lines.push_back(line);
    }
    docs.push_back(make_document("d" + std::to_string(d) + ".htm", lines));
    // Every other one a text file, whose lines run on: clusters cross
    // those lines, and stop at the blank ones.
    if (d % 2)
      for (int n = 1; n < line_count; ++n) docs.back().continued_lines.push_back(n);
  }
  // One document longer than the budget, so that it spills in its middle.
  std::vector<std::string> long_lines;
  for (int n = 0; n < 9000; ++n) long_lines.push_back("the cat sat on the mat " + vocabulary[n % 400]);
  docs.push_back(make_document("long.htm", long_lines));
  for (int n = 1; n < 9000; n += 1 + n % 3) docs.back().continued_lines.push_back(n);
  return docs;
}

}  // namespace

// Mostly words met once: one page brings 12,000 new ones (more than a batch
// of look-ups), later pages repeat some in other letter cases, so that a
// word's form is chosen among several, across pages.
std::vector<Document> distinct_corpus() {
  std::mt19937 random(5);
  auto word = [](uint32_t n) {
    std::string w = "q";
    for (; n > 0; n /= 26) w += char('a' + n % 26);
    return w;
  };
  std::vector<Document> docs;
  uint32_t next = 0;
  for (int d = 0; d < 12; ++d) {
    const uint32_t fresh = d == 3 ? 12000 : 300 + random() % 400;
    std::vector<std::string> lines(1);
    for (uint32_t i = 0; i < fresh; ++i) {
      std::string w = word(next++);
      if (random() % 4 == 0 && next > 50) {
        // An earlier word again, in capitals or with its first letter up.
        w = word(random() % next);
        if (random() % 2) {
          w[0] = 'Q';
        } else {
          for (char& c : w) c = char(c - 32);
        }
      }
      if (lines.back().size() > 80) lines.emplace_back();
      lines.back() += (lines.back().empty() ? "" : " ") + w;
    }
    docs.push_back(make_document("v" + std::to_string(d) + ".htm", lines));
  }
  return docs;
}

// Every file of the two sites is the same, byte for byte.
void expect_same_site(const Corpus& a, const Corpus& b, size_t least_files) {
  common::WorkFolder site_a("velmor_postings_site_a"), site_b("velmor_postings_site_b");
  write_site(a, site_a.path, {});
  write_site(b, site_b.path, {});
  size_t files = 0;
  for (const auto& e : fs::recursive_directory_iterator(site_a.path)) {
    if (!e.is_regular_file()) continue;
    ++files;
    const fs::path twin = site_b.path / fs::relative(e.path(), site_a.path);
    EXPECT_EQ(common::read_file(e.path()), common::read_file(twin)) << twin;
  }
  EXPECT_GT(files, least_files);
}

// The budget decides only what goes to disk and what is given back early,
// never the corpus: at 1 byte every page spills and frees what it held.
TEST(PostingsBuilder, SpillingAndMergingGiveTheCorpusOfMemoryAlone) {
  struct Case {
    const char* name;
    std::vector<Document> docs;
    unsigned sources;
    size_t runs_at_64k;  // at least; a word met once keeps its postings inside its state, which no spill frees
  } cases[] = {
      {"text", random_corpus(), 0, 2},
      {"distinct", distinct_corpus(), 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    common::WorkFolder all_dir("velmor_postings_all"), some_dir("velmor_postings_some"),
        many_dir("velmor_postings_many");
    size_t runs_all, runs_some, runs_many;
    auto all_corpus = build(c.docs, all_dir.path, size_t(1) << 30, &runs_all, c.sources);
    auto many_corpus = build(c.docs, many_dir.path, 1, &runs_many, c.sources);
    std::string all = dump(*all_corpus);
    std::string some = dump(*build(c.docs, some_dir.path, 64 << 10, &runs_some, c.sources));
    std::string many = dump(*many_corpus);
    EXPECT_EQ(runs_all, 0u);
    EXPECT_GE(runs_some, c.runs_at_64k);
    EXPECT_GE(runs_many, c.docs.size());
    EXPECT_EQ(all, some);
    EXPECT_EQ(all, many);
    for (const fs::path& p : fs::directory_iterator(many_dir.path))
      EXPECT_FALSE(p.filename().string().starts_with("run-")) << p;  // merged runs are removed
    // The sites made from the two are the same, measures and stored texts included.
    expect_same_site(*all_corpus, *many_corpus, c.docs.size());  // a text store each, and more
  }
  // The long document spilled in its middle too.
  common::WorkFolder dir("velmor_postings_long");
  std::vector<Document> docs = random_corpus();
  size_t runs;
  build(docs, dir.path, 1, &runs);
  EXPECT_GT(runs, docs.size());
}

TEST(PostingsBuilder, OccurrencesAreWhereTheWordsStand) {
  std::vector<Document> docs = random_corpus();
  common::WorkFolder dir("velmor_postings_where");
  auto corpus = build(docs, dir.path, 1);
  // The same tally made the plain way.
  std::map<std::string, std::vector<std::string>> expected;
  for (uint32_t d = 0; d < docs.size(); ++d) {
    uint32_t ordinal = 0;
    for (const Token& t : blank_tokens(docs[d])) {
      std::string key = lower_ascii(docs[d].lines[t.line].substr(t.begin, t.length));
      expected[key].push_back(std::to_string(d) + "." + std::to_string(t.line) + "." + std::to_string(t.begin) + "#" +
                              std::to_string(ordinal++));
    }
  }
  ASSERT_EQ(corpus->word_count(), expected.size());
  std::vector<Occurrence> occ;
  std::map<uint32_t, std::vector<WordToken>> tokens_of;  // each document's words, decoded once
  for (size_t r = 0; r < corpus->word_count(); ++r) {
    const WordInfo& w = corpus->word(r);
    corpus->occurrences(r, occ);
    std::vector<std::string> got;
    for (const Occurrence& o : occ) {
      // The document's word sequence and tokens have this word at this place.
      ASSERT_LT(o.ordinal, corpus->sequence(o.doc).size());
      EXPECT_EQ(corpus->sequence(o.doc)[o.ordinal], r);
      std::vector<WordToken>& tokens = tokens_of[o.doc];
      if (tokens.empty()) corpus->tokens(o.doc, tokens);
      const WordToken& t = tokens.at(o.ordinal);
      EXPECT_EQ(t.rank, r);
      got.push_back(std::to_string(o.doc) + "." + std::to_string(t.line) + "." + std::to_string(t.begin) + "#" +
                    std::to_string(o.ordinal));
      EXPECT_EQ(lower_ascii(corpus->line(o.doc, t.line).substr(t.begin, t.length)), w.key);
    }
    EXPECT_EQ(got, expected[w.key]) << w.key;
  }
}

TEST(PostingsBuilder, CountsFormsAndDocuments) {
  struct Case {
    std::vector<std::vector<std::string>> docs;
    std::string key, form;
    uint64_t count;
    uint32_t documents;
  } cases[] = {
      {{{"Apple apple APPLE apple"}}, "apple", "apple", 4, 1},
      {{{"APPLE Apple"}, {"Apple"}}, "apple", "Apple", 3, 2},
      {{{"Rose ROSE"}}, "rose", "Rose", 2, 1},  // a tie goes to the first seen
      {{{"x"}, {"y"}, {"x x", "x"}}, "x", "x", 4, 2},
      {{{"y"}, {}, {"z Y"}}, "y", "y", 2, 2},
  };
  for (const Case& c : cases) {
    std::vector<Document> docs;
    for (const auto& lines : c.docs) docs.push_back(make_document("p.htm", lines));
    common::WorkFolder dir("velmor_postings_counts");
    auto corpus = build(docs, dir.path, 1);
    bool found = false;
    for (size_t r = 0; r < corpus->word_count(); ++r) {
      const WordInfo& w = corpus->word(r);
      if (w.key != c.key) continue;
      found = true;
      EXPECT_EQ(w.form, c.form) << c.key;
      EXPECT_EQ(w.count, c.count) << c.key;
      EXPECT_EQ(w.documents, c.documents) << c.key;
    }
    EXPECT_TRUE(found) << c.key;
  }
}

TEST(PostingsBuilder, DocumentTotals) {
  std::vector<Document> docs = {make_document("a.htm", {"one two one", "", "three one"}), make_document("b.htm", {})};
  common::WorkFolder dir("velmor_postings_totals");
  auto corpus = build(docs, dir.path, 1 << 20);
  ASSERT_EQ(corpus->document_count(), 2u);
  EXPECT_EQ(corpus->document(0).tokens, 5u);
  EXPECT_EQ(corpus->document(0).distinct, 3u);
  EXPECT_EQ(corpus->document(0).lines, 3u);
  EXPECT_EQ(corpus->line(0, 2), "three one");
  EXPECT_EQ(corpus->line(0, 1), "");
  EXPECT_EQ(corpus->document(1).tokens, 0u);
  EXPECT_EQ(corpus->line(1, 0), "");  // past the end reads as nothing
}

TEST(PostingsBuilder, RanksFollowTheCollation) {
  struct Case {
    std::string locale;
    std::string text;
    std::vector<std::string> forms;
  } cases[] = {
      {"", "dan cel zebra Apfel", {"Apfel", "cel", "dan", "zebra"}},
      {"sl", "dan čas cel", {"cel", "čas", "dan"}},
      {"", "b a B", {"a", "b"}},  // one word, whatever its case
  };
  for (const Case& c : cases) {
    common::WorkFolder dir("velmor_postings_rank");
    PostingsBuilder builder(dir.path.string(), 1 << 20, fold_key);
    Document d = make_document("a.htm", {c.text});
    builder.add_document(d, blank_tokens(d));
    Collation collation(c.locale);
    auto corpus = builder.finish(collation);
    std::vector<std::string> forms;
    for (size_t r = 0; r < corpus->word_count(); ++r) forms.push_back(corpus->word(r).form);
    EXPECT_EQ(forms, c.forms) << c.locale << ": " << c.text;
  }
}

TEST(StringTable, IdsSurviveGrowth) {
  StringTable table;
  bool added;
  const int count = 50000;  // the table doubles many times on the way
  for (int i = 0; i < count; ++i) {
    ASSERT_EQ(table.intern("w" + std::to_string(i), added), uint32_t(i));
    ASSERT_TRUE(added);
  }
  EXPECT_EQ(table.intern("", added), uint32_t(count));
  for (int i = 0; i < count; i += 7) {
    EXPECT_EQ(table.intern("w" + std::to_string(i), added), uint32_t(i));
    EXPECT_FALSE(added);
    EXPECT_EQ(table.text(i), "w" + std::to_string(i));
  }
  EXPECT_EQ(table.intern("", added), uint32_t(count));
  EXPECT_FALSE(added);
}

// In batches: repeats within one batch and across them, strings added while
// the table grows, the empty string, a last batch cut short.
TEST(StringTable, InterningManyAtOnceGivesTheIdsOfOneByOne) {
  std::mt19937 random(11);
  std::vector<std::string> words;
  for (int i = 0; i < 5000; ++i) words.push_back(i % 997 == 0 ? "" : "w" + std::to_string(random() % 3000));
  StringTable one, many;
  std::vector<uint32_t> expected, got;
  bool added;
  for (const std::string& w : words) expected.push_back(one.intern(w, added));
  for (size_t from = 0; from < words.size(); from += 777) {
    std::vector<std::string_view> batch(words.begin() + from, words.begin() + std::min(words.size(), from + 777));
    many.intern_all(batch, got);
  }
  EXPECT_EQ(got, expected);
  ASSERT_EQ(many.size(), one.size());
  for (uint32_t id = 0; id < one.size(); ++id) EXPECT_EQ(many.text(id), one.text(id));
}

TEST(PostingsBuilder, FormIdsOfSeveralSplittersGiveTheSameCorpus) {
  std::vector<Document> docs = random_corpus();
  common::WorkFolder plain_dir("velmor_postings_plain"), ids_dir("velmor_postings_ids");
  EXPECT_EQ(dump(*build(docs, ids_dir.path, 1, nullptr, 3)), dump(*build(docs, plain_dir.path, 1)));
}
