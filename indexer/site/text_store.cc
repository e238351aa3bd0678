#include "indexer/site/text_store.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <numeric>

#include "indexer/escape.h"
#include "indexer/site/formats.h"
#include "indexer/site/html.h"
#include "indexer/site/layout.h"
#include "indexer/site/out_file.h"
#include "indexer/site/radix_sort.h"

namespace velmor {

namespace {
constexpr char kBom[] = "\xEF\xBB\xBF";
}

namespace {

// What the browser takes for the space between words: a UTF-16 unit below
// 128 that is not an ASCII letter or digit. All of them are ASCII, so a
// byte of the UTF-8 text tells.
constexpr bool separator(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return b < kSeparatorsBelow && !((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'));
}

// A piece of a line: its length in UTF-16 units, and whether it holds only
// separators or any. One pass with a table, since every word and every gap
// of every document goes through here.
struct Piece {
  uint32_t units = 0;
  bool all_separators = true, any_separator = false;
};

Piece scan(std::string_view text) {
  // Bits 0-1: the units a byte starts (none for a continuation byte, two
  // for the lead of a four-byte sequence); bit 2: a separator.
  static constexpr auto kByte = [] {
    std::array<uint8_t, 256> t{};
    for (int b = 0; b < 256; ++b) {
      t[b] = (b & 0xC0) == 0x80 ? 0 : b >= 0xF0 ? 2 : 1;
      if (separator(static_cast<char>(b))) t[b] |= 4;
    }
    return t;
  }();
  Piece p;
  unsigned all = 4, any = 0;
  for (const char c : text) {
    const uint8_t v = kByte[static_cast<unsigned char>(c)];
    p.units += v & 3;
    all &= v;
    any |= v;
  }
  p.all_separators = all & 4;
  p.any_separator = any & 4;
  return p;
}

}  // namespace

std::vector<StoredWord> stored_words(const Corpus& corpus, uint32_t doc) {
  std::vector<WordToken> tokens;
  corpus.tokens(doc, tokens);
  std::vector<StoredWord> words;
  words.reserve(tokens.size());
  // Tokens come in reading order, so one cursor walks each line once.
  uint32_t line = 0, line_start = 0;  // in units, of the line the cursor is in
  const uint32_t lines = corpus.document(doc).lines;
  std::string_view text = lines > 0 ? corpus.line(doc, 0) : std::string_view();
  size_t byte = 0;
  uint32_t unit = 0;  // units from the line's start to `byte`
  bool apart = true;  // only separators since the previous word (or the start)
  for (const WordToken& t : tokens) {
    while (line < t.line && line + 1 < lines) {
      const Piece rest = scan(text.substr(std::min(byte, text.size())));
      apart = apart && rest.all_separators;
      line_start += rest.units + unit + 1;
      text = corpus.line(doc, ++line);
      byte = 0;
      unit = 0;
    }
    const size_t begin = std::min<size_t>(std::max<size_t>(t.begin, byte), text.size());
    const Piece between = scan(text.substr(byte, begin - byte));
    apart = apart && between.all_separators;
    unit += between.units;
    byte = begin;
    const size_t end = std::min<size_t>(begin + t.length, text.size());
    const std::string_view word = text.substr(begin, end - begin);
    const Piece in_word = scan(word);
    StoredWord w{t.rank, line_start + unit, in_word.units};
    // A line's end is a "\n" or the text's end: either ends a run.
    w.gap_predicted = apart && !word.empty() && !separator(word[0]);
    w.length_predicted = !word.empty() && !in_word.any_separator && (end == text.size() || separator(text[end]));
    words.push_back(w);
    unit += w.length;
    byte = end;
    apart = true;
  }
  return words;
}

// The document's distinct (rank, length) pairs in that order, with how often
// each is used and whether any of its words needs its length written; and
// each word's pair. A document has a few thousand words and a third as many
// pairs, so the words find their pairs in a small open table and only the
// pairs are sorted.
namespace {
struct DocumentPairs {
  std::vector<std::pair<uint32_t, uint32_t>> pairs;
  std::vector<uint32_t> uses, pair_of;
  std::vector<bool> length_written;
};

DocumentPairs document_pairs(const std::vector<StoredWord>& words) {
  auto key = [](const StoredWord& w) { return uint64_t{w.rank} << 32 | w.length; };
  size_t slots = 16;
  while (slots < words.size() * 2) slots *= 2;
  std::vector<uint32_t> slot_pair(slots, UINT32_MAX);  // a pair's number in order met, by slot
  std::vector<uint32_t> found(words.size());           // each word's pair, in order met
  std::vector<std::pair<uint64_t, uint32_t>> met;      // key, order met
  for (size_t i = 0; i < words.size(); ++i) {
    const uint64_t k = key(words[i]);
    size_t slot = (k * 0x9E3779B97F4A7C15ull) >> 32 & (slots - 1);
    while (slot_pair[slot] != UINT32_MAX && met[slot_pair[slot]].first != k) slot = (slot + 1) & (slots - 1);
    if (slot_pair[slot] == UINT32_MAX) {
      slot_pair[slot] = static_cast<uint32_t>(met.size());
      met.emplace_back(k, static_cast<uint32_t>(met.size()));
    }
    found[i] = slot_pair[slot];
  }
  // Keys are distinct: the order met never decides, and the sort moves the
  // pairs themselves rather than reaching into them through an index.
  radix_sort_by_key(met);
  std::vector<uint32_t> place(met.size());
  DocumentPairs d;
  d.pairs.reserve(met.size());
  for (uint32_t p = 0; p < met.size(); ++p) {
    place[met[p].second] = p;
    d.pairs.emplace_back(static_cast<uint32_t>(met[p].first >> 32), static_cast<uint32_t>(met[p].first));
  }
  d.uses.assign(met.size(), 0);
  d.length_written.assign(met.size(), false);
  d.pair_of.resize(words.size());
  for (size_t i = 0; i < words.size(); ++i) {
    const uint32_t p = place[found[i]];
    d.pair_of[i] = p;
    ++d.uses[p];
    if (!words[i].length_predicted) d.length_written[p] = true;
  }
  return d;
}
}  // namespace

std::string encode_words(const std::vector<StoredWord>& words) {
  const DocumentPairs d = document_pairs(words);
  const std::vector<std::pair<uint32_t, uint32_t>>& pairs = d.pairs;
  const std::vector<uint32_t>& uses = d.uses;
  const std::vector<uint32_t>& pair_of = d.pair_of;
  const std::vector<bool>& length_written = d.length_written;
  std::string code;
  append_store_number(code, pairs.size());
  uint32_t previous = 0;
  for (size_t p = 0; p < pairs.size(); ++p) {
    append_store_number(code, uint64_t{pairs[p].first - previous} * 2 + length_written[p]);
    if (length_written[p]) append_store_number(code, pairs[p].second);
    previous = pairs[p].first;
  }
  // The most used pairs go first, so that their words take one digit
  // (2 * 21 + 1 is the largest one-digit number); one used twice or less
  // would not win back its place in the list.
  constexpr size_t kFront = 22;
  std::vector<uint32_t> order(pairs.size());
  std::iota(order.begin(), order.end(), 0u);
  const size_t front_size = std::min(kFront, order.size());
  std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(front_size), order.end(),
                    [&](uint32_t a, uint32_t b) { return uses[a] != uses[b] ? uses[a] > uses[b] : a < b; });
  size_t fronts = 0;
  while (fronts < front_size && uses[order[fronts]] > 2) ++fronts;
  std::vector<uint32_t> place(pairs.size());
  std::vector<bool> in_front(pairs.size(), false);
  append_store_number(code, fronts);
  for (size_t f = 0; f < fronts; ++f) {
    append_store_number(code, order[f]);
    place[order[f]] = static_cast<uint32_t>(f);
    in_front[order[f]] = true;
  }
  for (uint32_t p = 0, next = static_cast<uint32_t>(fronts); p < pairs.size(); ++p)
    if (!in_front[p]) place[p] = next++;
  uint32_t end = 0;
  for (size_t i = 0; i < words.size(); ++i) {
    const StoredWord& w = words[i];
    append_store_number(code, uint64_t{place[pair_of[i]]} * 2 + !w.gap_predicted);
    if (!w.gap_predicted) append_store_number(code, w.start - end);
    end = w.start + w.length;
  }
  return code;
}

uint64_t write_text_store(const Corpus& corpus, uint32_t doc, const std::vector<Keyword>& keywords, uint32_t per_folder,
                          const std::filesystem::path& dir) {
  OutFile out(dir / text_store_file(doc, per_folder));
  std::string& s = out.text();
  s += kBom;
  s += std::string(kTextStore.callback) + "(" + std::to_string(doc + 1) + ",`";
  const uint32_t lines = corpus.document(doc).lines;
  for (uint32_t l = 0; l < lines; ++l) {
    if (l > 0) s += '\n';
    append_js_template_chars(s, corpus.line(doc, l));
    out.spill();
  }
  s += "`,\"" + encode_words(stored_words(corpus, doc)) + "\",[";
  const char* comma = "";
  for (const Keyword& k : keywords) {
    char scores[64];
    std::snprintf(scores, sizeof scores, ",%.1f,%.2f,", k.log_likelihood, k.log_ratio);
    s += comma;
    s += "[" + std::to_string(k.rank) + "," + std::to_string(k.count) + scores;
    append_js_literal(s, corpus.word(k.rank).form);
    s += "]";
    comma = ",";
  }
  // What the viewer shows above the text (page.htm holds nothing of its own).
  const DocumentInfo& info = corpus.document(doc);
  s += "],[";
  append_js_literal(s, info.title);
  s += ',';
  append_js_literal(s, info.file_name);
  s += "," + std::to_string(info.tokens) + "," + std::to_string(info.distinct) + "," + std::to_string(info.lines) +
       "],\"";
  // Where the clusters the browser counts for a rarer word must stop.
  uint32_t previous = 0;
  std::vector<uint32_t> stretch_starts;
  corpus.stretch_starts(doc, stretch_starts);
  for (uint32_t start : stretch_starts) {
    append_store_number(s, start - previous);
    previous = start;
  }
  s += "\");\n";
  out.close();
  return out.bytes();
}

}  // namespace velmor
