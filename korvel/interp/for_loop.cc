// for %i in (set) do command
#include <string>

#include "korvel/base/text.h"
#include "korvel/interp/commands.h"
#include "korvel/interp/listing.h"
#include "korvel/interp/output.h"
#include "korvel/interp/path.h"
#include "korvel/interp/pattern.h"

namespace korvel {

namespace {
// A wildcard element stands for the matching files (not folders), keeping
// its folder part; any other element is taken as it is, as cmd does.
std::vector<std::string> expand_set(std::string_view set) {
  std::vector<std::string> values;
  for (const Word& element : split_words(set)) {
    if (!has_wildcard(element.text)) {
      values.push_back(element.text);
      continue;
    }
    FolderAndName parts = split_last(element.text);
    for (const Entry& entry : matching_entries(resolve_folder(parts), parts.name))
      if (!entry.is_folder) values.push_back(folder_prefix(parts) + std::string(entry.name));
  }
  return values;
}

std::string replace_all(std::string text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}
}  // namespace

void for_command(std::string_view line, const std::vector<Word>& words, CommandRunner run) {
  if (words.size() < 3 || words[1].text.size() < 2 || words[1].text[0] != '%' ||
      !equals_ignore_case(words[2].text, "in"))
    return err_line(kSyntaxError);
  std::string_view rest = line.substr(words[2].end);
  size_t open = rest.find('(');
  size_t close = rest.find(')', open == std::string_view::npos ? 0 : open);
  if (open == std::string_view::npos || close == std::string_view::npos ||
      rest.substr(0, open).find_first_not_of(" \t") != std::string_view::npos)
    return err_line(kSyntaxError);
  std::string_view after = rest.substr(close + 1);
  std::vector<Word> tail = split_words(after);
  if (tail.size() < 2 || !equals_ignore_case(tail[0].text, "do")) return err_line(kSyntaxError);
  std::string command(after.substr(tail[1].begin));
  for (const std::string& value : expand_set(rest.substr(open + 1, close - open - 1)))
    run(replace_all(command, words[1].text, value));
}

}  // namespace korvel
