#include "convertcp/text_sniffer.h"

#include <gtest/gtest.h>

namespace {
using namespace std::literals;
using Kind = TextSniffer::Verdict::Kind;

TextSniffer::Verdict verdict_of(std::string_view bytes, size_t piece) {
  TextSniffer sniffer;
  for (size_t at = 0; at < bytes.size(); at += piece) sniffer.add(bytes.substr(at, piece));
  return sniffer.verdict();
}
}  // namespace

TEST(TextSniffer, TellsTextUnicodeWithoutAMarkAndBinaryApart) {
  struct Row {
    const char* what;
    std::string bytes;
    Kind kind;
    int code_page;
  } rows[] = {
      {"ASCII", std::string("Plain text,\ttabs\r\nand lines.\f\x1A"sv), Kind::kText, 0},
      {"windows-1250", std::string("\xE8\x9A\x9E \xC8\x8A\x8E"sv), Kind::kText, 0},
      {"a stray control in a hundred", std::string(99, 'a') + "\x01", Kind::kText, 0},
      {"two in a hundred", std::string(98, 'a') + "\x01\x02", Kind::kBinary, 0},
      {"ELF",
       std::string("\x7F"
                   "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0\x01\0\0\0"sv),
       Kind::kBinary, 0},
      {"one NUL", std::string("text\0text"sv), Kind::kBinary, 0},
      {"UTF-16LE", std::string("H\0i\0 \0\x0D\x01!\0"sv), Kind::kUnicode, 1200},
      {"UTF-16BE", std::string("\0H\0i\0 \x01\x0D\0!"sv), Kind::kUnicode, 1201},
      {"UTF-16LE Cyrillic", std::string("\x21\x04\x4A\x04 \0\x35\x04"sv), Kind::kUnicode, 1200},
      {"UTF-16LE surrogate pair", std::string("a\0\x3D\xD8\x01\xDE"sv), Kind::kUnicode, 1200},
      {"UTF-16LE lone surrogate",
       std::string("a\0\x3D\xD8"
                   "b\0"sv),
       Kind::kBinary, 0},
      {"UTF-16LE cut short", std::string("a\0b\0c"sv), Kind::kBinary, 0},
      {"UTF-16LE U+0000", std::string("a\0\0\0b\0"sv), Kind::kBinary, 0},
      {"UTF-32LE", std::string("a\0\0\0\x0D\x01\0\0\0\xF6\x01\0"sv), Kind::kUnicode, 12000},
      {"UTF-32BE", std::string("\0\0\0a\0\0\x01\x0D\0\x01\xF6\0"sv), Kind::kUnicode, 12001},
      {"UTF-32LE past U+10FFFF", std::string("a\0\0\0\0\0\x11\0"sv), Kind::kBinary, 0},
      {"UTF-16LE full of controls", std::string("\x01\0\x02\0a\0"sv), Kind::kBinary, 0},
  };
  for (const Row& row : rows) {
    // Pieces of every size must give what the whole gives.
    for (size_t piece : {size_t(1), size_t(3), row.bytes.size()}) {
      TextSniffer::Verdict verdict = verdict_of(row.bytes, piece);
      EXPECT_EQ(verdict.kind, row.kind) << row.what << " in pieces of " << piece;
      EXPECT_EQ(verdict.code_page, row.code_page) << row.what << " in pieces of " << piece;
    }
  }
}
