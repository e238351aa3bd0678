#include "korvel/prepare/folder_listing.h"

#include <string>

#include "korvel/base/text.h"
#include "korvel/console/console.h"
#include "korvel/console/prompts.h"
#include "korvel/prepare/local_files.h"
#include "korvel/shell/file_layer.h"
#include "korvel/shell/native_path.h"

namespace korvel {

bool line_names_folder(std::string_view line, std::string_view folder, bool full_listing) {
  std::string text = to_lower_ascii(trim_blanks(line));
  if (text == folder) return true;
  return full_listing && text.size() > folder.size() && text.ends_with(folder) &&
         text[text.size() - folder.size() - 1] == ' ';
}

bool listing_names_folder(std::string_view list_path, std::string_view folder, bool full_listing) {
  bool found = false;
  int handle = free_handle();
  open_input(list_path, handle);
  while (!found && !at_end(handle)) found = line_names_folder(read_line(handle), folder, full_listing);
  close_file(handle);
  return found;
}

bool is_folder(std::string_view path) { return kind_of(native_path(path)) == FileKind::kFolder; }

void stop_for_missing_folder(std::string_view folder) {
  print_empty_line();
  print_line("----------------------------");
  print_line("Subfolder " + std::string(folder) + " must be created.");
  print_empty_line();
  any_key_stop();
}

}  // namespace korvel
