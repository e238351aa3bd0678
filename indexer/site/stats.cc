#include "indexer/site/stats.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

#include "indexer/escape.h"
#include "indexer/site/entries.h"
#include "indexer/numbers.h"
#include "indexer/site/html.h"
#include "indexer/site/layout.h"
#include "indexer/site/lists.h"
#include "indexer/site/out_file.h"

namespace velmor {

std::string share(uint64_t part, uint64_t whole) {
  if (whole == 0) return "0%";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3g%%", 100.0 * static_cast<double>(part) / static_cast<double>(whole));
  return buf;
}

namespace {

constexpr size_t kPerPage = 5000;  // rows of one page of a word list, more past the top folder's share

std::string numbered_file(const char* stem, size_t page) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%s_%03zu.htm", stem, page + 1);
  return buf;
}

// The pages of one list of words, `ranks` in the order shown, `page`
// drawn by word_lists.js from its data (formats.h).
uint64_t write_word_list(const Corpus& corpus, const std::vector<int16_t>& dispersion, const std::vector<size_t>& ranks,
                         uint64_t tokens, const char* stem, const std::string& title, const std::string& intro,
                         uint32_t folder_files, const std::filesystem::path& dir) {
  const size_t per_page = items_per_file(ranks.size(), kPerPage, family_share(folder_files));
  const size_t pages = std::max<size_t>(1, (ranks.size() + per_page - 1) / per_page);
  uint64_t bytes = 0;
  for (size_t p = 0; p < pages; ++p) {
    OutFile out(dir / numbered_file(stem, p));
    std::string& s = out.text();
    append_page_start(s, title, list_scripts());
    s += "<nav class=docs>";
    if (p > 0) s += "<a href=" + numbered_file(stem, p - 1) + " rel=prev>&lsaquo; previous</a>";
    s += "<span>page " + grouped(p + 1) + " of " + grouped(pages) + "</span>";
    if (p + 1 < pages) s += "<a href=" + numbered_file(stem, p + 1) + " rel=next>next &rsaquo;</a>";
    s += "</nav>\n<h1>" + title + "</h1>\n<p class=meta>" + intro +
         "</p>\n<div id=word-list></div>\n"
         "<script type=application/json id=list-data>{\"from\":" +
         std::to_string(p * per_page) + ",\"tokens\":" + std::to_string(tokens) + ",\"name\":";
    append_json_string(s, std::string(stem) + "_" + std::to_string(p + 1));
    s += ",\"words\":[\n";
    int64_t previous = 0;
    for (size_t i = p * per_page; i < std::min(ranks.size(), (p + 1) * per_page); ++i) {
      const WordInfo& w = corpus.word(ranks[i]);
      s += i > p * per_page ? ",[" : "[";
      append_json_string(s, w.form);
      // Words of one count come in rank order: the differences are short.
      s += "," + std::to_string(static_cast<int64_t>(ranks[i]) - previous) + "," + std::to_string(w.count);
      append_dispersion(s, dispersion[ranks[i]]);
      previous = static_cast<int64_t>(ranks[i]);
      if (w.documents != w.count) s += "," + std::to_string(w.documents);
      s += "]\n";
      out.spill();
    }
    s += "]}</script>\n";
    append_page_end(s);
    out.close();
    bytes += out.bytes();
  }
  return bytes;
}

std::string ratio(uint64_t distinct, uint64_t tokens) {
  if (tokens == 0) return "&ndash;";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", static_cast<double>(distinct) / static_cast<double>(tokens));
  return buf;
}

uint64_t write_frequency(const Corpus& corpus, const std::vector<int16_t>& dispersion, uint64_t tokens,
                         uint32_t folder_files, const std::filesystem::path& dir) {
  // Words that occur once have their own pages; the rest by falling count,
  // ties in collation order. The counts are sorted beside their ranks: a
  // comparison that looked each word up would miss the cache every time.
  std::vector<std::pair<uint64_t, size_t>> by_count;
  for (size_t r = 0; r < corpus.word_count(); ++r)
    if (corpus.word(r).count > 1) by_count.emplace_back(UINT64_MAX - corpus.word(r).count, r);
  std::sort(by_count.begin(), by_count.end());
  std::vector<size_t> ranks;
  ranks.reserve(by_count.size());
  for (const auto& item : by_count) ranks.push_back(item.second);
  return write_word_list(corpus, dispersion, ranks, tokens, "s_freq", "Words by frequency",
                         "All " + grouped(ranks.size()) +
                             " words that occur more than once, by falling count, "
                             "with their share of all " +
                             grouped(tokens) +
                             " words. Words that occur once are listed <a href=s_once_001.htm>on their own pages</a>.",
                         folder_files, dir);
}

uint64_t write_documents(const Corpus& corpus, uint64_t tokens, const std::filesystem::path& dir) {
  std::string s;
  append_page_start(s, "Documents", table_scripts());
  s += "<h1>Documents</h1>\n<table class=\"freq tsv\" data-name=documents><tr><th>#<th>document<th>words<th>distinct"
       "<th>type/token<th>lines<th>bytes\n";
  uint64_t lines = 0, bytes = 0, invalid = 0;
  for (uint32_t d = 0; d < corpus.document_count(); ++d) {
    const DocumentInfo& info = corpus.document(d);
    lines += info.lines;
    bytes += info.bytes;
    invalid += info.invalid_bytes;
    s += "<tr><td>" + grouped(d + 1) + "<td><a href=\"" + page_address(d) + "\">";
    append_escaped(s, info.title);
    s += "</a>";
    if (info.invalid_bytes > 0)
      s += " <small>(" + grouped(info.invalid_bytes) + " bytes not UTF-8, shown as &#xFFFD;)</small>";
    s += "<td>" + grouped(info.tokens) + "<td>" + grouped(info.distinct) + "<td>" + ratio(info.distinct, info.tokens) +
         "<td>" + grouped(info.lines) + "<td>" + grouped(info.bytes) + "\n";
  }
  s += "<tr class=total><td><td>all documents<td>" + grouped(tokens) + "<td>" + grouped(corpus.word_count()) + "<td>" +
       ratio(corpus.word_count(), tokens) + "<td>" + grouped(lines) + "<td>" + grouped(bytes) + "\n</table>\n";
  if (invalid > 0) s += "<p class=meta>" + grouped(invalid) + " bytes in all were not UTF-8.</p>\n";
  append_page_end(s);
  return write_file(dir / "s_docs.htm", s);
}

uint64_t write_once(const Corpus& corpus, const std::vector<int16_t>& dispersion, uint64_t tokens,
                    uint32_t folder_files, const std::filesystem::path& dir) {
  std::vector<size_t> once;
  for (size_t r = 0; r < corpus.word_count(); ++r)
    if (corpus.word(r).count == 1) once.push_back(r);
  return write_word_list(corpus, dispersion, once, tokens, "s_once", "Words that occur once",
                         grouped(once.size()) + " of " + grouped(corpus.word_count()) + " distinct words (" +
                             share(once.size(), corpus.word_count()) + ") occur once, " + share(once.size(), tokens) +
                             " of all words; in alphabetical order.",
                         folder_files, dir);
}

}  // namespace

