#include "indexer/site/utf16_positions.h"

#include <algorithm>

#include "indexer/site/html.h"

namespace velmor {

static uint64_t line_key(uint32_t doc, uint32_t line) { return uint64_t{doc} << 32 | line; }

Utf16Positions::Utf16Positions(const Corpus& corpus) {
  for (uint32_t d = 0; d < corpus.document_count(); ++d) {
    const uint32_t lines = corpus.document(d).lines;
    for (uint32_t l = 0; l < lines; ++l) {
      std::string_view text = corpus.line(d, l);
      if (text.size() <= 4 * kStep) continue;
      std::vector<uint32_t>& marks = marks_[line_key(d, l)];
      marks.reserve(text.size() / kStep + 1);
      uint32_t units = 0;
      for (size_t at = 0; at < text.size(); at += kStep) {
        marks.push_back(units);
        units += utf16_length(text.substr(at, kStep));
      }
    }
  }
}

uint32_t Utf16Positions::before(uint32_t doc, uint32_t line, std::string_view text, size_t byte) const {
  byte = std::min(byte, text.size());
  auto it = marks_.find(line_key(doc, line));
  if (it == marks_.end()) return utf16_length(text.substr(0, byte));
  const size_t step = std::min(byte / kStep, it->second.size() - 1);
  return it->second[step] + utf16_length(text.substr(step * kStep, byte - step * kStep));
}

}  // namespace velmor
