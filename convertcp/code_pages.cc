#include "convertcp/code_pages.h"

#include <algorithm>
#include <charconv>

namespace {
constexpr Family S = Family::kSingleByte;
constexpr Family M = Family::kMultiByte;

// Aliases include the names uchardet reports, so that "auto" lands here.
constexpr CodePage kPages[] = {
    {437, "ibm437", "dos-437", "IBM437", S, "DOS United States"},
    {850, "ibm850", "dos-850", "IBM850", S, "DOS Western European"},
    {852, "ibm852", "dos-852", "IBM852", S, "DOS Central European"},
    {855, "ibm855", "dos-855", "IBM855", S, "DOS Cyrillic"},
    {857, "ibm857", "dos-857", "IBM857", S, "DOS Turkish"},
    {862, "ibm862", "dos-862", "IBM862", S, "DOS Hebrew"},
    {866, "ibm866", "dos-866 cp866", "IBM866", S, "DOS Cyrillic Russian"},
    {874, "windows-874", "tis-620", "WINDOWS-874", S, "Thai"},
    {932, "shift_jis", "sjis windows-31j", "CP932", M, "Japanese"},
    {936, "gbk", "gb2312", "CP936", M, "Simplified Chinese"},
    {949, "ks_c_5601-1987", "euc-kr uhc", "CP949", M, "Korean"},
    {950, "big5", "", "CP950", M, "Traditional Chinese"},
    {1200, "utf-16le", "utf-16 unicode", "UTF-16LE", Family::kUtf16le, "Unicode, UTF-16 little-endian"},
    {1201, "utf-16be", "unicodefffe", "UTF-16BE", Family::kUtf16be, "Unicode, UTF-16 big-endian"},
    {1250, "windows-1250", "", "CP1250", S, "Central European (Windows)"},
    {1251, "windows-1251", "", "CP1251", S, "Cyrillic (Windows)"},
    {1252, "windows-1252", "", "CP1252", S, "Western European (Windows)"},
    {1253, "windows-1253", "", "CP1253", S, "Greek (Windows)"},
    {1254, "windows-1254", "", "CP1254", S, "Turkish (Windows)"},
    {1255, "windows-1255", "", "CP1255", S, "Hebrew (Windows)"},
    {1256, "windows-1256", "", "CP1256", S, "Arabic (Windows)"},
    {1257, "windows-1257", "", "CP1257", S, "Baltic (Windows)"},
    {1258, "windows-1258", "", "CP1258", S, "Vietnamese (Windows)"},
    {10000, "macintosh", "mac", "MACINTOSH", S, "Western European (Mac)"},
    {10007, "x-mac-cyrillic", "mac-cyrillic", "MAC-CYRILLIC", S, "Cyrillic (Mac)"},
    {10029, "x-mac-ce", "mac-centraleurope", "MAC-CENTRALEUROPE", S, "Central European (Mac)"},
    {12000, "utf-32le", "utf-32", "UTF-32LE", Family::kUtf32le, "Unicode, UTF-32 little-endian"},
    {12001, "utf-32be", "", "UTF-32BE", Family::kUtf32be, "Unicode, UTF-32 big-endian"},
    {20127, "us-ascii", "ascii", "ASCII", S, "US-ASCII, 7 bits"},
    {20866, "koi8-r", "", "KOI8-R", S, "Cyrillic (KOI8-R)"},
    {21866, "koi8-u", "", "KOI8-U", S, "Cyrillic (KOI8-U)"},
    {28591, "iso-8859-1", "latin1", "ISO-8859-1", S, "Western European (ISO)"},
    {28592, "iso-8859-2", "latin2", "ISO-8859-2", S, "Central European (ISO)"},
    {28593, "iso-8859-3", "latin3", "ISO-8859-3", S, "Latin 3 (ISO)"},
    {28594, "iso-8859-4", "latin4", "ISO-8859-4", S, "Baltic (ISO)"},
    {28595, "iso-8859-5", "", "ISO-8859-5", S, "Cyrillic (ISO)"},
    {28596, "iso-8859-6", "", "ISO-8859-6", S, "Arabic (ISO)"},
    {28597, "iso-8859-7", "", "ISO-8859-7", S, "Greek (ISO)"},
    {28598, "iso-8859-8", "", "ISO-8859-8", S, "Hebrew (ISO)"},
    {28599, "iso-8859-9", "latin5", "ISO-8859-9", S, "Turkish (ISO)"},
    {28603, "iso-8859-13", "latin7", "ISO-8859-13", S, "Estonian (ISO)"},
    {28605, "iso-8859-15", "latin9", "ISO-8859-15", S, "Latin 9 (ISO)"},
    {54936, "gb18030", "", "GB18030", M, "Simplified Chinese (GB18030)"},
    {65001, "utf-8", "utf8", "UTF-8", Family::kUtf8, "Unicode, UTF-8"},
};

// Lower case without "-", "_" and blanks: "UTF_8" and "utf-8" compare equal.
std::string folded(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c == '-' || c == '_' || c == ' ') continue;
    out += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  }
  return out;
}

const CodePage* by_number(std::string_view digits) {
  int number = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return nullptr;
  for (const CodePage& page : kPages)
    if (page.number == number) return &page;
  return nullptr;
}

bool names_match(const CodePage& page, const std::string& wanted) {
  if (folded(page.name) == wanted) return true;
  std::string_view aliases = page.aliases;
  while (!aliases.empty()) {
    size_t blank = aliases.find(' ');
    if (folded(aliases.substr(0, blank)) == wanted) return true;
    aliases = blank == std::string_view::npos ? "" : aliases.substr(blank + 1);
  }
  return false;
}
}  // namespace

std::span<const CodePage> all_code_pages() { return kPages; }

const CodePage* find_code_page(std::string_view written) {
  std::string wanted = folded(written);
  if (const CodePage* page = by_number(wanted)) return page;
  if (wanted.starts_with("cp"))
    if (const CodePage* page = by_number(std::string_view(wanted).substr(2))) return page;
  auto found = std::find_if(std::begin(kPages), std::end(kPages),
                            [&](const CodePage& page) { return names_match(page, wanted); });
  return found == std::end(kPages) ? nullptr : found;
}

bool is_unicode(const CodePage& page) {
  return page.family != Family::kSingleByte && page.family != Family::kMultiByte;
}

std::string_view byte_order_mark(const CodePage& page) {
  using namespace std::literals;
  switch (page.family) {
    case Family::kUtf8: return "\xEF\xBB\xBF"sv;
    case Family::kUtf16le: return "\xFF\xFE"sv;
    case Family::kUtf16be: return "\xFE\xFF"sv;
    case Family::kUtf32le: return "\xFF\xFE\0\0"sv;
    case Family::kUtf32be: return "\0\0\xFE\xFF"sv;
    default: return ""sv;
  }
}

const CodePage* code_page_of_mark(std::string_view bytes) {
  // UTF-32LE's mark begins with UTF-16LE's, so it is tried first.
  for (int number : {12000, 12001, 1200, 1201, 65001}) {
    const CodePage* page = by_number(std::to_string(number));
    if (bytes.starts_with(byte_order_mark(*page))) return page;
  }
  return nullptr;
}
