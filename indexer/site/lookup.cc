#include "indexer/site/lookup.h"

#include <algorithm>
#include <string>

#include "indexer/escape.h"
#include "indexer/site/format_constants.h"
#include "indexer/site/out_file.h"
#include "indexer/string_order.h"
#include "indexer/words/words.h"

namespace velmor {

namespace {

// A field of a look-up row inside its string literal. Word segments hold
// no tab or line end; were one there, a blank keeps the row's shape.
void append_lookup_field(std::string& s, std::string_view text) {
  for (size_t i = 0, from = 0; i <= text.size(); ++i)
    if (i == text.size() || text[i] == '\t' || text[i] == '\n') {
      append_js_chars(s, text.substr(from, i - from));
      if (i < text.size()) s += ' ';
      from = i + 1;
    }
}

}  // namespace

// The search box's data, as formats.h describes it under lookup/.
uint64_t write_lookup(const Corpus& corpus, const std::vector<int16_t>& dispersion, const std::filesystem::path& dir,
                      size_t per_shard) {
  const size_t words = corpus.word_count();
  std::vector<std::string> search(words);
  for (size_t r = 0; r < words; ++r) search[r] = search_key(corpus.word(r).key);
  const std::vector<uint32_t> by_key = order_by_bytes(search, [](uint32_t a, uint32_t b) { return a < b; });
  std::filesystem::create_directories(dir / "lookup");
  uint64_t bytes = 0;
  std::string manifest = data_file_start(kKeyShards) + "[";
  for (size_t first = 0, shard = 0; first < words; first += per_shard, ++shard) {
    size_t end = std::min(words, first + per_shard);
    if (shard > 0) manifest += ',';
    append_json_string(manifest, search[by_key[first]]);
    std::string s = data_file_start(kKeyShard) + std::to_string(shard) + ",\"";
    for (size_t i = first; i < end; ++i) {
      const size_t rank = by_key[i];
      const WordInfo& w = corpus.word(rank);
      append_lookup_field(s, search[rank]);
      s += '\t';
      if (w.key != search[rank]) append_lookup_field(s, w.key);
      s += '\t';
      if (w.form != w.key) append_lookup_field(s, w.form);
      s += '\t' + std::to_string(rank) + '\t' + std::to_string(w.count) + '\t';
      if (dispersion[rank] >= 0) s += std::to_string(dispersion[rank]);
      if (w.documents != w.count) s += '\t' + std::to_string(w.documents);
      s += "\\n";
    }
    s += "\");\n";
    bytes += write_file(dir / site_file(kKeyShard, shard), s);
  }
  manifest += "]);\n";
  return bytes + write_file(dir / kKeyShards.start, manifest);
}

uint64_t write_document_titles(const Corpus& corpus, const std::filesystem::path& dir) {
  std::string s = data_file_start(kDocumentTitles) + "[\n";
  for (uint32_t d = 0; d < corpus.document_count(); ++d) {
    if (d > 0) s += ",\n";
    append_json_string(s, corpus.document(d).title);
  }
  s += "]);\n";
  std::filesystem::create_directories(dir / "lookup");
  return write_file(dir / kDocumentTitles.start, s);
}

uint64_t write_document_sizes(const Corpus& corpus, const std::filesystem::path& dir) {
  std::string s = data_file_start(kDocumentSizes) + "[";
  for (uint32_t d = 0; d < corpus.document_count(); ++d)
    s += (d > 0 ? "," : "") + std::to_string(corpus.document(d).tokens);
  s += "]);\n";
  std::filesystem::create_directories(dir / "lookup");
  return write_file(dir / kDocumentSizes.start, s);
}

uint64_t write_entry_starts(const std::vector<uint32_t>& entry_file, const std::filesystem::path& dir) {
  std::string s = data_file_start(kEntryStarts) + "[";
  for (size_t r = 0; r < entry_file.size(); ++r) {
    if (r > 0 && entry_file[r] == entry_file[r - 1]) continue;
    if (r > 0) s += ',';
    s += std::to_string(r);
  }
  s += "]);\n";
  std::filesystem::create_directories(dir / "lookup");
  return write_file(dir / kEntryStarts.start, s);
}

}  // namespace velmor
