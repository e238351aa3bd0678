#include "korvel/base/work_files.h"

#include "korvel/base/text.h"

namespace korvel {

namespace {
bool in_table(std::string_view name, bool state) {
  for (const WorkFile& file : kWorkFiles)
    if (file.state == state && equals_ignore_case(name, file.name)) return true;
  return false;
}
}  // namespace

bool is_scratch_file(std::string_view name) { return in_table(name, false); }
bool is_state_file(std::string_view name) { return in_table(name, true); }

}  // namespace korvel
