#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "indexer/read/utf8_text.h"

namespace velmor {
namespace {

TEST(Utf8Text, EveryInvalidByteBecomesOneReplacement) {
  const std::string r = "\xEF\xBF\xBD";
  struct Case {
    std::string in, out;
    uint64_t replaced;
  } cases[] = {
      {"plain ascii text, longer than eight", "plain ascii text, longer than eight", 0},
      {"čšž Ωμέγα 東京 😀", "čšž Ωμέγα 東京 😀", 0},
      {"caf\xE9 ok", "caf" + r + " ok", 1},    // Latin-1
      {"\xC0\xAF", r + r, 2},                  // overlong '/'
      {"\xED\xA0\x80", r + r + r, 3},          // surrogate
      {"\xF4\x90\x80\x80", r + r + r + r, 4},  // past U+10FFFF
      {"ab\xE2\x82", "ab" + r + r, 2},         // cut short at the end
      {"\xE2\x82"
       "abcdefghij",
       r + r + "abcdefghij", 2},                     // cut short before ASCII
      {std::string("a\0b", 3), "a" + r + "b", 1},    // zero byte
      {std::string("abcdefghij\0\x01klmnopqr", 20),  // the same inside a long run,
       "abcdefghij" + r + "\x01klmnopqr", 1},        // before a byte its borrow marks
      {"abcdefghijkl\xC3\xA9mnop\xC3qrstuvwxyz",     // a character, a cut one, in runs
       "abcdefghijkl\xC3\xA9mnop" + r + "qrstuvwxyz", 1},
      {"\x80\xBF", r + r, 2},  // stray continuations
  };
  for (const Case& c : cases) {
    std::string out = "kept:";
    EXPECT_EQ(append_valid_utf8(c.in, out), c.replaced) << c.in;
    EXPECT_EQ(out, "kept:" + c.out) << c.in;
  }
}

TEST(Utf8Text, BinaryIsZeroBytesOrMostlyNotUtf8) {
  std::string text(100000, 'a');
  EXPECT_FALSE(looks_binary(text));
  std::string legacy;  // Slovenian in a code page: a few bad bytes per line
  for (int i = 0; i < 2000; ++i)
    legacy +=
        "\xE8"
        "as je zlato, \x9E"
        "aba ska\xE8"
        "e.\r\n";
  EXPECT_FALSE(looks_binary(legacy));
  std::string zero = "<html>" + std::string(1, '\0') + "</html>";
  EXPECT_TRUE(looks_binary(zero));
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise += static_cast<char>(0x80 + (i * 37) % 128);
  EXPECT_TRUE(looks_binary(noise));
  // A character cut by the 64 KB sample does not count against the page.
  std::string long_utf8;
  while (long_utf8.size() < 70000) long_utf8 += "€";
  EXPECT_FALSE(looks_binary(long_utf8));
}

}  // namespace
}  // namespace velmor
