#include "convertcp/code_pages.h"

#include <gtest/gtest.h>

TEST(CodePages, FoundByNumberNameOrAliasInAnyCase) {
  struct Row {
    const char* written;
    int number;  // 0: unknown
  } rows[] = {
      {"1250", 1250},
      {"cp1250", 1250},
      {"CP1250", 1250},
      {"windows-1250", 1250},
      {"Windows_1251", 1251},
      {"65001", 65001},
      {"utf-8", 65001},
      {"UTF8", 65001},
      {"cp65001", 65001},
      {"koi8-r", 20866},
      {"KOI8R", 20866},
      {"ibm866", 866},
      {"cp866", 866},
      {"852", 852},
      {"iso-8859-2", 28592},
      {"latin2", 28592},
      {"28591", 28591},
      {"utf-16le", 1200},
      {"1200", 1200},
      {"ascii", 20127},
      {"mac-cyrillic", 10007},
      {"SHIFT_JIS", 932},
      {"1249", 0},
      {"cp", 0},
      {"", 0},
      {"windows-", 0},
      {"utf-9", 0},
      {"1250x", 0},
  };
  for (const Row& row : rows) {
    const CodePage* page = find_code_page(row.written);
    EXPECT_EQ(page ? page->number : 0, row.number) << row.written;
  }
}

TEST(CodePages, EveryNameAndNumberLeadsBackToItsOwnPage) {
  for (const CodePage& page : all_code_pages()) {
    EXPECT_EQ(find_code_page(page.name), &page) << page.name;
    EXPECT_EQ(find_code_page(std::to_string(page.number)), &page) << page.number;
  }
}

TEST(CodePages, ByteOrderMarksNameTheirUnicodeForm) {
  using namespace std::literals;
  struct Row {
    std::string_view bytes;
    int number;
  } rows[] = {
      {"\xEF\xBB\xBFtext"sv, 65001}, {"\xFF\xFEt\0"sv, 1200}, {"\xFE\xFF\0t"sv, 1201}, {"\xFF\xFE\0\0"sv, 12000},
      {"\0\0\xFE\xFF"sv, 12001},     {"\xEF\xBB"sv, 0},       {"text"sv, 0},           {""sv, 0},
  };
  for (const Row& row : rows) {
    const CodePage* page = code_page_of_mark(row.bytes);
    EXPECT_EQ(page ? page->number : 0, row.number) << row.number;
  }
}
