#include "korvel/base/text.h"

#include <gtest/gtest.h>

namespace korvel {

namespace {

TEST(TextTest, CaseChangesOnlyAsciiLetters) {
  EXPECT_EQ(to_lower_ascii("ABC_xyz-\xC3\x84"), "abc_xyz-\xC3\x84");
  EXPECT_EQ(to_upper_ascii("abc_XYZ[`{@"), "ABC_XYZ[`{@");
}

TEST(TextTest, TrimRemovesBlanksOnly) {
  struct Case {
    const char* in;
    const char* both;
    const char* trailing;
  } cases[] = {
      {"  a b  ", "a b", "  a b"},
      {"\ta\t", "\ta\t", "\ta\t"},
      {"    ", "", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(trim_blanks(c.in), c.both) << c.in;
    EXPECT_EQ(trim_trailing_blanks(c.in), c.trailing) << c.in;
  }
}

TEST(TextTest, FindIgnoresAsciiCaseOnly) {
  struct Case {
    const char* haystack;
    const char* needle;
    size_t at;
  } cases[] = {
      {"Report.TXT", ".txt", 6},
      {"a.txt.htm", ".htm", 5},
      {"a.htm", ".txt", std::string_view::npos},
      {"x", "longer", std::string_view::npos},
      {"abc", "", 0},
      {"\xC3\xA4.txt", "\xC3\x84", std::string_view::npos},  // no case folding beyond ASCII
      {"copy a > OUT_NULL.LIST", "out_null.list", 9},
      {"ooO_x", "o_x", 2},  // false starts in both cases first
      {"aXb", "xB", 1},
      {"Ab", "b", 1},  // found at the last place it fits
      {"ab", "ab", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(find_ignore_case(c.haystack, c.needle), c.at) << c.haystack;
  EXPECT_TRUE(equals_ignore_case("VELMOR_X.EXE", "velmor_x.exe"));
  EXPECT_FALSE(equals_ignore_case("a", "ab"));
}

// The hash folds eight bytes at a time; each byte value, at each place in
// the word and in the tail, must fold exactly as a byte-wise lower-casing.
// The hash, the case-blind compare and lower-casing all work eight bytes at
// a time: every byte value at every place of a word and of the tail after
// the words must come out as byte-wise lower-casing says.
TEST(TextTest, NameHashFoldsAsciiCapitalsOnly) {
  for (size_t length = 1; length <= 17; ++length) {
    const std::string plain(length, 'q');
    for (size_t at = 0; at < length; ++at) {
      for (int byte = 0; byte < 256; ++byte) {
        std::string name = plain;
        name[at] = static_cast<char>(byte);
        std::string lowered = name;
        if (byte >= 'A' && byte <= 'Z') lowered[at] = static_cast<char>(byte + 32);
        ASSERT_EQ(name_hash(name, true), name_hash(lowered, false)) << length << " " << at << " " << byte;
        ASSERT_EQ(name_hash(name, false) == name_hash(plain, false), byte == 'q') << length << " " << at << " " << byte;
        ASSERT_EQ(to_lower_ascii(name), lowered) << length << " " << at << " " << byte;
        ASSERT_TRUE(equals_ignore_case(lowered, name)) << length << " " << at << " " << byte;
        ASSERT_EQ(equals_ignore_case(name, plain), byte == 'q' || byte == 'Q') << length << " " << at << " " << byte;
      }
    }
  }
  EXPECT_NE(name_hash("Report.txt", false), name_hash("report.txt", false));
  EXPECT_NE(name_hash("ab", false), name_hash(std::string("ab\0", 3), false));  // the tail is zero-filled
}

}  // namespace

}  // namespace korvel
