#pragma once
#include <string_view>

namespace korvel {

// Windows code page number for a character set name as nl_langinfo gives it.
int code_page_of(std::string_view codeset);
int active_code_page();

}  // namespace korvel
