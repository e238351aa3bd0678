// del /q: deletes the matching files of one folder, never its subfolders.
#include "korvel/base/text.h"
#include "korvel/interp/commands.h"
#include "korvel/interp/folder_changes.h"
#include "korvel/interp/listing.h"
#include "korvel/interp/output.h"
#include "korvel/interp/path.h"
#include "korvel/interp/pattern.h"

namespace korvel {

namespace {
void delete_matches(std::string_view target) {
  FolderAndName parts = split_last(target);
  std::string pattern(parts.name.empty() ? "*" : parts.name);
  std::string folder;
  bool folder_found = false;
  if (!has_wildcard(pattern)) {
    std::string whole = resolve_path(target);
    if (is_folder(whole)) {  // "del folder" empties the folder
      folder = whole;
      pattern = "*";
    } else if (!parts.name.empty() && whole == as_written(target) && path_exists(whole)) {
      folder = split_last(whole).folder;  // there as written, and so is its folder
      if (folder.empty()) folder = parts.rooted ? "/" : ".";
      folder_found = true;
    }
  }
  if (folder.empty()) folder = resolve_folder(parts);
  if (!folder_found && !is_folder(folder)) return err_line(kPathNotFound);
  int deleted = 0;
  for (const Entry& entry : matching_entries(folder, pattern)) {
    if (entry.is_folder) continue;
    if (remove_file(join_path(folder, entry.name))) ++deleted;
    else err_line(absolute_path(join_path(folder, entry.name)) + ": Access is denied.");
  }
  if (deleted == 0) err_line("Could Not Find " + join_path(absolute_path(folder), pattern));
}
}  // namespace

void del_command(std::span<const Word> args) {
  std::vector<std::string> targets;
  for (const Word& word : args) {
    if (!is_switch(word)) {
      targets.push_back(word.text);
      continue;
    }
    std::string text = to_lower_ascii(word.text);
    if (text != "/q" && text != "/f") return invalid_switch(word);
  }
  if (targets.empty()) return err_line(kSyntaxError);
  for (const std::string& target : targets) delete_matches(target);
}

}  // namespace korvel
