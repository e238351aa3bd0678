#include "prepare/line_break_names.h"

#include <dirent.h>
#include <cstring>

#include "shell/native_path.h"

// readdir() rather than a directory_iterator: this pass runs over every name
// of txt_in, and the iterator builds a whole path for each.
std::vector<std::string> names_with_line_breaks() {
  std::vector<std::string> names;
  DIR* dir = opendir(native_path("txt_in").c_str());
  if (!dir) return names;
  while (dirent* entry = readdir(dir))
    if (std::strpbrk(entry->d_name, "\r\n")) names.emplace_back(entry->d_name);
  closedir(dir);
  return names;
}
