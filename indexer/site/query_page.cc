#include "indexer/site/query_page.h"

#include <string>

#include "indexer/site/html.h"
#include "indexer/site/out_file.h"

namespace velmor {

uint64_t write_query_page(uint32_t per_folder, const std::filesystem::path& dir) {
  std::string s;
  append_page_start(s, "Phrases and patterns",
                    "<script src=text_store.js data-per-folder=" + std::to_string(per_folder) +
                        " defer></script><script src=tsv.js defer></script><script src=lines.js defer></script>"
                        "<script src=query_parse.js defer></script><script src=query.js defer></script>"
                        "<script src=query_page.js defer></script>");
  s += "<h1>Phrases and patterns</h1>\n"
       "<form id=query-form class=query><input id=query type=search autocomplete=off spellcheck=false "
       "aria-label=\"Phrase or pattern\" placeholder='strong tea &middot; \"in\" [] \"case\" &middot; "
       "[word=\"colou?r\"]'>"
       "<label><input id=exact type=checkbox> accents count</label>"
       "<button type=submit>Find</button></form>\n"
       "<details class=hint><summary>What a query may hold</summary><ul>"
       "<li><code>strong tea</code>: the words in a row, accents and case aside; <code>colo*r</code>: "
       "<code>*</code> and <code>?</code> as in the search box</li>"
       "<li><code>\"colou?r\"</code> or <code>[word=\"colou?r\"]</code>: a regular expression over the whole word "
       "(words of up to 64 letters; a longer one is found by its spelling or a wildcard)</li>"
       "<li><code>(\"a\"|\"the\")</code>: any of several words</li>"
       "<li><code>\"in\" [] \"case\"</code>: any one word between; <code>[]{0,2}</code> none to two, "
       "<code>[]?</code> none or one (between words, up to 10)</li>"
       "<li><em>accents count</em>: <code>uber</code> no longer finds <code>&uuml;ber</code>; case never counts</li>"
       "</ul></details>\n"
       "<p id=query-status class=meta aria-live=polite></p>\n"
       "<div id=query-lines></div>\n<div id=query-docs></div>\n"
       "<noscript><p class=meta>The query line works with JavaScript on.</p></noscript>\n";
  append_page_end(s);
  return write_file(dir / "query.htm", s);
}

}  // namespace velmor
