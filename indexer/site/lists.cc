#include "indexer/site/lists.h"

#include <algorithm>
#include <set>

#include "indexer/escape.h"
#include "indexer/site/entries.h"
#include "indexer/site/formats.h"
#include "indexer/numbers.h"
#include "indexer/site/html.h"
#include "indexer/site/letter_script.h"
#include "indexer/site/layout.h"
#include "indexer/site/out_file.h"

namespace velmor {

void append_dispersion(std::string& s, int16_t thousandths) {
  s += thousandths < 0 ? ",null" : "," + std::to_string(thousandths);
}

namespace {

// Each initial letter with the list page and anchor where its words begin.
struct Letter {
  std::string label;
  size_t list;
  size_t rank;
  std::string script;  // letter_script()
};

// Each letter once, at its first word: a letter whose words the collation
// scatters (rare) still gets one tile.
std::vector<Letter> alphabet(const Corpus& corpus, const std::vector<ListPage>& lists) {
  std::vector<Letter> letters;
  std::set<std::string_view> seen;
  for (size_t p = 0; p < lists.size(); ++p)
    for (size_t r = lists[p].begin; r < lists[p].end; ++r) {
      const std::string& initial = corpus.word(r).initial;
      if ((r == 0 || corpus.word(r - 1).initial != initial) && seen.insert(initial).second)
        letters.push_back({initial.empty() ? "?" : initial, p, r, letter_script(initial)});
    }
  return letters;
}

// The tiles in collation order. Where more than one script has letters,
// each run of tiles of one script is headed by its name and each tile
// names its script on hover: Greek Μ, Cyrillic М and Latin M are one glyph.
void append_alphabet(std::string& s, const std::vector<Letter>& letters) {
  std::set<std::string_view> scripts;
  for (const Letter& l : letters)
    if (!l.script.empty()) scripts.insert(l.script);
  const bool mixed = scripts.size() > 1;
  s += "<nav class=alpha id=alphabet>";
  std::string_view run;  // the script of the tiles before, digits and signs aside
  for (const Letter& l : letters) {
    std::string name = l.script;  // "Canadian_Aboriginal" as words
    std::replace(name.begin(), name.end(), '_', ' ');
    if (mixed && !l.script.empty() && l.script != run) s += "<span class=script>" + name + "</span>";
    if (!l.script.empty()) run = l.script;
    s += "<a href=" + list_file(static_cast<uint32_t>(l.list)) + "#a" + std::to_string(l.rank);
    if (mixed && !l.script.empty()) s += " title=\"" + name + "\"";
    s += ">";
    append_escaped(s, l.label);
    s += "</a>";
  }
  s += "</nav>\n";
}

// The page's words as data for the script to draw (formats.h): a row is
// a third of what a table row costs, and a word's place in the list is its
// rank, so neither the rank nor the entry's address need be written per word.
void append_word_list_data(OutFile& out, const Corpus& corpus, const SitePlan& plan,
                           const std::vector<int16_t>& dispersion, const ListPage& page, size_t number) {
  std::string& s = out.text();
  s += "<script type=application/json id=words-data>{\"first\":" + std::to_string(page.begin) + ",\"name\":\"words_" +
       std::to_string(number + 1) + "\",\"files\":[";
  for (size_t r = page.begin; r < page.end; ++r)
    if (r == page.begin || plan.entry_file[r] != plan.entry_file[r - 1])
      s += (r == page.begin ? "[" : ",[") + std::to_string(r) + ',' + std::to_string(plan.entry_file[r]) + ']';
  s += "],\"letters\":[";
  for (size_t r = page.begin; r < page.end; ++r)
    if (r == page.begin || corpus.word(r - 1).initial != corpus.word(r).initial) {
      s += (r == page.begin ? "[" : ",[") + std::to_string(r) + ',';
      append_json_string(s, corpus.word(r).initial);
      s += ']';
    }
  s += "],\"words\":[\n";
  for (size_t r = page.begin; r < page.end; ++r) {
    const WordInfo& w = corpus.word(r);
    s += '[';
    append_json_string(s, w.form);
    s += ',' + std::to_string(w.count);
    append_dispersion(s, dispersion[r]);
    if (w.documents != w.count) s += ',' + std::to_string(w.documents);
    s += r + 1 < page.end ? "],\n" : "]\n";
    out.spill();
  }
  s += "]}</script>\n";
}

}  // namespace

uint64_t write_lists(const Corpus& corpus, const SitePlan& plan, const std::vector<ListPage>& lists,
                     const std::vector<int16_t>& dispersion, const std::filesystem::path& dir) {
  const std::vector<Letter> letters = alphabet(corpus, lists);
  uint64_t bytes = 0;
  for (size_t p = 0; p < std::max<size_t>(lists.size(), 1); ++p) {
    const uint32_t page = static_cast<uint32_t>(p);
    std::string label = lists.empty() ? "no words" : lists[p].label;
    OutFile out(dir / list_file(page));
    std::string& s = out.text();
    append_page_start(s, "Words: " + label, list_scripts());
    // A script with thousands of initials gets its alphabet on the start page only.
    if (letters.size() <= 200) append_alphabet(s, letters);
    s += "<nav class=docs>";
    if (p > 0) s += "<a href=" + list_file(page - 1) + " rel=prev>&lsaquo; previous</a>";
    s += "<span>list " + grouped(p + 1) + " of " + grouped(std::max<size_t>(lists.size(), 1)) + "</span>";
    if (p + 1 < lists.size()) s += "<a href=" + list_file(page + 1) + " rel=next>next &rsaquo;</a>";
    s += "</nav>\n<h1>Words: ";
    append_escaped(s, label);
    s += "</h1>\n<div id=word-list><noscript><p class=meta>The list is drawn by a script: allow scripts "
         "for this folder.</p></noscript></div>\n";
    append_word_list_data(out, corpus, plan, dispersion, lists.empty() ? ListPage{} : lists[p], p);
    append_page_end(s);
    out.close();
    bytes += out.bytes();
  }
  return bytes;
}

uint64_t write_start_page(const Corpus& corpus, const std::vector<ListPage>& lists, const std::filesystem::path& dir) {
  uint64_t tokens = 0, bytes = 0;
  const uint32_t docs = corpus.document_count();
  for (uint32_t d = 0; d < docs; ++d) {
    tokens += corpus.document(d).tokens;
    bytes += corpus.document(d).bytes;
  }
  std::string s;
  append_page_start(s, "Word index");
  s += "<h1>Word index</h1>\n<p class=totals><b>" + grouped(docs) + "</b> documents &middot; <b>" + grouped(tokens) +
       "</b> words &middot; <b>" + grouped(corpus.word_count()) + "</b> distinct words &middot; " + grouped(bytes) +
       " bytes of text</p>\n"
       "<p class=hint>Type the beginning of a word in the box above, pick a letter, or "
       "double-click any word on any page to open its entry.</p>\n"
       "<h2>Alphabet</h2>\n";
  append_alphabet(s, alphabet(corpus, lists));
  s += "<h2>Statistics</h2>\n<ul class=stats><li><a href=s_freq_001.htm>Words by frequency</a>"
       "<li><a href=s_docs.htm>Documents: words, distinct words, type/token ratio</a>"
       "<li><a href=s_once_001.htm>Words that occur once</a><li><a href=s_ngrams.htm>Clusters and n-grams</a></ul>\n"
       "<h2>Documents</h2>\n<table class=doclist><tr><th>#<th>document<th>words\n";
  // A few to start from; the whole table is s_docs.htm, so this page stays
  // a screen or two however many documents there are.
  constexpr uint32_t kShown = 12;
  for (uint32_t d = 0; d < docs && d < kShown; ++d) {
    const DocumentInfo& info = corpus.document(d);
    s += "<tr><td>" + grouped(d + 1) + "<td><a href=\"" + page_address(d) + "\">";
    append_escaped(s, info.title);
    s += "</a><td>" + grouped(info.tokens) + "\n";
  }
  s += "</table>\n";
  if (docs > kShown) s += "<p class=more><a href=s_docs.htm>All " + grouped(docs) + " documents</a></p>\n";
  append_page_end(s);
  return write_file(dir / "index.htm", s);
}

}  // namespace velmor
