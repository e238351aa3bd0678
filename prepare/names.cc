#include "prepare/names.h"

#include "shell/text.h"

namespace {
bool is_letter_or_digit(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
}  // namespace

int document_marks(std::string_view line) {
  return (contains_ignore_case(line, ".txt") ? 1 : 0) + (contains_ignore_case(line, ".htm") ? 1 : 0);
}

size_t extension_position(std::string_view listed) {
  size_t at = find_ignore_case(listed, ".txt");
  if (at == std::string_view::npos) at = find_ignore_case(listed, ".htm");
  return at;
}

std::string clean_stem(std::string_view stem) {
  std::string out(stem);
  for (char& c : out)
    if (!is_letter_or_digit(static_cast<unsigned char>(c))) c = '_';
  return out;
}

std::string clean_tail(std::string_view tail) {
  std::string out(tail);
  for (char& c : out)
    if (!is_letter_or_digit(static_cast<unsigned char>(c)) && c != '.' && c != '_') c = '_';
  return out;
}

std::string new_name(std::string_view listed, int number) {
  size_t at = extension_position(listed);
  std::string name = clean_stem(trim_blanks(listed.substr(0, at)));
  if (number >= 2) name.append("_").append(std::to_string(number));
  name += clean_tail(listed.substr(at));
  if (to_lower_ascii(name.substr(0, 5)) == "page_") name.insert(0, "file_");
  return name;
}

std::string unique_new_name(std::string_view listed, TakenNames& taken) {
  // A name never clashes with itself: set one copy of it aside while looking.
  std::string own = to_lower_ascii(listed);
  auto it = taken.find(own);
  if (it != taken.end()) taken.erase(it);
  std::string name = new_name(listed);
  for (int number = 2; taken.count(to_lower_ascii(name)) > 0; ++number)
    name = new_name(listed, number);
  taken.insert(own);
  taken.insert(to_lower_ascii(name));
  return name;
}

bool is_program_file(std::string_view name, std::string_view program_name) {
  std::string lower = to_lower_ascii(name);
  return lower == to_lower_ascii(program_name) || lower == "korvel" || lower == "korvel.exe" ||
         lower == "wget.exe" || lower == "convertcp.exe" ||
         (lower.starts_with("velmor_") && lower.ends_with(".exe"));
}

bool is_quotable(std::string_view name) {
  for (unsigned char c : name)
    if (c == '"' || c < 0x20) return false;
  return true;
}

bool holds_wildcard(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

std::string file_name_of(std::string_view path) {
  size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::optional<std::string> base_name(std::string_view listed) {
  std::string name = trim_blanks(listed);
  size_t at = find_ignore_case(name, ".htm");
  if (at == std::string::npos) at = find_ignore_case(name, ".txt");
  if (at == std::string::npos) return std::nullopt;
  return name.substr(0, at);
}
