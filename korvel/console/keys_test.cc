#include "korvel/console/keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvel {

namespace {

std::string ext(int scan_code) { return {'\xff', static_cast<char>(scan_code)}; }

std::vector<std::string> decode(std::string_view bytes, bool idle = true) {
  KeyDecoder decoder;
  std::vector<std::string> keys;
  decode_keys(decoder, bytes, idle, keys);
  return keys;
}

}  // namespace

TEST(DecodeKeys, EachSequenceIsOneKeyPress) {
  struct Case {
    std::string bytes;
    std::string key;
  };
  const Case cases[] = {
      // plain keys
      {"1", "1"},
      {"a", "a"},
      {"\r", "\r"},
      {"\t", "\t"},
      {"\x7f", "\b"},
      {"\x03", "\x03"},
      {"\x1b", "\x1b"},  // Esc alone, once the input is idle
      // cursor and editing keys, CSI and SS3 forms
      {"\x1b[A", ext(72)},
      {"\x1bOA", ext(72)},
      {"\x1b[B", ext(80)},
      {"\x1b[D", ext(75)},
      {"\x1b[C", ext(77)},
      {"\x1b[H", ext(71)},
      {"\x1bOH", ext(71)},
      {"\x1b[1~", ext(71)},
      {"\x1b[F", ext(79)},
      {"\x1b[4~", ext(79)},
      {"\x1b[5~", ext(73)},
      {"\x1b[6~", ext(81)},
      {"\x1b[2~", ext(82)},
      {"\x1b[3~", ext(83)},
      // function keys: xterm SS3, VT220 numbers, Linux console
      {"\x1bOP", ext(59)},
      {"\x1bOS", ext(62)},
      {"\x1b[11~", ext(59)},
      {"\x1b[15~", ext(63)},
      {"\x1b[17~", ext(64)},
      {"\x1b[21~", ext(68)},
      {"\x1b[23~", ext(133)},
      {"\x1b[24~", ext(134)},
      {"\x1b[[A", ext(59)},
      {"\x1b[[E", ext(63)},
      // xterm modifier parameter: 2 Shift, 3 Alt, 5 Ctrl
      {"\x1b[1;2P", ext(84)},
      {"\x1b[1;5P", ext(94)},
      {"\x1b[1;3P", ext(104)},
      {"\x1b[15;2~", ext(88)},
      {"\x1b[21;5~", ext(103)},
      {"\x1b[21;3~", ext(113)},
      {"\x1b[23;2~", ext(135)},
      {"\x1b[24;2~", ext(136)},
      {"\x1b[23;5~", ext(137)},
      {"\x1b[24;5~", ext(138)},
      {"\x1b[23;3~", ext(139)},
      {"\x1b[24;3~", ext(140)},
      {"\x1bO2P", ext(84)},  // older xterm: modifier inside SS3
      {"\x1b[1;2A", ext(72)},
      {"\x1b[1;5A", ext(141)},
      {"\x1b[1;5B", ext(145)},
      {"\x1b[1;5D", ext(115)},
      {"\x1b[1;5C", ext(116)},
      {"\x1b[1;5H", ext(119)},
      {"\x1b[1;5F", ext(117)},
      {"\x1b[5;5~", ext(132)},
      {"\x1b[6;5~", ext(118)},
      {"\x1b[2;5~", ext(146)},
      {"\x1b[3;5~", ext(147)},
      {"\x1b[1;3A", ext(152)},
      {"\x1b[1;3B", ext(160)},
      {"\x1b[1;3D", ext(155)},
      {"\x1b[1;3C", ext(157)},
      {"\x1b[1;3H", ext(151)},
      {"\x1b[1;3F", ext(159)},
      {"\x1b[5;3~", ext(153)},
      {"\x1b[6;3~", ext(161)},
      {"\x1b[2;3~", ext(162)},
      {"\x1b[3;3~", ext(163)},
      {"\x1b[1;7A", ext(141)},  // Ctrl+Alt: the Ctrl form
      {"\x1b[11^", ext(94)},    // rxvt Ctrl+F1
      {"\x1b[Z", ext(15)},      // Shift+Tab
      // Alt with a letter or digit
      {"\x1bq", ext(16)},
      {"\x1bp", ext(25)},
      {"\x1b"
       "a",
       ext(30)},
      {"\x1bl", ext(38)},
      {"\x1bz", ext(44)},
      {"\x1bm", ext(50)},
      {"\x1bQ", ext(16)},
      {"\x1b"
       "1",
       ext(120)},
      {"\x1b"
       "2",
       ext(121)},
      {"\x1b"
       "0",
       ext(129)},
      {"\x1bO", ext(24)},
      // sequences we do not know are one unknown key
      {"\x1b[99~", ext(0)},
      {"\x1b[200~", ext(0)},
      {"\x1b[1;5X", ext(0)},
      {"\x1b[", ext(0)},
      {"\x1b[1;5", ext(0)},
      {"\x1b,", ext(0)},
  };
  for (const Case& c : cases) {
    std::vector<std::string> keys = decode(c.bytes);
    ASSERT_EQ(keys.size(), 1u) << "bytes " << testing::PrintToString(c.bytes);
    EXPECT_EQ(keys[0], c.key) << "bytes " << testing::PrintToString(c.bytes);
  }
}

TEST(DecodeKeys, NothingButTheDigitKeysEqualsOneOrTwo) {
  const std::string sequences[] = {
      "\x1b"
      "1",
      "\x1b"
      "2",
      "\x1b[1;2P",
      "\x1b[1~",
      "\x1b[2~",
      "\x1bO1",
      "\x1bO2",
      "\x1b[12~",
      "\x1b[1",
      "\x1b[2;",
      "\x1b[1;1~",
      "\x1b[21;1R"};
  for (const std::string& bytes : sequences)
    for (const std::string& key : decode(bytes)) {
      EXPECT_NE(key, "1") << testing::PrintToString(bytes);
      EXPECT_NE(key, "2") << testing::PrintToString(bytes);
    }
}

TEST(DecodeKeys, SequencesSplitAcrossReadsWaitForTheirRest) {
  KeyDecoder decoder;
  std::vector<std::string> keys;
  decode_keys(decoder, "1\x1b[1;", false, keys);
  EXPECT_EQ(keys, std::vector<std::string>{"1"});
  decode_keys(decoder, "5A2\x1b", false, keys);
  EXPECT_EQ(keys, (std::vector<std::string>{"1", ext(141), "2"}));
  decode_keys(decoder, "", false, keys);  // Esc not yet known to be alone
  EXPECT_EQ(keys.size(), 3u);
  decode_keys(decoder, "", true, keys);
  EXPECT_EQ(keys.back(), "\x1b");
  EXPECT_TRUE(decoder.pending.empty());
}

TEST(DecodeKeys, RunsOfKeysKeepTheirOrder) {
  EXPECT_EQ(decode("\x1b\x1b[A1\x1bOQ\x7f\r"), (std::vector<std::string>{"\x1b", ext(72), "1", ext(60), "\b", "\r"}));
  // UTF-8 bytes pass one by one
  EXPECT_EQ(decode("\xc3\xa9"), (std::vector<std::string>{"\xc3", "\xa9"}));
  // a control byte cuts a broken sequence short and still counts itself
  EXPECT_EQ(decode("\x1b[1\r"), (std::vector<std::string>{ext(0), "\r"}));
}

}  // namespace korvel
