#pragma once
#include <string_view>

// Windows code page number for a character set name as nl_langinfo gives it.
int code_page_of(std::string_view codeset);
int active_code_page();
