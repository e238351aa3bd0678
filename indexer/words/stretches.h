#pragma once
// Where a document's words part into stretches that no cluster or n-gram
// runs across: a sentence's end, a block's end (a heading, a paragraph, a
// table cell, a list item) and a blank line. Two words in a row stand in
// one stretch when
//   - they stand on one line, or on two lines of which the second goes on
//     from the first within its block (Document::continued_lines), and
//   - the text between them holds no sentence terminal (Unicode's
//     Sentence_Terminal: . ! ? 。！？ ։ ۔ । and the like, and …).
// A line between the two, blank or with no word in it, always parts them.
// The test of the text between two words is a look at a blank or two for
// most pairs; ICU's sentence iterator would read every character of the
// text again. It takes "Dr. Smith" for two sentences, which costs a
// cluster, never puts one together that the text does not hold.
#include <cstdint>
#include <string_view>
#include <vector>

#include "indexer/model.h"

namespace velmor {

// Whether `gap`, the text between two words, ends a sentence.
bool ends_sentence(std::string_view gap);

// Whether a word ending at byte `end` of line `line` and the next, at byte
// `begin` of line `next_line`, stand in different stretches.
bool parts_stretches(const Document& doc, uint32_t line, uint32_t end, uint32_t next_line, uint32_t begin);

// The ordinals of the words that begin a stretch, the first word left out.
// `tokens` in reading order, each with line, begin and length.
template <class Tokens>
std::vector<uint32_t> stretch_starts(const Document& doc, const Tokens& tokens) {
  std::vector<uint32_t> starts;
  for (size_t i = 1; i < tokens.size(); ++i) {
    const auto& a = tokens[i - 1];
    const auto& b = tokens[i];
    if (parts_stretches(doc, a.line, a.begin + a.length, b.line, b.begin)) starts.push_back(static_cast<uint32_t>(i));
  }
  return starts;
}

}  // namespace velmor
