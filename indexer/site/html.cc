#include "indexer/site/html.h"

#include "indexer/site/format_constants.h"

#include <cstdio>

#include "indexer/escape.h"

namespace velmor {

size_t utf8_floor(std::string_view text, size_t at) {
  if (at >= text.size()) return text.size();
  while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
  return at;
}

static std::string numbered(const char* format, uint32_t n) {
  char buf[32];
  std::snprintf(buf, sizeof buf, format, n);
  return buf;
}

std::string entry_file(uint32_t file) { return site_file(kEntryPage, file + 1); }
std::string list_file(uint32_t list) { return numbered("index_%03u.htm", list + 1); }

static std::string text_store_script(uint32_t per_folder) {
  return "<script src=text_store.js data-per-folder=" + std::to_string(per_folder) + " defer></script>";
}
std::string document_scripts(uint32_t per_folder) {
  return text_store_script(per_folder) +
         "<script src=tsv.js defer></script><script src=document_page.js defer></script>";
}
std::string entry_scripts(uint32_t per_folder) {
  return text_store_script(per_folder) +
         "<script src=tsv.js defer></script>"
         "<script src=lines.js defer></script><script src=concordance.js defer></script>"
         "<script src=dispersion.js defer></script>"
         "<script src=association.js defer></script><script src=collocate_table.js defer></script>"
         "<script src=local_measures.js defer></script>"
         "<script src=entry.js defer></script>";
}
std::string_view list_scripts() {
  return "<script src=tsv.js defer></script><script src=word_lists.js defer></script>";
}
std::string_view table_scripts() { return "<script src=tsv.js defer></script>"; }

void append_page_start(std::string& out, std::string_view title, std::string_view head_extra) {
  out +=
      "<!DOCTYPE html>\n<html><head><meta charset=utf-8>"
      "<meta name=viewport content=\"width=device-width,initial-scale=1\">"
      "<title>";
  append_escaped(out, title);
  out +=
      "</title><link rel=stylesheet href=velmor.css>"
      "<script src=formats.js defer></script><script src=velmor.js defer></script><script src=search_data.js "
      "defer></script>"
      "<script src=search.js defer></script><script src=dblclick.js defer></script>";
  out += head_extra;
  out +=
      "</head><body>\n"
      "<header><a class=home href=index.htm>Word index</a>"
      "<a href=index_001.htm>Words A&ndash;Z</a>"
      "<a href=s_freq_001.htm>By frequency</a><a href=s_docs.htm>Documents</a>"
      "<a href=query.htm>Phrases</a>"
      "<span class=find><input id=q type=search placeholder=\"Find a word\" "
      "autocomplete=off aria-label=\"Find a word\"><ul id=hits></ul></span>"
      "</header>\n<main>\n";
}

void append_page_end(std::string& out) { out += "</main>\n</body></html>\n"; }

}  // namespace velmor
