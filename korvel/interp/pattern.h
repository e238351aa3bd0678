#pragma once
// Wildcard names as cmd matches them on NTFS: letter case ignored, "*." for
// names without a dot, "x.*" also for names without a dot, and every pattern
// tried against the short 8.3 name too, so "*.htm" finds index.html.
#include <string>
#include <string_view>

namespace korvel {

bool has_wildcard(std::string_view pattern);
// Plain * and ? matching, ASCII letter case ignored.
bool wildcard_match(std::string_view pattern, std::string_view name);
bool is_short_name(std::string_view name);
// The short name NTFS would give a long one, e.g. "My Notes.html" -> "MYNOTE~1.HTM".
std::string short_name(std::string_view name);
bool name_matches(std::string_view pattern, std::string_view name);
// Whether `pattern` matches every name there is ("*", "*.*").
bool matches_every_name(std::string_view pattern);
// NTFS listing order: names compared byte by byte with ASCII letters upper-cased.
bool listing_before(std::string_view a, std::string_view b);

}  // namespace korvel
