#include "korvel/prepare/normalise_file_names.h"

#include <string>
#include <vector>

#include "korvel/base/text.h"
#include "korvel/base/work_files.h"
#include "korvel/console/console.h"
#include "korvel/console/invocation.h"
#include "korvel/prepare/line_break_names.h"
#include "korvel/prepare/local_files.h"
#include "korvel/prepare/move_plan.h"
#include "korvel/prepare/moved_files.h"
#include "korvel/prepare/names.h"
#include "korvel/prepare/renames_journal.h"
#include "korvel/shell/file_layer.h"
#include "korvel/shell/native_path.h"
#include "korvel/shell/run_shell.h"

namespace korvel {

namespace {

void say_stays(std::string_view name, std::string_view why) {
  print_error_line("txt_in\\" + shown_name(name) + " stays in txt_in: " + std::string(why) + ".");
}

void list_txt_in() { run_shell("dir /b txt_in\\ > txt_in.list"); }

void read_list(std::string_view path, NameSet& names) {
  int handle = free_handle();
  open_input(path, handle);
  while (!at_end(handle)) names.insert(read_line(handle));
  close_file(handle);
}

// Renames by their place in moves, then in direct, written whole before the
// first of them; false when the journal cannot be written.
bool journal_renames(const MovePlan& plan, const NameSet& names, bool& any) {
  const std::vector<Move>& moves = plan.moves;
  auto move_at = [&](uint32_t at) -> const Move& {
    return at < moves.size() ? moves[at] : plan.direct[at - moves.size()];
  };
  std::vector<uint32_t> renames;
  for (uint32_t at = 0; at < moves.size() + plan.direct.size(); ++at)
    if (is_rename(move_at(at), names)) renames.push_back(at);
  any = !renames.empty();
  auto rename_at = [&](size_t i) {
    const Move& move = move_at(renames[i]);
    return Rename{std::string(names[move.name]), std::string(names[move.new_name]), move.size};
  };
  return renames.empty() || write_renames_journal(renames.size(), rename_at);
}

// A name that no command can carry is given its new one in txt_in itself.
void rename_in_place(const std::vector<Move>& direct, const NameSet& names, const std::string& txt_in) {
  for (const Move& move : direct) {
    std::string name(names[move.name]), new_name(names[move.new_name]);
    if (rename_without_replacing(file_in(txt_in, name), file_in(txt_in, new_name)))
      print_error_line("txt_in\\" + shown_name(name) + " is renamed " + new_name +
                       " in txt_in: its name cannot be used in a command.");
    else say_stays(name, "it cannot be renamed");
  }
}

// Copies every move into the working folder; then a file that is no
// document leaves txt_in, and a renamed document comes back under its new
// name before its old one goes.
void move_out(const MovePlan& plan, const NameSet& names, const std::string& txt_in) {
  const std::vector<Move>& moves = plan.moves;
  if (moves.size() == plan.files) {
    run_shell("copy /y txt_in\\*.* > out_null.list");
  } else {
    for (const Move& move : moves)
      run_shell("copy /y \"txt_in\\" + std::string(names[move.name]) + "\" > out_null.list");
  }
  for (const Move& move : moves) {
    std::string name(names[move.name]);
    if (move.new_name != Move::kNoName && !is_rename(move, names)) continue;  // the document is where it belongs
    std::string source = file_in(txt_in, name);
    // Each check offers what it learnt to the command that follows it.
    if (move.new_name == Move::kNoName) {
      // Every copy is written under exactly the name it was given, in the
      // working folder, which is the current one.
      if (!is_finished_copy(name, source, stamp_for_next_command(source))) {
        say_stays(name, "its copy in the working folder could not be made");
        continue;
      }
    } else {
      std::string new_name(names[move.new_name]);
      run_shell("copy \"" + name + "\" \"" + new_name + "\" > out_null.list");
      // A copy that failed leaves an older file of the new name as it was;
      // it must not go into txt_in as the document. Compared with the source
      // as planning found it: a source changed since fails unless its bytes
      // still match, and the check before the delete looks at it afresh.
      if (!is_finished_copy(new_name, source, {FileKind::kRegular, move.size, move.modified})) {
        say_stays(name, "its copy under the name " + new_name + " could not be made");
        continue;
      }
      run_shell("copy \"" + new_name + "\" \"txt_in\\" + new_name + "\" > out_null.list");
      if (!is_finished_copy(file_in(txt_in, new_name), source, stamp_for_next_command(source))) {
        say_stays(name, "its copy under the name " + new_name + " could not be made");
        continue;
      }
    }
    run_shell("del /q \"txt_in\\" + name + "\" > out_null.list");
  }
}

}  // namespace

// Every file of txt_in leaves a copy in the working folder; a file that is
// no document then leaves txt_in, and a document whose name changes comes
// back under the new one. No source goes before its copy is whole, and a
// document is back under its new name before its old name goes, so a run
// killed at any point leaves every document in txt_in.
void normalise_file_names() {
  list_txt_in();
  // Read before anything moves: a file of txt_in named txt_in.list would
  // replace the list on its way into the working folder. The same set then
  // takes the new names, so that none clashes with a listed one.
  NameSet names;
  read_list(kTxtInList, names);
  for (const std::string& name : names_with_line_breaks()) names.insert(name);
  const size_t listed = names.size();

  std::string txt_in = native_path("txt_in");
  MovedFiles moved = read_moved_files();
  WorkingFolderNames present;
  TxtInFacts facts{[&](std::string_view name) { return stamp_of(file_in(txt_in, name)); },
                   [&](std::string_view name, std::string_view source) {
                     return may_take_working_name(name, file_in(txt_in, source), moved, present);
                   }};
  MovePlan plan = plan_moves(names, listed, file_name_of(invocation_path()), facts);
  for (const Stay& stay : plan.stays) say_stays(names[stay.name], stay.why);

  if (!plan.moves.empty()) {
    MovedFilesWriter record(moved);
    for (const Move& move : plan.moves) {
      record.add(names[move.name]);
      if (is_rename(move, names)) record.add(names[move.new_name]);
    }
  }
  bool journaled = false;
  if (!journal_renames(plan, names, journaled)) {
    print_error_line(std::string("The journal ") + kRenamesJournal +
                     " cannot be written; every file stays in txt_in under its name.");
    list_txt_in();
    return;
  }
  rename_in_place(plan.direct, names, txt_in);
  move_out(plan, names, txt_in);
  if (journaled) run_shell(std::string("del /q ") + kRenamesJournal + " > out_null.list");

  list_txt_in();
}

}  // namespace korvel
