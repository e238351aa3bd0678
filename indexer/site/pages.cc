#include "indexer/site/pages.h"

#include "indexer/site/html.h"
#include "indexer/site/out_file.h"

namespace velmor {

uint64_t write_page(const Corpus& corpus, uint32_t doc, const std::filesystem::path& dir) {
  const DocumentInfo& info = corpus.document(doc);
  const uint32_t docs = corpus.document_count();
  OutFile out(dir / page_file(doc));
  std::string& s = out.text();
  append_page_start(s, info.title);
  s += "<nav class=docs>";
  if (doc > 0) s += "<a href=" + page_file(doc - 1) + " rel=prev>&lsaquo; previous</a>";
  s += "<span>document " + grouped(doc + 1) + " of " + grouped(docs) + "</span>";
  if (doc + 1 < docs) s += "<a href=" + page_file(doc + 1) + " rel=next>next &rsaquo;</a>";
  s += "</nav>\n<h1>";
  append_escaped(s, info.title);
  s += "</h1>\n<p class=meta>";
  append_escaped(s, info.file_name);
  s += " &middot; " + grouped(info.tokens) + " words &middot; " + grouped(info.distinct) +
       " distinct &middot; " + grouped(info.lines) + " lines</p>\n"
       "<p class=hint>Double-click any word to open its entry. "
       "<kbd>n</kbd> and <kbd>p</kbd> step through the marked word's occurrences.</p>\n"
       "<p id=at></p>\n";
  // The parser drops one newline right after <pre>, so a first empty line
  // survives only behind this one.
  s += "<pre id=t>\n";
  for (uint32_t l = 0; l < info.lines; ++l) {
    if (l > 0) s += '\n';
    append_pre_text(s, corpus.line(doc, l));
    out.spill();
  }
  s += "</pre>\n";
  append_page_end(s);
  out.close();
  return out.bytes();
}

}  // namespace velmor
