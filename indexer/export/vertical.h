#pragma once
// The corpus in the "vertical" format that corpus engines (CWB's
// cwb-encode, BlackLab) read: one UTF-8 file, LF line ends, a document at a
// time, so an export holds one page in memory however big the corpus is.
//
//   <doc id="1" title="Der alte Bahnhof" file="Der_alte_Bahnhof.htm">
//   <p>
//   <l n="1">
//   Der	der	1
//   alte	alte	2
//   </l>
//   <l n="2">
//   Bahnhof	bahnhof	3
//   </l>
//   </p>
//   </doc>
//
// A token line holds three columns, tab-separated: the word as written, its
// key (what the index files it under, fold_key under the word rules) and its
// number among the document's words, from 1. `id` is the document's number
// as the site shows it. <l n="K"> is the document's line K (from 1), as the
// reader made it; <p> is a run of lines between empty ones, which for a text
// korvel wrapped is a paragraph, while an HTML page's block ends leave no
// empty line behind. Lines and paragraphs without words are left out, as an
// engine would drop an empty region anyway. Every text (attributes and
// tokens alike) is escaped as XML would have it (append_xml_escaped, indexer/escape.h).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "indexer/model.h"
#include "indexer/words/words.h"

namespace velmor {

// Splits documents as the index does and appends them in the vertical
// format. One per thread.
class VerticalWriter {
 public:
  explicit VerticalWriter(WordRules rules);
  // Appends document `id` (from 1) to `out`; returns its words.
  uint64_t append(const Document& doc, uint32_t id, std::string& out);

 private:
  WordSplitter splitter_;
  KeyFunction key_;
  std::vector<WordSpan> spans_;
  std::string key_text_;
};

// Whether a file that starts with `head` and ends with `tail` is an export
// of ours, which a new one may replace: empty, or opening with document 1's
// tag and closing a document.
bool looks_like_export(std::string_view head, std::string_view tail);

}  // namespace velmor
