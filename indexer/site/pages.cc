#include "indexer/site/pages.h"

#include "indexer/site/html.h"
#include "indexer/site/out_file.h"

namespace velmor {

// The page holds no text of its own: document_page.js fills it from the
// text store (text/FFF/d_NNNN.js), the title and the counts too, and its
// words are the index's words, so what a double-click, a mark or n and p
// find is what the index counted.
uint64_t write_viewer(const Corpus& corpus, uint32_t per_folder, const std::filesystem::path& dir) {
  std::string s;
  append_page_start(s, "Document", document_scripts(per_folder));
  s += "<nav class=docs id=docs></nav>\n<h1 id=title></h1>\n<p class=meta id=about></p>\n"
       "<p class=hint>Double-click any word to open its entry. "
       "<kbd>n</kbd> and <kbd>p</kbd> step through the marked word's occurrences.</p>\n"
       "<p id=at></p>\n"
       "<noscript><p class=meta>The text shows with JavaScript on; it is stored in the folder text.</p></noscript>\n"
       "<pre id=t data-docs=" +
       std::to_string(corpus.document_count()) +
       "></pre>\n"
       "<div id=velmor-keywords></div>\n";  // document_page.js draws them
  append_page_end(s);
  return write_file(dir / "page.htm", s);
}

}  // namespace velmor
