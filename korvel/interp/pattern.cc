#include "korvel/interp/pattern.h"

#include <cstring>

#include "korvel/base/text.h"

namespace korvel {

namespace {
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Characters a short name may not hold; NTFS puts "_" in their place.
bool short_name_forbidden(char c) { return std::string_view("+,;=[]").find(c) != std::string_view::npos; }

std::string short_part(std::string_view text, size_t keep) {
  std::string out;
  for (char c : text) {
    if (out.size() == keep) break;
    if (c == ' ' || c == '.') continue;
    out.push_back(short_name_forbidden(c) ? '_' : upper(c));
  }
  return out;
}
}  // namespace

bool has_wildcard(std::string_view pattern) {
  if (pattern.empty()) return false;  // its data() may be null, which memchr() must not get
  return std::memchr(pattern.data(), '*', pattern.size()) || std::memchr(pattern.data(), '?', pattern.size());
}

bool wildcard_match(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0;
  size_t star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || upper(pattern[p]) == upper(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool is_short_name(std::string_view name) {
  size_t dot = name.find('.');
  std::string_view stem = name.substr(0, dot);
  std::string_view ext = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
  if (stem.empty() || stem.size() > 8 || ext.size() > 3) return false;
  if (dot != std::string_view::npos && ext.empty()) return false;
  for (char c : name.substr(0, stem.size()))
    if (c == ' ' || short_name_forbidden(c)) return false;
  for (char c : ext)
    if (c == ' ' || c == '.' || short_name_forbidden(c)) return false;
  return true;
}

std::string short_name(std::string_view name) {
  size_t dot = name.rfind('.');
  if (dot == 0 || dot == std::string_view::npos) dot = name.size();
  std::string result = short_part(name.substr(0, dot), 6) + "~1";
  if (dot < name.size()) {
    std::string ext = short_part(name.substr(dot + 1), 3);
    if (!ext.empty()) result += "." + ext;
  }
  return result;
}

namespace {
// "*.txt" and the like: an ending of one to three plain characters.
bool is_extension_pattern(std::string_view pattern) {
  if (pattern.size() < 3 || pattern.size() > 5 || pattern[0] != '*' || pattern[1] != '.') return false;
  for (char c : pattern.substr(2))
    if (c == '*' || c == '?' || c == '.') return false;
  return true;
}

// What name_matches() decides for such a pattern, without making the short
// name: a long name matches by its ending; the short name, which a name that
// is not one already has, by its extension (the first three usable
// characters after the last dot: "index.html" matches "*.htm").
bool matches_extension(std::string_view pattern, std::string_view name) {
  std::string_view wanted = pattern.substr(1);  // ".txt"
  if (name.size() >= wanted.size() && equals_ignore_case(name.substr(name.size() - wanted.size()), wanted)) return true;
  if (is_short_name(name)) return false;
  size_t dot = name.rfind('.');
  if (dot == 0 || dot == std::string_view::npos) return false;
  char ext[3];
  size_t n = 0;
  for (char c : name.substr(dot + 1)) {
    if (n == 3) break;
    if (c == ' ' || c == '.') continue;
    ext[n++] = short_name_forbidden(c) ? '_' : upper(c);
  }
  if (n != wanted.size() - 1) return false;
  for (size_t i = 0; i < n; ++i)
    if (ext[i] != upper(wanted[i + 1])) return false;
  return true;
}
}  // namespace

// "*.*" too: a name without a dot matches it as "*".
bool matches_every_name(std::string_view pattern) { return pattern == "*" || pattern == "*.*"; }

bool name_matches(std::string_view pattern, std::string_view name) {
  if (name == "." || name == "..") return matches_every_name(pattern) || pattern == "*.";
  if (matches_every_name(pattern)) return true;
  if (is_extension_pattern(pattern)) return matches_extension(pattern, name);
  if (!pattern.empty() && pattern.back() == '.') {
    // A trailing dot asks for names without an extension.
    return name.find('.') == std::string_view::npos && wildcard_match(pattern.substr(0, pattern.size() - 1), name);
  }
  if (wildcard_match(pattern, name)) return true;
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" && name.find('.') == std::string_view::npos &&
      wildcard_match(pattern.substr(0, pattern.size() - 2), name))
    return true;
  return !is_short_name(name) && wildcard_match(pattern, short_name(name));
}

bool listing_before(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(upper(a[i]));
    unsigned char y = static_cast<unsigned char>(upper(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;  // names that differ in case only: a stable, repeatable order
}

}  // namespace korvel
