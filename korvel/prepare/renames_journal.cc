#include "korvel/prepare/renames_journal.h"

#include <algorithm>
#include <charconv>

#include "korvel/prepare/names.h"
#include "korvel/shell/file_layer.h"

namespace korvel {

namespace {
constexpr char kHex[] = "0123456789ABCDEF";
constexpr std::string_view kEnd = "end";

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool is_encoded_in_journal(unsigned char c) { return c < 0x20 || c == 0x7f || c == '%'; }

// Appends `name` as one field of a journal line.
void append_field(std::string& out, std::string_view name) {
  if (std::none_of(name.begin(), name.end(),
                   [](char c) { return is_encoded_in_journal(static_cast<unsigned char>(c)); })) {
    out.append(name);
    return;
  }
  for (unsigned char c : name) {
    if (is_encoded_in_journal(c)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
}

void append_line(std::string& out, std::string_view from, std::string_view to, std::uintmax_t size) {
  append_field(out, from);
  out += '\t';
  append_field(out, to);
  out += '\t';
  char digits[24];
  out.append(digits, std::to_chars(digits, digits + sizeof digits, size).ptr);
}

// Decodes a field into `name` when one is given: the journal is read back
// whole after writing only to see that it is, and then nothing is kept.
// False for a field no journal holds.
bool decode_field(std::string_view field, std::string* name) {
  if (field.empty()) return false;
  if (field.find('%') == std::string_view::npos) {
    if (name) name->assign(field);
    return true;
  }
  if (name) name->clear();
  for (size_t i = 0; i < field.size(); ++i) {
    char c = field[i];
    if (c == '%') {
      if (i + 2 >= field.size()) return false;
      int high = hex_value(field[i + 1]), low = hex_value(field[i + 2]);
      if (high < 0 || low < 0) return false;
      c = static_cast<char>(high * 16 + low);
      i += 2;
    }
    if (name) *name += c;
  }
  return true;
}

// A line's two names (decoded into `from` and `to` when given) and size;
// false when it is no rename line.
bool parse_line(std::string_view line, std::string* from, std::string* to, std::uintmax_t& size) {
  size_t first = line.find('\t');
  if (first == std::string_view::npos) return false;
  size_t second = line.find('\t', first + 1);
  if (second == std::string_view::npos) return false;
  std::string_view digits = line.substr(second + 1);
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), size);
  return !digits.empty() && error == std::errc() && end == digits.data() + digits.size() &&
         decode_field(line.substr(0, first), from) && decode_field(line.substr(first + 1, second - first - 1), to);
}
}  // namespace

std::string journal_field(std::string_view name) {
  std::string out;
  append_field(out, name);
  return out;
}

std::optional<std::string> name_of_field(std::string_view field) {
  std::string name;
  if (!decode_field(field, &name)) return std::nullopt;
  return name;
}

std::string journal_line(const Rename& rename) {
  std::string line;
  append_line(line, rename.from, rename.to, rename.size);
  return line;
}

std::optional<Rename> rename_of_line(std::string_view line) {
  Rename rename;
  if (!parse_line(line, &rename.from, &rename.to, rename.size)) return std::nullopt;
  return rename;
}

namespace {
// Hands each line of the journal before "end" to `each`, which says whether
// it is a rename line; false when there is no journal or only part of one.
bool each_journal_line(const std::function<bool(std::string_view)>& each) {
  int handle = free_handle();
  open_input(kRenamesJournal, handle);
  if (!is_open(handle)) return false;
  bool ended = false, whole = true;
  std::string line;
  while (!at_end(handle)) {
    read_line(handle, line);
    if (ended) whole = false;
    if (line == kEnd) {
      ended = true;
      continue;
    }
    if (!each(line)) whole = false;
  }
  close_file(handle);
  return ended && whole;
}

}  // namespace

std::optional<std::vector<Rename>> read_renames_journal() {
  std::vector<Rename> renames;
  bool whole = each_journal_line([&](std::string_view line) {
    std::optional<Rename> rename = rename_of_line(line);
    if (rename) renames.push_back(std::move(*rename));
    return rename.has_value();
  });
  if (!whole) return std::nullopt;
  return renames;
}

bool write_renames_journal(size_t count, const std::function<Rename(size_t)>& rename_at) {
  int handle = free_handle();
  open_output(kRenamesJournal, handle);
  std::string line;
  for (size_t i = 0; i < count; ++i) {
    Rename rename = rename_at(i);
    line.clear();
    append_line(line, rename.from, rename.to, rename.size);
    write_line(handle, line);
  }
  write_line(handle, kEnd);
  close_file(handle);
  size_t back = 0;
  return each_journal_line([&](std::string_view line) {
           std::uintmax_t size = 0;
           bool rename = parse_line(line, nullptr, nullptr, size);
           back += rename ? 1 : 0;
           return rename;
         }) &&
         back == count;
}

}  // namespace korvel
