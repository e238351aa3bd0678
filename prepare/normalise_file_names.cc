#include "prepare/normalise_file_names.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "driver/run_sequence.h"
#include "prepare/names.h"
#include "shell/file_layer.h"
#include "shell/native_path.h"
#include "shell/run_shell.h"
#include "shell/text.h"

namespace fs = std::filesystem;

namespace {

// A file may leave txt_in only once its copy in the working folder is whole.
bool copy_arrived(const std::string& name) {
  std::error_code original_error, copy_error;
  uintmax_t original = fs::file_size(native_path("txt_in\\" + name), original_error);
  uintmax_t copy = fs::file_size(native_path(name), copy_error);
  return !original_error && !copy_error && original == copy;
}

// Moving a namesake of one of the program's files into the working folder
// would replace that file, and a new velmor_*.exe there would be taken for the
// indexer. A name that would end its own quotes must not reach a command.
bool must_stay(const std::string& name, const std::string& program) {
  if (!is_quotable(name) || is_program_file(name, program)) return true;
  return extension_position(name) != std::string::npos && is_program_file(new_name(name), program);
}

}  // namespace

void normalise_file_names() {
  run_shell("dir /b txt_in\\ > txt_in.list");
  // Read before anything moves: a file of txt_in named txt_in.list would
  // replace the list on its way into the working folder.
  std::vector<std::string> listed;
  int handle = free_handle();
  open_input("txt_in.list", handle);
  while (!at_end(handle)) listed.push_back(read_line(handle));
  close_file(handle);

  std::string program = file_name_of(invocation_path());
  std::vector<std::string> movable;
  bool some_stay = false;
  for (const std::string& name : listed) {
    if (must_stay(name, program))
      some_stay = true;
    else if (is_plain_file("txt_in\\" + name))
      movable.push_back(name);
  }

  // Move every file of txt_in into the working folder; subfolders stay. When
  // a file must stay, the wildcard copy would take it along, so the files are
  // then copied one by one.
  if (!some_stay) {
    run_shell("copy /y txt_in\\*.* > out_null.list");
  } else {
    for (const std::string& name : movable) run_shell("copy /y \"txt_in\\" + name + "\" > out_null.list");
  }
  std::vector<std::string> arrived;
  for (const std::string& name : movable)
    if (copy_arrived(name)) arrived.push_back(name);
  // When every file arrived and none has to stay, one delete empties txt_in
  // of files. Otherwise only the files that arrived go, one by one; a name
  // holding "*" or "?" is a pattern to del and may reach other files, so it
  // goes only when every file has arrived.
  bool all_arrived = arrived.size() == movable.size();
  std::vector<std::string> moved;
  if (all_arrived && !some_stay) {
    run_shell("del /q txt_in\\*.* > out_null.list");
    moved = arrived;
  } else {
    for (const std::string& name : arrived) {
      if (holds_wildcard(name) && !all_arrived) continue;
      run_shell("del /q \"txt_in\\" + name + "\" > out_null.list");
      moved.push_back(name);
    }
  }

  // Copy each document back under its new name. Other files stay only in the
  // working folder. No document may take a name that another file of txt_in
  // had or that an earlier document was given.
  TakenNames taken;
  for (const std::string& name : listed) taken.insert(to_lower_ascii(name));
  for (const std::string& old_name : moved) {
    if (extension_position(old_name) == std::string::npos) continue;
    std::string name = unique_new_name(old_name, taken);
    if (name != old_name) {
      run_shell("copy \"" + old_name + "\" \"" + name + "\" > out_null.list");
      run_shell("copy \"" + name + "\" \"txt_in\\" + name + "\" > out_null.list");
    } else {
      run_shell("copy \"" + old_name + "\" \"txt_in\\" + old_name + "\" > out_null.list");
    }
  }

  run_shell("dir /b txt_in\\ > txt_in.list");
}
