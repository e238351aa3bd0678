#include "indexer/site/pages.h"

#include "indexer/site/formats.h"
#include "indexer/numbers.h"
#include "indexer/site/html.h"
#include "indexer/site/out_file.h"

namespace velmor {

// The page holds no text of its own: the script fills it from the text
// store (text/d_NNNN.js), whose words are the index's words, so what a
// double-click, a mark or n and p find is what the index counted.
uint64_t write_page(const Corpus& corpus, uint32_t doc, const std::filesystem::path& dir) {
  const DocumentInfo& info = corpus.document(doc);
  const uint32_t docs = corpus.document_count();
  std::string s;
  append_page_start(s, info.title, document_scripts());
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
       "<p id=at></p>\n"
       "<noscript><p class=meta>The text shows with JavaScript on; it is stored in " +
       text_store_file(doc) + ".</p></noscript>\n"
       "<pre id=t data-n=" + std::to_string(doc + 1) + "></pre>\n"
       "<div id=velmor-keywords></div>\n";  // document_page.js draws them
  append_page_end(s);
  return write_file(dir / page_file(doc), s);
}

}  // namespace velmor
