#include "korvel/handoff/indexer_identity.h"

#include <map>
#include <string>

#include "korvel/base/text.h"
#include "korvel/base/work_files.h"
#include "korvel/handoff/file_identity.h"
#include "korvel/shell/file_layer.h"
#include "korvel/shell/native_path.h"

namespace korvel {

namespace {
std::map<std::string, FileIdentity> remembered;  // by lower-cased name
}

void remember_indexers() {
  remembered.clear();
  int handle = free_handle();
  open_input(kExeFiles, handle);
  while (!at_end(handle)) {
    std::string name = trim_blanks(read_line(handle));
    if (std::optional<FileIdentity> identity = identity_of(native_path(name)))
      remembered[to_lower_ascii(name)] = *identity;
  }
  close_file(handle);
}

bool is_remembered_indexer(std::string_view name) {
  auto it = remembered.find(to_lower_ascii(name));
  return it != remembered.end() && identity_of(native_path(name)) == it->second;
}

}  // namespace korvel
