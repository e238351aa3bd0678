// chcp: the code page that matches the locale's character set.
#include "korvel/interp/chcp.h"

#include <clocale>
#include <langinfo.h>
#include <string>

#include "korvel/base/text.h"
#include "korvel/interp/commands.h"
#include "korvel/interp/output.h"

namespace korvel {

int code_page_of(std::string_view codeset) {
  struct Known {
    std::string_view codeset;
    int page;
  };
  static constexpr Known kKnown[] = {
      {"UTF-8", 65001},      {"ANSI_X3.4-1968", 20127},
      {"ISO-8859-1", 28591}, {"ISO-8859-2", 28592},
      {"ISO-8859-5", 28595}, {"ISO-8859-7", 28597},
      {"ISO-8859-9", 28599}, {"ISO-8859-15", 28605},
      {"KOI8-R", 20866},     {"KOI8-U", 21866},
      {"CP1251", 1251},      {"CP1252", 1252},
      {"GB18030", 54936},    {"GBK", 936},
      {"BIG5", 950},         {"EUC-JP", 20932},
      {"SHIFT_JIS", 932},    {"EUC-KR", 51949},
  };
  for (const Known& known : kKnown)
    if (equals_ignore_case(known.codeset, codeset)) return known.page;
  return 65001;  // an unknown set: UTF-8 is what a Linux console most likely shows
}

int active_code_page() {
  // Ask the user's locale without leaving it switched for the rest of korvel.
  std::string saved = std::setlocale(LC_CTYPE, nullptr);
  std::setlocale(LC_CTYPE, "");
  int page = code_page_of(nl_langinfo(CODESET));
  std::setlocale(LC_CTYPE, saved.c_str());
  return page;
}

void chcp_command(std::span<const Word> args) {
  int page = active_code_page();
  // The code page follows the locale; asking for another one cannot work.
  if (!args.empty() && args[0].text != std::to_string(page)) return err_line("Invalid code page");
  out_line("Active code page: " + std::to_string(page));
}

}  // namespace korvel
