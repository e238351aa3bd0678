#include "korvel/prepare/line_break_names.h"

#include <filesystem>
#include <system_error>

#include "korvel/shell/native_path.h"

namespace korvel {

namespace fs = std::filesystem;

std::vector<std::string> names_with_line_breaks() {
  std::vector<std::string> names;
  std::error_code ec;
  // Looked for in the whole path first, which costs no copy of the name.
  const wchar_t line_breaks[] = {L'\r', L'\n', 0};
  for (const fs::directory_entry& entry : fs::directory_iterator(native_path("txt_in"), ec)) {
    if (entry.path().native().find_first_of(line_breaks) == fs::path::string_type::npos) continue;
    std::string name = entry.path().filename().string();
    if (name.find_first_of("\r\n") != std::string::npos) names.push_back(name);
  }
  return names;
}

}  // namespace korvel
