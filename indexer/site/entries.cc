#include "indexer/site/entries.h"

#include <algorithm>

#include "indexer/site/context.h"
#include "indexer/site/html.h"
#include "indexer/site/out_file.h"

namespace velmor {

std::string occurrence_fragment(std::string_view line, const Occurrence& at) {
  size_t begin = std::min<size_t>(at.begin, line.size());
  size_t end = std::min<size_t>(begin + at.length, line.size());
  return "o" + std::to_string(at.line) + "." +
         std::to_string(utf16_length(line.substr(0, begin))) + "." +
         std::to_string(utf16_length(line.substr(begin, end - begin)));
}

std::vector<uint8_t> dispersion(const std::vector<Occurrence>& in_doc, uint64_t doc_tokens) {
  std::vector<uint8_t> marks;
  const uint64_t tokens = std::max<uint64_t>(doc_tokens, 1);
  for (const Occurrence& o : in_doc) {
    uint8_t at = static_cast<uint8_t>(std::min<uint64_t>(99, o.ordinal * 100ull / tokens));
    if (marks.empty() || marks.back() != at) marks.push_back(at);
  }
  return marks;
}

std::string document_list(const std::vector<uint32_t>& docs, const std::vector<uint64_t>& counts) {
  std::string s;
  int64_t previous = -1;
  for (size_t i = 0; i < docs.size(); ++i) {
    if (i > 0) s += ' ';
    s += std::to_string(static_cast<int64_t>(docs[i]) - previous);
    if (counts[i] != 1) s += ':' + std::to_string(counts[i]);
    previous = docs[i];
  }
  return s;
}

namespace {

struct DocHits {
  uint32_t doc;
  size_t first, end;  // index range into the word's occurrences
};

void append_link(std::string& s, const Corpus& corpus, const Occurrence& at) {
  s += "<a href=";
  s += page_file(at.doc);
  s += '#';
  s += occurrence_fragment(corpus.line(at.doc, at.line), at);
  s += '>';
}

void append_documents(std::string& s, const Corpus& corpus, uint64_t rows,
                      const WordInfo& word, const std::vector<Occurrence>& occ) {
  std::vector<DocHits> hits;
  for (size_t i = 0; i < occ.size(); ++i) {
    if (hits.empty() || hits.back().doc != occ[i].doc) hits.push_back({occ[i].doc, i, i});
    hits.back().end = i + 1;
  }
  s += "<table class=d";
  if (hits.size() > rows) {
    // Every document stays reachable: the script lists them all on demand
    // from the key and the compact list, and each page finds the word's
    // first occurrence by its key.
    s += " data-k=\"";
    append_escaped(s, word.key);
    s += "\" data-d=\"";
    std::vector<uint32_t> docs;
    std::vector<uint64_t> counts;
    for (const DocHits& h : hits) {
      docs.push_back(h.doc);
      counts.push_back(h.end - h.first);
    }
    s += document_list(docs, counts);
    s += '"';
    // The documents where the word is most at home, shown in their order.
    auto more = [](const DocHits& a, const DocHits& b) {
      return a.end - a.first > b.end - b.first;
    };
    std::nth_element(hits.begin(), hits.begin() + static_cast<std::ptrdiff_t>(rows), hits.end(), more);
    hits.resize(rows);
    std::sort(hits.begin(), hits.end(),
              [](const DocHits& a, const DocHits& b) { return a.doc < b.doc; });
  }
  s += ">";
  std::vector<Occurrence> in_doc;
  for (const DocHits& h : hits) {
    const DocumentInfo& info = corpus.document(h.doc);
    s += "<tr><td>";
    append_link(s, corpus, occ[h.first]);
    append_escaped(s, first_code_points(info.title, 40));
    // The strip: hundredths of the text that hold the word, drawn by the script.
    s += "</a><td>" + grouped(h.end - h.first) + "<td>";
    in_doc.assign(occ.begin() + static_cast<std::ptrdiff_t>(h.first),
                  occ.begin() + static_cast<std::ptrdiff_t>(h.end));
    const char* blank = "";
    for (uint8_t at : dispersion(in_doc, info.tokens)) {
      s += blank + std::to_string(at);
      blank = " ";
    }
    s += '\n';
  }
  s += "</table>\n";
}

}  // namespace

uint64_t write_entry_file(const Corpus& corpus, const SitePlan& plan, uint32_t file,
                          size_t begin, size_t end, std::string_view collation,
                          const std::filesystem::path& dir) {
  OutFile out(dir / entry_file(file));
  std::string& s = out.text();
  const WordInfo& first = corpus.word(begin);
  const WordInfo& last = corpus.word(end - 1);
  std::string head = "<meta name=collation content=\"";
  append_escaped(head, collation);
  head += "\">";
  append_page_start(s, first.form + " \u2013 " + last.form, head);
  s += "<p class=hint>A document's name leads to the word's first occurrence there; on the page, "
       "<kbd>n</kbd> and <kbd>p</kbd> step through the others. Where not all are shown, an entry "
       "lists the documents where the word occurs most first, the others one click away, and "
       "lines spread over the texts.</p>\n";
  std::vector<Occurrence> occ;
  for (size_t rank = begin; rank < end; ++rank) {
    const WordInfo& w = corpus.word(rank);
    occ.clear();
    corpus.occurrences(rank, occ);
    s += "<section id=r" + std::to_string(rank) + "><h2>";
    append_escaped(s, w.form);
    s += "</h2><p>" + grouped(w.count) + (w.count == 1 ? " occurrence" : " occurrences") +
         " in " + grouped(w.documents) + (w.documents == 1 ? " document" : " documents");
    // Capped lines say so where the reader looks first; capped documents
    // say so on the button that lists them all.
    const uint64_t rows = plan.share.doc_rows(w.documents, occ.size());
    const uint64_t lines = plan.share.lines(occ.size());
    if (occ.size() > lines)
      s += " \u00b7 " + grouped(lines) + (lines == 1 ? " line shown" : " lines shown");
    s += "</p>\n";
    append_documents(s, corpus, rows, w, occ);
    // The lines themselves are cut from the documents' stored text by the
    // browser (concordance.js), not repeated here.
    s += "<div class=kwic data-r=" + std::to_string(rank) + "></div>\n";
    s += "</section>\n";
    out.spill();
  }
  append_page_end(s);
  out.close();
  return out.bytes();
}

}  // namespace velmor
