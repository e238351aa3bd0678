#pragma once
// The code pages convertcp knows: Windows number, the names users write, and
// the name the Linux converter (iconv) knows them by. Pure lookups.
#include <span>
#include <string>
#include <string_view>

enum class Family { kSingleByte, kMultiByte, kUtf8, kUtf16le, kUtf16be, kUtf32le, kUtf32be };

struct CodePage {
  int number;           // the Windows code page number
  const char* name;     // what -l and the messages show
  const char* aliases;  // other names, blank-separated
  const char* iconv;    // glibc iconv's name for it
  Family family;
  const char* description;
};

std::span<const CodePage> all_code_pages();

// By number ("1250"), by "cp" and number ("cp1250"), by name or alias
// ("windows-1250", "koi8-r", "UTF8"). Letter case, "-", "_" and blanks do not
// matter. nullptr when unknown.
const CodePage* find_code_page(std::string_view written);

// Whether the code page is one of the Unicode forms (UTF-8, -16, -32).
bool is_unicode(const CodePage& page);

// The bytes of the byte-order mark `page` starts a text with, "" for none.
std::string_view byte_order_mark(const CodePage& page);
// The Unicode form whose byte-order mark starts `bytes`, nullptr for none.
const CodePage* code_page_of_mark(std::string_view bytes);
