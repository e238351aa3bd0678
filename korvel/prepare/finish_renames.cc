#include "korvel/prepare/finish_renames.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "korvel/console/console.h"
#include "korvel/console/prompts.h"
#include "korvel/prepare/local_files.h"
#include "korvel/prepare/names.h"
#include "korvel/prepare/renames_journal.h"
#include "korvel/shell/native_path.h"
#include "korvel/shell/run_shell.h"

namespace korvel {

namespace fs = std::filesystem;

namespace {

// A name for a document put back into txt_in that no file there has in any
// letter case: its own, else its numbered new names.
std::string free_name_in_txt_in(const std::string& name) {
  auto taken = [](const std::string& candidate) {
    return kind_of(native_path("txt_in\\" + candidate)) != FileKind::kMissing;
  };
  if (!taken(name)) return name;
  for (int number = 2;; ++number) {
    std::string candidate = new_name(name, number);
    if (!is_addressable(candidate)) return {};
    if (!taken(candidate)) return candidate;
  }
}

enum class Outcome { kNothingToDo, kFinished, kPutBack, kNotPutBack, kLost };

Outcome finish(const Rename& rename) {
  std::string old_path = txt_in_file(rename.from), new_path = txt_in_file(rename.to);
  FileKind old_kind = kind_of(old_path), new_kind = kind_of(new_path);
  // Both names hold the document: the old one was about to go.
  if (old_kind == FileKind::kRegular && new_kind == FileKind::kRegular) {
    if (!same_content(old_path, new_path)) return Outcome::kNothingToDo;  // the user's own doing: keep both
    std::error_code ec;
    fs::remove(old_path, ec);
    return ec ? Outcome::kNothingToDo : Outcome::kFinished;
  }
  if (old_kind != FileKind::kMissing || new_kind != FileKind::kMissing) return Outcome::kNothingToDo;
  // Neither: only the copy in the working folder is left. It goes back,
  // never onto a file that is in txt_in now.
  if (!is_addressable(rename.from)) return Outcome::kLost;
  std::string copy = native_path(rename.from);
  if (regular_file_size(copy) != rename.size) return Outcome::kLost;
  std::string target = free_name_in_txt_in(rename.from);
  if (target.empty()) return Outcome::kNotPutBack;
  run_shell("copy \"" + rename.from + "\" \"txt_in\\" + target + "\" > out_null.list");
  return same_content(copy, txt_in_file(target)) ? Outcome::kPutBack : Outcome::kNotPutBack;
}

}  // namespace

void finish_unfinished_renames() {
  std::optional<std::vector<Rename>> renames = read_renames_journal();
  int finished = 0, put_back = 0, not_put_back = 0;
  for (const Rename& rename : renames.value_or(std::vector<Rename>{})) {
    switch (finish(rename)) {
      case Outcome::kFinished: ++finished; break;
      case Outcome::kPutBack: ++put_back; break;
      case Outcome::kNotPutBack:
        ++not_put_back;
        print_error_line("txt_in\\" + shown_name(rename.from) +
                         " of an unfinished run cannot be put back into txt_in; it is kept in the working folder.");
        break;
      case Outcome::kLost:
        print_error_line("txt_in\\" + shown_name(rename.from) +
                         " of an unfinished run is found neither in txt_in nor in the working folder.");
        break;
      case Outcome::kNothingToDo: break;
    }
  }
  if (finished + put_back > 0)
    print_error_line("An unfinished run was completed: " + std::to_string(put_back) +
                     " document(s) put back into txt_in, " + std::to_string(finished) + " rename(s) finished.");
  // The journal stays while a document lives only in the working folder, and
  // this run goes no further, so that the next one tries again.
  if (not_put_back > 0) {
    print_line("----------------------------");
    print_line("Documents of an unfinished run could not be put back into txt_in.");
    print_empty_line();
    any_key_stop();
  }
  // A journal cut short was being written when its run died: nothing had
  // been renamed yet.
  std::error_code ec;
  fs::remove(native_path(kRenamesJournal), ec);
}

}  // namespace korvel
