#include "prepare/renames_journal.h"

#include <algorithm>
#include <charconv>

#include "prepare/names.h"
#include "shell/file_layer.h"

namespace {
constexpr char kHex[] = "0123456789ABCDEF";
constexpr std::string_view kEnd = "end";

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool is_encoded_in_journal(unsigned char c) { return c < 0x20 || c == 0x7f || c == '%'; }
}  // namespace

std::string journal_field(std::string_view name) {
  if (std::none_of(name.begin(), name.end(), [](char c) { return is_encoded_in_journal(static_cast<unsigned char>(c)); }))
    return std::string(name);
  std::string out;
  for (unsigned char c : name) {
    if (is_encoded_in_journal(c)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::optional<std::string> name_of_field(std::string_view field) {
  if (field.find('%') == std::string_view::npos) {
    if (field.empty()) return std::nullopt;
    return std::string(field);
  }
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '%') {
      out += field[i];
      continue;
    }
    if (i + 2 >= field.size()) return std::nullopt;
    int high = hex_value(field[i + 1]), low = hex_value(field[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  if (out.empty()) return std::nullopt;
  return out;
}

std::string journal_line(const Rename& rename) {
  std::string line = journal_field(rename.from);
  line += '\t';
  line += journal_field(rename.to);
  line += '\t';
  line += std::to_string(rename.size);
  return line;
}

std::optional<Rename> rename_of_line(std::string_view line) {
  size_t first = line.find('\t');
  if (first == std::string_view::npos) return std::nullopt;
  size_t second = line.find('\t', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  std::optional<std::string> from = name_of_field(line.substr(0, first));
  std::optional<std::string> to = name_of_field(line.substr(first + 1, second - first - 1));
  std::string_view digits = line.substr(second + 1);
  Rename rename;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), rename.size);
  if (!from || !to || error != std::errc() || end != digits.data() + digits.size() || digits.empty())
    return std::nullopt;
  rename.from = *from;
  rename.to = *to;
  return rename;
}

namespace {
// Hands each rename of the journal to `each`; false when there is no
// journal or only part of one.
bool each_journal_rename(const std::function<void(Rename&&)>& each) {
  int handle = free_handle();
  open_input(kRenamesJournal, handle);
  if (!is_open(handle)) return false;
  bool ended = false, whole = true;
  while (!at_end(handle)) {
    std::string line = read_line(handle);
    if (ended) whole = false;
    if (line == kEnd) {
      ended = true;
      continue;
    }
    std::optional<Rename> rename = rename_of_line(line);
    if (rename) each(std::move(*rename));
    else whole = false;
  }
  close_file(handle);
  return ended && whole;
}

}  // namespace

std::optional<std::vector<Rename>> read_renames_journal() {
  std::vector<Rename> renames;
  if (!each_journal_rename([&](Rename&& rename) { renames.push_back(std::move(rename)); })) return std::nullopt;
  return renames;
}

bool write_renames_journal(size_t count, const std::function<Rename(size_t)>& rename_at) {
  int handle = free_handle();
  open_output(kRenamesJournal, handle);
  for (size_t i = 0; i < count; ++i) write_line(handle, journal_line(rename_at(i)));
  write_line(handle, kEnd);
  close_file(handle);
  size_t back = 0;
  return each_journal_rename([&](Rename&&) { ++back; }) && back == count;
}
