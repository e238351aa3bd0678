#include "indexer/read/html_prefilter.h"

#include <algorithm>

namespace velmor {

namespace {

struct Entity {
  std::string_view name, text;
};

constexpr Entity kEntities[] = {
#include "indexer/read/html5_entities.inc"
};

constexpr size_t kLongestName = 31;  // "CounterClockwiseContourIntegral"

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool is_alnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
// What the parser takes into a name after its first letter.
bool is_name_char(char c) { return is_alnum(c) || c == ':' || c == '-' || c == '_' || c == '.'; }

bool starts_with_lower(std::string_view s, std::string_view lower_word) {
  if (s.size() < lower_word.size()) return false;
  for (size_t i = 0; i < lower_word.size(); ++i)
    if (lower(s[i]) != lower_word[i]) return false;
  return true;
}

std::string_view entity_text(std::string_view name) {
  const Entity* end = std::end(kEntities);
  const Entity* e = std::lower_bound(std::begin(kEntities), end, name,
                                     [](const Entity& a, std::string_view n) { return a.name < n; });
  return e != end && e->name == name ? e->text : std::string_view();
}

}  // namespace

void HtmlPrefilter::feed(std::string_view piece, bool last, std::string& out) {
  std::string joined;
  std::string_view s = piece;
  if (!held_.empty()) {
    joined = std::move(held_);
    held_.clear();
    joined.append(piece);
    s = joined;
  }
  size_t i = 0;
  while (true) {
    const size_t at = s.find_first_of(std::string_view("<&\0", 3), i);
    out.append(s.substr(i, at == std::string_view::npos ? std::string_view::npos : at - i));
    if (at == std::string_view::npos) return;
    const std::string_view rest = s.substr(at);
    if (rest[0] == '\0') {
      i = at + 1;
      continue;
    }
    // Enough bytes to decide, unless the page ends first.
    const size_t need = rest[0] == '<' ? 7 : kLongestName + 2;
    if (!last && rest.size() < need) {
      held_ = rest;
      return;
    }
    if (rest[0] == '<') {
      if (starts_with_lower(rest, "</html") || starts_with_lower(rest, "</body")) {
        if (rest.size() == 6 || !is_name_char(rest[6])) {
          out += "</_";
          i = at + 2;
          continue;
        }
      } else if (starts_with_lower(rest, "</br") && (rest.size() == 4 || !is_name_char(rest[4]))) {
        out += '<';
        i = at + 2;
        continue;
      }
      out += '<';
      i = at + 1;
      continue;
    }
    // "&name;" of HTML5's own.
    size_t n = 1;
    while (n < rest.size() && n <= kLongestName + 1 && is_alnum(rest[n])) ++n;
    if (n > 1 && n < rest.size() && rest[n] == ';') {
      const std::string_view text = entity_text(rest.substr(1, n - 1));
      if (!text.empty()) {
        for (char c : text) {
          if (c == '&') out += "&amp;";
          else if (c == '<') out += "&lt;";
          else out += c;
        }
        i = at + n + 1;
        continue;
      }
    }
    out += '&';
    i = at + 1;
  }
}

}  // namespace velmor
