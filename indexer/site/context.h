#pragma once
// Keyword-in-context: the text on either side of one occurrence.
#include <cstdint>
#include <string>
#include <string_view>

#include "indexer/model.h"

namespace velmor {

struct Kwic {
  std::string left, word, right;
};

// At most `cps` code points on each side, taken across neighbouring lines
// (joined by a blank) when the word's own line is short; runs of white space
// become one blank, and a side cut inside a word loses that word's stub when
// a blank is near. Adds the bytes of page text it stepped over to *stepped.
Kwic kwic(const Corpus& corpus, const Occurrence& at, uint32_t cps, uint64_t* stepped = nullptr);

// The last `cps` code points of `text` / the first `cps` of it, cut at
// character boundaries.
std::string_view last_code_points(std::string_view text, uint32_t cps);
std::string_view first_code_points(std::string_view text, uint32_t cps);

}  // namespace velmor
