// dir: bare and full folder listings.
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include "korvel/base/text.h"
#include "korvel/interp/commands.h"
#include "korvel/interp/listing.h"
#include "korvel/interp/output.h"
#include "korvel/interp/path.h"
#include "korvel/interp/pattern.h"

namespace korvel {

namespace {
// 1234567 -> "1,234,567", as cmd groups sizes.
std::string grouped(unsigned long long number) {
  std::string digits = std::to_string(number);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
  return out;
}

std::string pad_left(std::string text, size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string date_and_time(time_t when) {
  struct tm local;
  localtime_r(&when, &local);
  char buffer[32];
  strftime(buffer, sizeof buffer, "%Y-%m-%d  %H:%M", &local);
  return buffer;
}

void full_listing(const std::string& folder, const Entries& entries, bool dots_match, std::string_view pattern) {
  out_line(" Directory of " + absolute_path(folder));
  out_line("");
  unsigned long long files = 0, dirs = 0, bytes = 0;
  auto entry_line = [&](std::string_view name) {
    struct stat st;
    if (stat(join_path(folder, name).c_str(), &st) != 0) return;
    if (S_ISDIR(st.st_mode)) {
      out_line(date_and_time(st.st_mtime) + "    <DIR>          " + std::string(name));
      ++dirs;
    } else {
      out_line(date_and_time(st.st_mtime) + " " + pad_left(grouped(st.st_size), 17) + " " + std::string(name));
      ++files;
      bytes += st.st_size;
    }
  };
  if (dots_match) {
    if (name_matches(pattern, ".")) entry_line(".");
    if (name_matches(pattern, "..")) entry_line("..");
  }
  for (const Entry& entry : entries) entry_line(entry.name);
  if (files + dirs == 0) return;
  struct statvfs fs;
  unsigned long long free_bytes = statvfs(folder.c_str(), &fs) == 0 ? 1ULL * fs.f_bavail * fs.f_frsize : 0;
  out_line(pad_left(std::to_string(files), 16) + " File(s) " + pad_left(grouped(bytes), 14) + " bytes");
  out_line(pad_left(std::to_string(dirs), 16) + " Dir(s) " + pad_left(grouped(free_bytes), 15) + " bytes free");
}

void list_one(std::string_view target, bool bare) {
  FolderAndName parts = split_last(target);
  std::string folder = resolve_folder(parts);
  std::string pattern(parts.name);
  if (!pattern.empty() && !has_wildcard(pattern)) {
    std::string whole = resolve_path(target);
    if (is_folder(whole)) {
      folder = whole;
      pattern = "*";
    }
  }
  if (pattern.empty()) pattern = "*";
  if (!is_folder(folder)) {
    err_line(parts.name.empty() ? kFileNotFound : kPathNotFound);
    return;
  }
  Entries entries = matching_entries(folder, pattern);
  bool dots = name_matches(pattern, ".");
  if (bare) {
    for (const Entry& entry : entries) out_line(entry.name);
  } else {
    full_listing(folder, entries, dots, pattern);
  }
  if (entries.empty() && (bare || !dots)) err_line("File Not Found");
}
}  // namespace

void dir_command(std::span<const Word> args) {
  bool bare = false;
  std::vector<std::string> targets;
  for (const Word& word : args) {
    std::string text = to_lower_ascii(word.text);
    if (!is_switch(word)) targets.push_back(word.text);
    else if (text == "/b") bare = true;
    else if (text.starts_with("/o")) continue;  // the listing is in name order anyway
    else return invalid_switch(word);
  }
  if (targets.empty()) targets.push_back("");
  for (const std::string& target : targets) list_one(target, bare);
}

}  // namespace korvel
