#include "korvel/prepare/names.h"

#include <cstdint>

#include "korvel/base/text.h"

namespace korvel {

namespace {
bool is_letter_or_digit(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The part of a name before its first dot, lower-cased, names a device on
// Windows: "con.txt" is the console there, whatever follows.
bool names_device(std::string_view name) {
  std::string_view before_dot = name.substr(0, name.find('.'));
  while (!before_dot.empty() && before_dot.back() == ' ') before_dot.remove_suffix(1);
  if (before_dot.size() > 7) return false;  // longer than "conout$": asked of every name, most of them long
  std::string stem = to_lower_ascii(before_dot);
  if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul" || stem == "conin$" || stem == "conout$")
    return true;
  return stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) && stem[3] >= '0' && stem[3] <= '9';
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
  // Windows drops dots at the end of a name, and takes con.txt for the
  // console: neither may come out of the rules.
  while (!name.empty() && name.back() == '.') name.back() = '_';
  if (to_lower_ascii(name.substr(0, 5)) == "page_" || names_device(name)) name.insert(0, "file_");
  return name;
}

std::string unique_new_name(std::string_view listed, TakenNames& taken) {
  // A name never clashes with itself: one of the names taken may be its own.
  size_t own = taken.contains(listed) ? 1 : 0;
  std::string name = new_name(listed);
  for (int number = 2; taken.count(name) > (equals_ignore_case(name, listed) ? own : 0); ++number)
    name = new_name(listed, number);
  if (own == 0) taken.insert(listed);
  if (name != listed) taken.insert(name);  // a name kept as it is was taken already
  return name;
}

namespace {
// An extension of up to three bytes as one number, its letters small: one
// compare per program ending instead of one per byte.
constexpr uint32_t extension_key(std::string_view extension) {
  uint32_t key = 0;
  for (size_t i = 0; i < extension.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(extension[i]);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    key |= uint32_t{c} << (8 * i);
  }
  return key;
}
}  // namespace

bool is_program_file(std::string_view name, std::string_view program_name) {
  // Every ending below is an extension of two or three letters: only the
  // part after the last dot is compared, and only when that short.
  size_t dot = name.rfind('.');
  std::string_view extension = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
  if (equals_ignore_case(name, program_name) || equals_ignore_case(name, "korvel") ||
      equals_ignore_case(name, "wget.exe") || equals_ignore_case(name, "convertcp.exe") ||
      (equals_ignore_case(extension, "exe") && name.size() >= 7 && equals_ignore_case(name.substr(0, 7), "velmor_")))
    return true;
  if (extension.size() < 2 || extension.size() > 3) return false;
  static constexpr uint32_t kPrograms[] = {
      extension_key("exe"), extension_key("com"), extension_key("bat"), extension_key("cmd"), extension_key("dll"),
      extension_key("scr"), extension_key("pif"), extension_key("cpl"), extension_key("msi"), extension_key("msc"),
      extension_key("vbs"), extension_key("vbe"), extension_key("js"),  extension_key("jse"), extension_key("wsf"),
      extension_key("wsh"), extension_key("ps1"), extension_key("lnk"), extension_key("sys"), extension_key("ocx")};
  uint32_t key = extension_key(extension);
  for (uint32_t program : kPrograms)
    if (key == program) return true;
  return false;
}

namespace {
bool starts_with_ignore_case(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && equals_ignore_case(text.substr(0, start.size()), start);
}

// Whether "<prefix>*.<extension>" matches the name, or the short name that
// Windows gives it: blanks and the dots before the last one left out,
// "+,;=[]" as "_", and the extension cut to three letters, so that
// "check x+.a.txt2" is found as CHECKX~1.TXT and "ch eck_1.txt" as
// CHECK_~1.TXT.
bool matches_pattern(std::string_view name, std::string_view prefix, std::string_view extension) {
  size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string stem, tail;
  for (size_t i = 0; i < name.size(); ++i) {
    char c = name[i];
    if (c == ' ' || (c == '.' && i != dot) || i == dot) continue;
    if (c == '+' || c == ',' || c == ';' || c == '=' || c == '[' || c == ']') c = '_';
    (i < dot ? stem : tail) += c;
  }
  return starts_with_ignore_case(stem, prefix) && starts_with_ignore_case(tail, extension);
}

// The folders the stages make, clear or look for in the working folder.
bool names_working_folder(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  for (std::string_view folder : {"txt_wrk", "htm_wrk", "htm_in", "htm_out", "velmor"})
    if (equals_ignore_case(stem, folder)) return true;
  return false;
}
}  // namespace

std::string_view reserved_working_name(std::string_view name) {
  if (is_scratch_file(name) || is_state_file(name)) return "korvel writes a file of that name in the working folder";
  if (matches_pattern(name, "check_", "txt")) return "korvel deletes the files named check_*.txt in the working folder";
  if (matches_pattern(name, "compare_0", "txt") ||
      (name.size() >= 5 && equals_ignore_case(name.substr(name.size() - 5), ".list")))
    return "korvel writes files of such names in the working folder";
  if (names_working_folder(name)) return "korvel makes a folder of that name in the working folder";
  return {};
}

bool is_addressable(std::string_view name) {
  if (name.empty() || name.size() > 200) return false;
  if (name.front() == ' ' || name.back() == ' ' || name.back() == '.') return false;
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7f) return false;
    switch (c) {
      case '*':
      case '?':
      case '"':
      case '\\':
      case '/':
      case '%':
      case '!':
      case '~': return false;
      default: break;
    }
  }
  return !names_device(name);
}

std::string shown_name(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7f) {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

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

bool same_base_name(const std::optional<std::string>& a, const std::optional<std::string>& b) {
  return a && b && equals_ignore_case(*a, *b);
}

}  // namespace korvel