uint64_t write_stats(const Corpus& corpus, const SitePlan& plan, const std::vector<int16_t>& dispersion,
                     const std::filesystem::path& dir) {
  uint64_t tokens = 0;
  for (uint32_t d = 0; d < corpus.document_count(); ++d) tokens += corpus.document(d).tokens;
  return write_frequency(corpus, dispersion, tokens, plan.folder_files, dir) + write_documents(corpus, tokens, dir) +
         write_once(corpus, dispersion, tokens, plan.folder_files, dir);
}

uint64_t write_ngrams(const Corpus& corpus, const SitePlan& plan, const TopNgrams& ngrams,
                      const std::filesystem::path& dir) {
  std::string s;
  append_page_start(s, "Clusters and n-grams", table_scripts());
  s += "<h1>Clusters and n-grams</h1>\n<p class=meta>The most frequent runs of two, three and four words "
       "in a row, within one document, that occur at least three times. Each leads to its lines.</p>\n"
       "<nav class=docs><a href=#n2>two words</a><a href=#n3>three words</a><a href=#n4>four words</a></nav>\n";
  for (uint32_t size = 2; size <= 4; ++size) {
    const std::vector<Cluster> list = ngrams.of_size(size);
    s += "<h2 id=n" + std::to_string(size) + ">" + (size == 2 ? "Two" : size == 3 ? "Three" : "Four") + " words</h2>\n";
    if (list.empty()) {
      s += "<p class=meta>None occurs three times.</p>\n";
      continue;
    }
    s += "<table class=\"freq tsv\" data-name=ngrams_" + std::to_string(size) + "><tr><th>#<th>n-gram<th>count\n";
    for (size_t i = 0; i < list.size(); ++i) {
      const Cluster& c = list[i];
      std::string address = entry_file(plan.entry_file[c.ranks[0]]) + "#r" + std::to_string(c.ranks[0]) + "~n=";
      std::string text;
      for (size_t k = 0; k < c.ranks.size(); ++k) {
        address += (k ? "." : "") + std::to_string(c.ranks[k]);
        text += (k ? " " : "") + corpus.word(c.ranks[k]).form;
      }
      s += "<tr><td>" + grouped(i + 1) + "<td><a href=\"" + address + "~at=0\">";
      append_escaped(s, text);
      s += "</a><td>" + grouped(c.count) + "\n";
    }
    s += "</table>\n";
  }
  append_page_end(s);
  return write_file(dir / "s_ngrams.htm", s);
}

}  // namespace velmor
