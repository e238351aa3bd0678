// The writers against format_cases.tsv, the worked examples that the
// browser's readers are tested against too (testing/js/format_cases_test.mjs).
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unicode/unistr.h>

#include "indexer/site/text_store.h"
#include "indexer/site/entries.h"
#include "indexer/site/formats.h"
#include "indexer/site/html.h"
#include "indexer/site/layout.h"
#include "indexer/testing/memory_corpus.h"
#include "indexer/site/positions.h"

namespace velmor {
namespace {

struct Case {
  std::string kind, given, written, words;
};

std::vector<Case> read_cases() {
  std::ifstream in(VELMOR_FORMAT_CASES);
  std::vector<Case> cases;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f(1);
    for (char c : line) {
      if (c == '\t') f.emplace_back();
      else f.back().push_back(c);
    }
    f.resize(4);
    cases.push_back({f[0], f[1], f[2], f[3]});
  }
  return cases;
}

std::vector<std::string> fields(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string f; in >> f;) out.push_back(f);
  return out;
}

// "DOC:N" -> {DOC, N}.
Occurrence pair_of(const std::string& field) {
  const size_t colon = field.find(':');
  return {uint32_t(std::stoul(field.substr(0, colon))), uint32_t(std::stoul(field.substr(colon + 1)))};
}

std::string unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
  }
  return out;
}

std::string number(const Case& c) {
  std::string out;
  append_store_number(out, std::stoull(c.given));
  return out;
}

std::string docs(const Case& c) {
  std::vector<Occurrence> occurrences;
  for (const std::string& f : fields(c.given)) {
    const Occurrence o = pair_of(f);
    for (uint32_t i = 0; i < o.ordinal; ++i) occurrences.push_back({o.doc, i});
  }
  return document_codes(occurrences);
}

std::string positions(const Case& c) {
  const size_t bar = c.given.find('|');
  std::vector<uint64_t> starts = {0};
  for (const std::string& f : fields(c.given.substr(0, bar))) starts.push_back(starts.back() + std::stoull(f));
  std::vector<Occurrence> occurrences;
  if (bar != std::string::npos)
    for (const std::string& f : fields(c.given.substr(bar + 1))) occurrences.push_back(pair_of(f));
  std::string out;
  append_positions(out, occurrences, starts);
  return out;
}

// The document's CODE; its words, as RANK:START:LENGTH, into `words`.
std::string code(const Case& c, std::string& words) {
  Document d;
  d.file_name = d.title = "t";
  const std::string text = unescape(c.given);
  for (size_t from = 0, end; !text.empty() && from <= text.size(); from = end + 1) {
    end = std::min(text.find('\n', from), text.size());
    d.lines.push_back(text.substr(from, end - from));
  }
  MemoryCorpus corpus({d}, "");
  const std::vector<StoredWord> stored = stored_words(corpus, 0);
  for (const StoredWord& w : stored)
    words += (words.empty() ? "" : " ") + std::to_string(w.rank) + ":" + std::to_string(w.start) + ":" +
             std::to_string(w.length);
  return encode_words(stored);
}

std::string text_file(const Case& c) {
  const std::vector<std::string> f = fields(c.given);
  return text_store_file(uint32_t(std::stoul(f.at(0))), uint32_t(std::stoul(f.at(1))));
}

TEST(FormatCases, TheWritersWriteEachWorkedExample) {
  const std::map<std::string, std::function<std::string(const Case&)>> writers = {
      {"number", number},
      {"docs", docs},
      {"positions", positions},
      {"text_file", text_file},
      {"entry_page", [](const Case& c) { return entry_file(uint32_t(std::stoul(c.given)) - 1); }},
      {"key_shard", [](const Case& c) { return site_file(kKeyShard, std::stoull(c.given)); }},
      {"position_file", [](const Case& c) { return positions_file(uint32_t(std::stoul(c.given))); }},
  };
  const std::vector<Case> cases = read_cases();
  ASSERT_GT(cases.size(), 30u) << VELMOR_FORMAT_CASES;
  for (const Case& c : cases) {
    if (c.kind == "code") {
      std::string words;
      EXPECT_EQ(code(c, words), c.written) << c.given;
      EXPECT_EQ(words, c.words) << c.given;
      continue;
    }
    const auto writer = writers.find(c.kind);
    ASSERT_NE(writer, writers.end()) << "no writer for " << c.kind;
    EXPECT_EQ(writer->second(c), c.written) << c.kind << " " << c.given;
  }
}

}  // namespace
}  // namespace velmor
