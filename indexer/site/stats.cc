#include "indexer/site/stats.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

#include "indexer/site/html.h"
#include "indexer/site/out_file.h"

namespace velmor {

std::string share(uint64_t part, uint64_t whole) {
  if (whole == 0) return "0%";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3g%%", 100.0 * static_cast<double>(part) / static_cast<double>(whole));
  return buf;
}

namespace {

constexpr size_t kPerPage = 2000;  // rows of one frequency page
constexpr size_t kOnceShown = 5000;
// Past the first ten thousand words a frequency list is all small counts.
constexpr size_t kFrequencyShown = 10000;

std::string freq_file(size_t page) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "s_freq_%03zu.htm", page + 1);
  return buf;
}

void append_word_link(std::string& s, const Corpus& corpus, const SitePlan& plan, size_t rank) {
  s += "<a href=" + entry_file(plan.entry_file[rank]) + "#r" + std::to_string(rank) + ">";
  append_escaped(s, corpus.word(rank).form);
  s += "</a>";
}

std::string ratio(uint64_t distinct, uint64_t tokens) {
  if (tokens == 0) return "&ndash;";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", static_cast<double>(distinct) / static_cast<double>(tokens));
  return buf;
}

uint64_t write_frequency(const Corpus& corpus, const SitePlan& plan, uint64_t tokens,
                         const std::filesystem::path& dir) {
  // Words that occur once have their own page; the rest by falling count.
  std::vector<size_t> ranks;
  for (size_t r = 0; r < corpus.word_count(); ++r)
    if (corpus.word(r).count > 1) ranks.push_back(r);
  std::stable_sort(ranks.begin(), ranks.end(), [&](size_t a, size_t b) {
    return corpus.word(a).count > corpus.word(b).count;
  });
  const size_t repeated = ranks.size();
  if (ranks.size() > kFrequencyShown) ranks.resize(kFrequencyShown);
  const size_t pages = std::max<size_t>(1, (ranks.size() + kPerPage - 1) / kPerPage);
  uint64_t bytes = 0;
  for (size_t p = 0; p < pages; ++p) {
    std::string s;
    append_page_start(s, "Words by frequency");
    s += "<nav class=docs>";
    if (p > 0) s += "<a href=" + freq_file(p - 1) + " rel=prev>&lsaquo; previous</a>";
    s += "<span>page " + grouped(p + 1) + " of " + grouped(pages) + "</span>";
    if (p + 1 < pages) s += "<a href=" + freq_file(p + 1) + " rel=next>next &rsaquo;</a>";
    s += "</nav>\n<h1>Words by frequency</h1>\n<p class=meta>Share of all " + grouped(tokens) +
         " words. Words that occur once are listed <a href=s_once.htm>on their own page</a>.</p>\n"
         "<table class=freq><tr><th>rank<th>word<th>count<th>share\n";
    for (size_t i = p * kPerPage; i < std::min(ranks.size(), (p + 1) * kPerPage); ++i) {
      const WordInfo& w = corpus.word(ranks[i]);
      s += "<tr><td>" + grouped(i + 1) + "<td>";
      append_word_link(s, corpus, plan, ranks[i]);
      s += "<td>" + grouped(w.count) + "<td>" + share(w.count, tokens) + "\n";
    }
    s += "</table>\n";
    if (p + 1 == pages && repeated > ranks.size())
      s += "<p class=more>" + grouped(repeated - ranks.size()) +
           " more words occur more than once; the word lists hold them all.</p>\n";
    append_page_end(s);
    bytes += write_file(dir / freq_file(p), s);
  }
  return bytes;
}

uint64_t write_documents(const Corpus& corpus, uint64_t tokens, const std::filesystem::path& dir) {
  std::string s;
  append_page_start(s, "Documents");
  s += "<h1>Documents</h1>\n<table class=freq><tr><th>#<th>document<th>words<th>distinct"
       "<th>type/token<th>lines<th>bytes\n";
  uint64_t lines = 0, bytes = 0, invalid = 0;
  for (uint32_t d = 0; d < corpus.document_count(); ++d) {
    const DocumentInfo& info = corpus.document(d);
    lines += info.lines;
    bytes += info.bytes;
    invalid += info.invalid_bytes;
    s += "<tr><td>" + grouped(d + 1) + "<td><a href=" + page_file(d) + ">";
    append_escaped(s, info.title);
    s += "</a>";
    if (info.invalid_bytes > 0)
      s += " <small>(" + grouped(info.invalid_bytes) + " bytes not UTF-8, shown as &#xFFFD;)</small>";
    s += "<td>" + grouped(info.tokens) + "<td>" + grouped(info.distinct) + "<td>" +
         ratio(info.distinct, info.tokens) + "<td>" + grouped(info.lines) + "<td>" +
         grouped(info.bytes) + "\n";
  }
  s += "<tr class=total><td><td>all documents<td>" + grouped(tokens) + "<td>" +
       grouped(corpus.word_count()) + "<td>" + ratio(corpus.word_count(), tokens) + "<td>" +
       grouped(lines) + "<td>" + grouped(bytes) + "\n</table>\n";
  if (invalid > 0)
    s += "<p class=meta>" + grouped(invalid) + " bytes in all were not UTF-8.</p>\n";
  append_page_end(s);
  return write_file(dir / "s_docs.htm", s);
}

uint64_t write_once(const Corpus& corpus, const SitePlan& plan, uint64_t tokens,
                    const std::filesystem::path& dir) {
  std::vector<size_t> once;
  for (size_t r = 0; r < corpus.word_count(); ++r)
    if (corpus.word(r).count == 1) once.push_back(r);
  std::string s;
  append_page_start(s, "Words that occur once");
  s += "<h1>Words that occur once</h1>\n<p class=totals><b>" + grouped(once.size()) +
       "</b> of " + grouped(corpus.word_count()) + " distinct words (" +
       share(once.size(), corpus.word_count()) + ") occur once, " +
       share(once.size(), tokens) + " of all words.";
  if (once.size() > kOnceShown)
    s += " The first " + grouped(kOnceShown) + " in alphabetical order:";
  s += "</p>\n<p class=once>";
  for (size_t i = 0; i < once.size() && i < kOnceShown; ++i) {
    append_word_link(s, corpus, plan, once[i]);
    s += ' ';
  }
  s += "</p>\n";
  append_page_end(s);
  return write_file(dir / "s_once.htm", s);
}

}  // namespace

uint64_t write_stats(const Corpus& corpus, const SitePlan& plan, const std::filesystem::path& dir) {
  uint64_t tokens = 0;
  for (uint32_t d = 0; d < corpus.document_count(); ++d) tokens += corpus.document(d).tokens;
  return write_frequency(corpus, plan, tokens, dir) + write_documents(corpus, tokens, dir) +
         write_once(corpus, plan, tokens, dir);
}

}  // namespace velmor
