#include "korvel/interp/parse.h"

#include <algorithm>
#include <cstring>

namespace korvel {

namespace {
bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The place of the first `c` in `line` from `from` on, or the line's length.
size_t next_of(std::string_view line, char c, size_t from) {
  if (from >= line.size()) return line.size();
  const void* at = std::memchr(line.data() + from, c, line.size() - from);
  return at ? static_cast<size_t>(static_cast<const char*>(at) - line.data()) : line.size();
}
}  // namespace

std::vector<Word> split_words(std::string_view line) {
  std::vector<Word> words;
  words.reserve(4);  // a command and its operands, mostly
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && is_blank(line[i])) ++i;
    if (i == line.size()) break;
    Word word{"", false, i, i};
    bool in_quotes = false;
    while (i < line.size() && (in_quotes || !is_blank(line[i]))) {
      // The bytes up to the next quote, or outside quotes the next blank, go in one piece.
      size_t end = i;
      while (end < line.size() && line[end] != '"' && (in_quotes || !is_blank(line[end]))) ++end;
      word.text.append(line.substr(i, end - i));
      i = end;
      if (i < line.size() && line[i] == '"') {
        in_quotes = !in_quotes;
        word.quoted = true;
        ++i;
      }
    }
    word.end = i;
    words.push_back(std::move(word));
  }
  return words;
}

char refused_char(std::string_view line) {
  // Quotes matter only around one of these; most lines hold none.
  bool any = false;
  for (char c : {'&', '|', '<', '^'}) any = any || (!line.empty() && std::memchr(line.data(), c, line.size()));
  if (!any) return 0;
  bool in_quotes = false;
  for (char c : line) {
    if (c == '"') in_quotes = !in_quotes;
    else if (!in_quotes && (c == '&' || c == '|' || c == '<' || c == '^')) return c;
  }
  return 0;
}

bool cut_redirections(std::string_view line, std::string& command, Redirection& redirection) {
  command.clear();
  bool in_quotes = false;
  size_t i = 0;
  // The next quote and the next ">" from where the line is, each looked for
  // again only once passed.
  size_t quote = next_of(line, '"', 0), arrow = next_of(line, '>', 0);
  while (i < line.size()) {
    char c = line[i];
    if (c == '"') in_quotes = !in_quotes;
    if (in_quotes || c != '>') {
      // Up to the next quote or ">" in one piece.
      if (quote <= i) quote = next_of(line, '"', i + 1);
      if (arrow <= i) arrow = next_of(line, '>', i + 1);
      size_t end = std::min(quote, arrow);
      command.append(line.substr(i, end - i));
      i = end;
      continue;
    }
    redirection.append = i + 1 < line.size() && line[i + 1] == '>';
    i += redirection.append ? 2 : 1;
    while (i < line.size() && is_blank(line[i])) ++i;
    std::string target;
    bool target_quoted = false;
    while (i < line.size() && (target_quoted || (!is_blank(line[i]) && line[i] != '>'))) {
      if (line[i] == '"') target_quoted = !target_quoted;
      else target.push_back(line[i]);
      ++i;
    }
    if (target.empty()) return false;
    redirection.target = target;
    command.push_back(' ');
  }
  return true;
}

bool is_switch(const Word& word) { return !word.quoted && !word.text.empty() && word.text[0] == '/'; }

}  // namespace korvel
