#pragma once
// Byte-string helpers shared by every stage. Letter case means ASCII A-Z and
// a-z only, and trimming removes blanks (0x20) only: names pass through
// untouched in whatever code page the listing gave them.
#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

std::string to_lower_ascii(std::string_view text);
// The same into `out`, whose buffer is kept from one name to the next.
void to_lower_ascii_into(std::string& out, std::string_view text);
std::string to_upper_ascii(std::string_view text);
std::string trim_blanks(std::string_view text);
std::string trim_trailing_blanks(std::string_view text);
// Position (0-based) of the first occurrence of `needle`, ignoring ASCII
// letter case, or std::string_view::npos.
size_t find_ignore_case(std::string_view haystack, std::string_view needle);
bool contains_ignore_case(std::string_view haystack, std::string_view needle);
bool equals_ignore_case(std::string_view a, std::string_view b);
// A hash of the bytes of `name`, ASCII letters lower-cased when
// `ignore_case`: then every letter case of a name hashes alike. Only for use
// within one process: it is never written anywhere.
uint64_t name_hash(std::string_view name, bool ignore_case);

}  // namespace korvel
