#pragma once
// The pure rules of a page: its name and its content lines.
#include <string>
#include <string_view>

namespace korvel {

// The 68-character meta line that declares the page's content as UTF-8.
inline constexpr std::string_view kPageMetaLine =
    "<meta http-equiv=\"content-type\"  content=\"text/HTML; charset=utf-8\">";

// The page name of a text document: its name up to and including the dot of
// the first ".txt" (any letter case), then "htm". Report.TXT gives
// Report.htm, a.txt.txt gives a.htm, x.txtold gives x.htm. A name without
// ".txt" has no page name: the result is empty.
std::string page_name(std::string_view document_name);

// A document line as it stands in the page: trailing blanks and zero bytes
// removed, nothing else touched.
std::string_view page_content_line(std::string_view line);

}  // namespace korvel
