#include "indexer/site/utf16_positions.h"

#include <gtest/gtest.h>

#include "indexer/site/html.h"
#include "indexer/site/memory_corpus.h"

namespace velmor {
namespace {

// Long and short lines alike give the units a count from the line's start
// gives, on and between the marks, and past the line's end.
TEST(Utf16Positions, AgreeWithCountingFromTheStart) {
  std::string long_line;
  while (long_line.size() < 10 * Utf16Positions::kStep) long_line += "aé😀 Ἀρχὴ ";
  Document d;
  d.file_name = d.title = "p.htm";
  d.lines = {"short é😀 line", long_line};
  MemoryCorpus corpus({d}, "");
  const Utf16Positions positions(corpus);
  for (uint32_t l = 0; l < 2; ++l) {
    std::string_view text = corpus.line(0, l);
    for (size_t byte = 0; byte <= text.size() + 2; byte += (l == 0 ? 1 : 7))
      EXPECT_EQ(positions.before(0, l, text, byte), utf16_length(text.substr(0, byte))) << l << " " << byte;
    const size_t mark = 3 * Utf16Positions::kStep;
    for (size_t byte : {mark - 1, mark, mark + 1})
      EXPECT_EQ(positions.before(0, l, text, byte), utf16_length(text.substr(0, byte))) << l << " " << byte;
  }
}

}  // namespace
}  // namespace velmor
