#include "indexer/site/doc_store.h"

#include <algorithm>
#include <cstdio>

#include "indexer/measures/measures.h"
#include "indexer/site/formats.h"
#include "indexer/site/html.h"
#include "indexer/site/out_file.h"

namespace velmor {

namespace {
constexpr char kBom[] = "\xEF\xBB\xBF";
}

void append_js_chars(std::string& out, std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const unsigned char b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (b < 0x20 || c == '<') {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", b);
      out += buf;
    } else if (b == 0xE2 && i + 2 < text.size() && text[i + 1] == '\x80' &&
               (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
      out += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
      i += 2;
    } else {
      out += c;
    }
  }
}

void append_js_literal(std::string& out, std::string_view text) {
  out += '"';
  append_js_chars(out, text);
  out += '"';
}

std::string text_store_file(uint32_t doc) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "text/d_%04u.js", doc + 1);
  return buf;
}

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
  for (const WordToken& t : tokens) {
    while (line < t.line && line + 1 < lines) {
      line_start += utf16_length(text.substr(std::min(byte, text.size()))) + unit + 1;
      text = corpus.line(doc, ++line);
      byte = 0;
      unit = 0;
    }
    const size_t begin = std::min<size_t>(std::max<size_t>(t.begin, byte), text.size());
    unit += utf16_length(text.substr(byte, begin - byte));
    byte = begin;
    const size_t end = std::min<size_t>(begin + t.length, text.size());
    const uint32_t length = utf16_length(text.substr(begin, end - begin));
    words.push_back({t.rank, line_start + unit, length});
    unit += length;
    byte = end;
  }
  return words;
}

std::string encode_words(const std::vector<StoredWord>& words) {
  std::vector<std::pair<uint32_t, uint32_t>> pairs;
  pairs.reserve(words.size());
  for (const StoredWord& w : words) pairs.emplace_back(w.rank, w.length);
  std::sort(pairs.begin(), pairs.end());
  pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
  std::string code;
  append_store_number(code, pairs.size());
  uint32_t previous = 0;
  for (const auto& [rank, length] : pairs) {
    append_store_number(code, rank - previous);
    append_store_number(code, length);
    previous = rank;
  }
  uint32_t gap = 1, end = 0;
  for (const StoredWord& w : words) {
    const uint64_t pair = std::lower_bound(pairs.begin(), pairs.end(), std::make_pair(w.rank, w.length)) - pairs.begin();
    const uint32_t this_gap = w.start - end;
    append_store_number(code, pair * 2 + (this_gap != gap));
    if (this_gap != gap) append_store_number(code, this_gap);
    gap = this_gap;
    end = w.start + w.length;
  }
  return code;
}

uint64_t write_text_store(const Corpus& corpus, uint32_t doc, uint64_t tokens, const std::filesystem::path& dir) {
  OutFile out(dir / text_store_file(doc));
  std::string& s = out.text();
  s += kBom;
  s += "velmorText(" + std::to_string(doc + 1) + ",\"";
  const uint32_t lines = corpus.document(doc).lines;
  for (uint32_t l = 0; l < lines; ++l) {
    if (l > 0) s += "\\n";
    append_js_chars(s, corpus.line(doc, l));
    out.spill();
  }
  s += "\",\"" + encode_words(stored_words(corpus, doc)) + "\",[";
  const char* comma = "";
  for (const Keyword& k : keywords(corpus, doc, tokens, KeywordOptions{})) {
    char scores[64];
    std::snprintf(scores, sizeof scores, ",%.1f,%.2f,", k.log_likelihood, k.log_ratio);
    s += comma;
    s += "[" + std::to_string(k.rank) + "," + std::to_string(k.count) + scores;
    append_js_literal(s, corpus.word(k.rank).form);
    s += "]";
    comma = ",";
  }
  s += "]);\n";
  out.close();
  return out.bytes();
}

uint64_t write_entry_starts(const std::vector<uint32_t>& entry_file, const std::filesystem::path& dir) {
  std::string s = kBom;
  s += "velmorEntries([";
  for (size_t r = 0; r < entry_file.size(); ++r) {
    if (r > 0 && entry_file[r] == entry_file[r - 1]) continue;
    if (r > 0) s += ',';
    s += std::to_string(r);
  }
  s += "]);\n";
  std::filesystem::create_directories(dir / "lookup");
  return write_file(dir / "lookup" / "entries.js", s);
}

}  // namespace velmor
