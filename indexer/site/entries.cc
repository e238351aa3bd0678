#include "indexer/site/entries.h"

#include "indexer/escape.h"
#include "indexer/site/formats.h"
#include "indexer/site/html.h"
#include "indexer/site/lists.h"
#include "indexer/site/out_file.h"

namespace velmor {

std::string document_codes(const std::vector<Occurrence>& occ) {
  std::string s;
  int64_t previous = -1;
  for (size_t i = 0; i < occ.size();) {
    size_t j = i;
    while (j < occ.size() && occ[j].doc == occ[i].doc) ++j;
    const uint64_t gap = static_cast<uint64_t>(static_cast<int64_t>(occ[i].doc) - previous - 1);
    const uint64_t count = j - i;
    append_store_number(s, gap * 2 + (count > 1));
    if (count > 1) append_store_number(s, count - 2);
    previous = occ[i].doc;
    i = j;
  }
  return s;
}

namespace {

void append_collocates(std::string& s, const Corpus& corpus, const std::vector<Collocate>& list) {
  s += ",[";
  for (size_t i = 0; i < list.size(); ++i) {
    const Collocate& c = list[i];
    if (i > 0) s += ',';
    s += '[' + std::to_string(c.rank) + ',' + std::to_string(c.frequency) + ",\"";
    for (uint32_t n : c.at_distance) append_store_number(s, n);
    s += "\",";
    append_json_string(s, corpus.word(c.rank).form);
    s += ']';
  }
  s += ']';
}

void append_clusters(std::string& s, const Corpus& corpus, const std::vector<Cluster>& list) {
  s += ",[";
  for (size_t i = 0; i < list.size(); ++i) {
    const Cluster& c = list[i];
    if (i > 0) s += ',';
    s += '[' + std::to_string(c.count) + ',' + std::to_string(c.at) + ",[";
    std::string text;
    for (size_t k = 0; k < c.ranks.size(); ++k) {
      if (k > 0) {
        s += ',';
        text += ' ';
      }
      s += std::to_string(c.ranks[k]);
      text += corpus.word(c.ranks[k]).form;
    }
    s += "],";
    append_json_string(s, text);
    s += ']';
  }
  s += ']';
}

}  // namespace

uint64_t write_entry_file(const EntryContext& context, uint32_t file, size_t begin, size_t end,
                          const std::filesystem::path& dir) {
  const Corpus& corpus = context.corpus;
  OutFile out(dir / entry_file(file));
  std::string& s = out.text();
  std::string head = "<meta name=collation content=\"";
  append_escaped(head, context.collation);
  head += "\">";
  head += entry_scripts(context.plan.folder_files);
  append_page_start(s, corpus.word(begin).form + " \u2013 " + corpus.word(end - 1).form, head);
  s += "<p class=hint>Each entry lists the documents where the word occurs most and every line it "
       "stands in, a page at a time, sortable by the words to its left or right. A document's name "
       "leads to the word's first occurrence there; on the page, <kbd>n</kbd> and <kbd>p</kbd> step "
       "through the others.</p>\n<div id=entries><noscript>The entries are drawn by a script: allow "
       "scripts for this folder.</noscript></div>\n<script type=application/json id=entry-data>{\"first\":" +
       std::to_string(begin) + ",\"file\":" + std::to_string(file) +
       ",\"tokens\":" + std::to_string(context.measures.tokens()) +
       ",\"docs\":" + std::to_string(corpus.document_count()) + ",\"window\":[5,5],\"words\":[\n";
  std::vector<Occurrence> occ;
  std::string dispersion;  // ",DP" per word
  for (size_t rank = begin; rank < end; ++rank) {
    const WordInfo& w = corpus.word(rank);
    occ.clear();
    corpus.occurrences(rank, occ);
    const WordMeasures m = context.measures.of_word(static_cast<uint32_t>(rank), occ);
    append_dispersion(dispersion, m.dispersion);
    s += '[';
    append_json_string(s, w.form);
    s += ",\"" + document_codes(occ) + '"';
    if (m.measured) {
      append_collocates(s, corpus, m.collocates);
      append_clusters(s, corpus, m.clusters);
    }
    s += rank + 1 < end ? "],\n" : "]\n";
    out.spill();
  }
  s += "],\"dp\":[" + dispersion.substr(dispersion.empty() ? 0 : 1) + "]}</script>\n";
  append_page_end(s);
  out.close();
  return out.bytes();
}

}  // namespace velmor
