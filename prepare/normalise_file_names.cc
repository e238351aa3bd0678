#include "prepare/normalise_file_names.h"

#include <map>
#include <string>
#include <vector>

#include "console/console.h"
#include "driver/run_sequence.h"
#include "prepare/local_files.h"
#include "prepare/moved_files.h"
#include "prepare/names.h"
#include "prepare/renames_journal.h"
#include "shell/file_layer.h"
#include "shell/native_path.h"
#include "shell/run_shell.h"
#include "shell/text.h"

namespace {

struct Move {
  std::string name;      // in txt_in
  std::string new_name;  // empty for a file that is no document
  std::uintmax_t size = 0;
};

void say_stays(const std::string& name, std::string_view why) {
  print_error_line("txt_in\\" + shown_name(name) + " stays in txt_in: " + std::string(why) + ".");
}

std::vector<std::string> read_list(std::string_view path) {
  std::vector<std::string> lines;
  int handle = free_handle();
  open_input(path, handle);
  while (!at_end(handle)) lines.push_back(read_line(handle));
  close_file(handle);
  return lines;
}

// Why a file of txt_in must stay where it is, or nothing when it may move.
// Checked before anything moves, so that a file that stays never meets a
// wildcard.
std::string_view reason_to_stay(const std::string& name, const std::string& renamed, const std::string& program,
                                int letter_case_variants) {
  if (is_program_file(name, program) || is_program_file(renamed, program))
    return "a program file never goes into the working folder";
  if (is_state_file(name) || is_scratch_file(name) || is_state_file(renamed))
    return "korvel writes a file of that name in the working folder";
  // Where names differ in letter case only, a copy or a delete of one could
  // reach the other.
  if (letter_case_variants > 1) return "another file of txt_in has that name in another letter case";
  return {};
}

}  // namespace

// Every file of txt_in leaves a copy in the working folder; a file that is
// no document then leaves txt_in, and a document whose name changes comes
// back under the new one. No source goes before its copy is whole, and a
// document is back under its new name before its old name goes, so a run
// killed at any point leaves every document in txt_in.
void normalise_file_names() {
  run_shell("dir /b txt_in\\ > txt_in.list");
  // Read before anything moves: a file of txt_in named txt_in.list would
  // replace the list on its way into the working folder.
  std::vector<std::string> listed = read_list("txt_in.list");
  for (const std::string& name : names_with_line_breaks()) listed.push_back(name);

  std::string program = file_name_of(invocation_path());
  MovedFiles moved = read_moved_files();
  TakenNames taken;
  std::map<std::string, int> letter_case_variants;
  for (const std::string& name : listed) {
    taken.insert(to_lower_ascii(name));
    ++letter_case_variants[to_lower_ascii(name)];
  }

  std::vector<Move> moves;
  std::vector<Move> direct;  // documents whose names no command can carry
  size_t files = 0;
  for (const std::string& name : listed) {
    std::string source = txt_in_file(name);
    FileStamp stamp = stamp_of(source);
    FileKind kind = stamp.kind;
    if (kind == FileKind::kFolder || kind == FileKind::kMissing) continue;  // subfolders stay
    ++files;
    bool document = extension_position(name) != std::string::npos;
    std::string renamed = document ? unique_new_name(name, taken) : name;
    if (kind == FileKind::kOther) {
      say_stays(name, "it is no regular file");
      continue;
    }
    std::string_view why = reason_to_stay(name, renamed, program, letter_case_variants[to_lower_ascii(name)]);
    if (!why.empty()) {
      say_stays(name, why);
      continue;
    }
    std::uintmax_t size = stamp.size;
    if (!is_addressable(renamed)) {
      say_stays(name, "its name cannot be used in a command");
    } else if (!is_addressable(name)) {
      direct.push_back({name, renamed, size});
    } else if (!may_take_working_name(name, source, moved) ||
               (renamed != name && !may_take_working_name(renamed, source, moved))) {
      say_stays(name, "a different file of that name is in the working folder");
    } else {
      moves.push_back({name, document ? renamed : "", size});
    }
  }

  std::vector<Rename> renames;
  for (const std::vector<Move>* list : {&moves, &direct})
    for (const Move& move : *list)
      if (!move.new_name.empty() && move.new_name != move.name) renames.push_back({move.name, move.new_name, move.size});
  for (const Move& move : moves) {
    moved.insert(to_lower_ascii(move.name));
    if (!move.new_name.empty()) moved.insert(to_lower_ascii(move.new_name));
  }
  if (!moves.empty()) write_moved_files(moved);
  if (!renames.empty() && !write_renames_journal(renames)) {
    print_error_line(std::string("The journal ") + kRenamesJournal +
                     " cannot be written; every file stays in txt_in under its name.");
    run_shell("dir /b txt_in\\ > txt_in.list");
    return;
  }

  // A name that no command can carry is given its new one in txt_in itself.
  for (const Move& move : direct) {
    if (rename_without_replacing(txt_in_file(move.name), txt_in_file(move.new_name)))
      print_error_line("txt_in\\" + shown_name(move.name) + " is renamed " + move.new_name +
                       " in txt_in: its name cannot be used in a command.");
    else
      say_stays(move.name, "it cannot be renamed");
  }

  if (moves.size() == files) {
    run_shell("copy /y txt_in\\*.* > out_null.list");
  } else {
    for (const Move& move : moves) run_shell("copy /y \"txt_in\\" + move.name + "\" > out_null.list");
  }
  for (const Move& move : moves) {
    if (move.new_name == move.name) continue;  // the document is where it belongs
    std::string source = txt_in_file(move.name);
    if (move.new_name.empty()) {
      if (!is_finished_copy(native_path(move.name), source)) {
        say_stays(move.name, "its copy in the working folder could not be made");
        continue;
      }
    } else {
      run_shell("copy \"" + move.name + "\" \"" + move.new_name + "\" > out_null.list");
      // A copy that failed leaves an older file of the new name as it was;
      // it must not go into txt_in as the document.
      if (!is_finished_copy(native_path(move.new_name), source)) {
        say_stays(move.name, "its copy under the name " + move.new_name + " could not be made");
        continue;
      }
      run_shell("copy \"" + move.new_name + "\" \"txt_in\\" + move.new_name + "\" > out_null.list");
      if (!is_finished_copy(txt_in_file(move.new_name), source)) {
        say_stays(move.name, "its copy under the name " + move.new_name + " could not be made");
        continue;
      }
    }
    run_shell("del /q \"txt_in\\" + move.name + "\" > out_null.list");
  }
  if (!renames.empty()) run_shell(std::string("del /q ") + kRenamesJournal + " > out_null.list");

  run_shell("dir /b txt_in\\ > txt_in.list");
}
