#include "korvel/prepare/line_break_names.h"

#include <cstring>

#include "korvel/interp/listing.h"
#include "korvel/shell/native_path.h"

namespace korvel {

// Through the interpreter's listing, which sees txt_in as dir does.
std::vector<std::string> names_with_line_breaks() {
  std::vector<std::string> names;
  for (Entry entry : list_folder(native_path("txt_in")))
    if (std::memchr(entry.name.data(), '\n', entry.name.size()) ||
        std::memchr(entry.name.data(), '\r', entry.name.size()))
      names.emplace_back(entry.name);
  return names;
}

}  // namespace korvel
