// md and rd.
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "korvel/interp/commands.h"
#include "korvel/interp/folder_changes.h"
#include "korvel/interp/output.h"
#include "korvel/interp/path.h"

namespace korvel {

namespace {
// Makes every missing folder along `native`, like mkdir -p.
bool make_folders(const std::string& native) {
  for (size_t i = 1; i <= native.size(); ++i) {
    if (i < native.size() && native[i] != '/') continue;
    std::string prefix = native.substr(0, i);
    if (!make_folder(prefix) && errno != EEXIST) return false;
  }
  return is_folder(native);
}
}  // namespace

void md_command(std::span<const Word> args) {
  if (args.empty()) return err_line(kSyntaxError);
  for (const Word& word : args) {
    if (is_switch(word)) return invalid_switch(word);
    std::string native = resolve_path(word.text);
    if (path_exists(native)) err_line("A subdirectory or file " + word.text + " already exists.");
    else if (!make_folders(native)) err_line(kPathNotFound);
  }
}

void rd_command(std::span<const Word> args) {
  if (args.empty()) return err_line(kSyntaxError);
  for (const Word& word : args) {
    if (is_switch(word)) return invalid_switch(word);
    std::string native = resolve_path(word.text);
    if (!path_exists(native)) err_line(kFileNotFound);
    else if (!is_folder(native)) err_line("The directory name is invalid.");
    else if (!remove_folder(native))
      err_line(errno == ENOTEMPTY || errno == EEXIST ? "The directory is not empty." : "Access is denied.");
  }
}

}  // namespace korvel
