#include "korvel/prepare/normalise_file_names.h"

#include <cstdint>
#include <string>
#include <vector>

#include "korvel/base/text.h"
#include "korvel/base/work_files.h"
#include "korvel/console/console.h"
#include "korvel/console/invocation.h"
#include "korvel/prepare/line_break_names.h"
#include "korvel/prepare/local_files.h"
#include "korvel/prepare/moved_files.h"
#include "korvel/prepare/names.h"
#include "korvel/prepare/renames_journal.h"
#include "korvel/shell/file_layer.h"
#include "korvel/shell/native_path.h"
#include "korvel/shell/run_shell.h"

namespace korvel {

namespace {

// Names are indexes into the run's one NameSet of names: at 50,000
// documents, a string per name would make memory grow by hundreds of bytes
// a document.
struct Move {
  uint32_t name;                // in txt_in
  uint32_t new_name = kNoName;  // kNoName for a file that is no document
  std::uintmax_t size = 0;      // and time of change, as planning found the file
  std::int64_t modified = 0;
  static constexpr uint32_t kNoName = UINT32_MAX;
};

void say_stays(const std::string& name, std::string_view why) {
  print_error_line("txt_in\\" + shown_name(name) + " stays in txt_in: " + std::string(why) + ".");
}

void read_list(std::string_view path, NameSet& names) {
  int handle = free_handle();
  open_input(path, handle);
  while (!at_end(handle)) names.insert(read_line(handle));
  close_file(handle);
}

// Why a file of txt_in must stay where it is, or nothing when it may move.
// Checked before anything moves, so that a file that stays never meets a
// wildcard.
std::string_view reason_to_stay(const std::string& name, const std::string& renamed, const std::string& program,
                                bool has_letter_case_variants) {
  if (is_program_file(name, program) || is_program_file(renamed, program))
    return "a program file never goes into the working folder";
  if (std::string_view why = reserved_working_name(name); !why.empty()) return why;
  if (std::string_view why = reserved_working_name(renamed); !why.empty()) return why;
  // Where names differ in letter case only, a copy or a delete of one could
  // reach the other.
  if (has_letter_case_variants) return "another file of txt_in has that name in another letter case";
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
  // replace the list on its way into the working folder. The same set then
  // takes the new names, so that none clashes with a listed one.
  NameSet names;
  read_list(kTxtInList, names);
  for (const std::string& name : names_with_line_breaks()) names.insert(name);
  const size_t listed = names.size();
  std::vector<bool> has_variants(listed);
  for (size_t i = 0; i < listed; ++i) has_variants[i] = names.count(names[i]) > 1;

  std::string program = file_name_of(invocation_path());
  std::string txt_in = native_path("txt_in");
  MovedFiles moved = read_moved_files();
  WorkingFolderNames present;
  std::vector<Move> moves;
  moves.reserve(listed);
  std::vector<Move> direct;  // documents whose names no command can carry
  size_t files = 0;
  for (size_t i = 0; i < listed; ++i) {
    std::string name(names[i]);
    std::string source = file_in(txt_in, name);
    FileStamp stamp = stamp_of(source);
    if (stamp.kind == FileKind::kFolder || stamp.kind == FileKind::kMissing) continue;  // subfolders stay
    ++files;
    bool document = extension_position(name) != std::string::npos;
    std::string renamed = document ? unique_new_name(name, names) : name;
    uint32_t renamed_index = !document         ? Move::kNoName
                             : renamed == name ? static_cast<uint32_t>(i)
                                               : static_cast<uint32_t>(names.size() - 1);  // added last
    if (stamp.kind == FileKind::kOther) {
      say_stays(name, "it is no regular file");
      continue;
    }
    std::string_view why = reason_to_stay(name, renamed, program, has_variants[i]);
    if (!why.empty()) {
      say_stays(name, why);
      continue;
    }
    if (!is_addressable(renamed)) {
      say_stays(name, "its name cannot be used in a command");
    } else if (!is_addressable(name)) {
      direct.push_back({static_cast<uint32_t>(i), renamed_index, stamp.size, stamp.modified});
    } else if (!may_take_working_name(name, source, moved, present) ||
               (renamed != name && !may_take_working_name(renamed, source, moved, present))) {
      say_stays(name, "a different file of that name is in the working folder");
    } else {
      moves.push_back({static_cast<uint32_t>(i), renamed_index, stamp.size, stamp.modified});
    }
  }

  auto is_rename = [&](const Move& move) {
    return move.new_name != Move::kNoName && names[move.new_name] != names[move.name];
  };
  // Renames by their place in moves, then in direct.
  std::vector<uint32_t> renames;
  auto move_at = [&](uint32_t at) -> const Move& { return at < moves.size() ? moves[at] : direct[at - moves.size()]; };
  for (uint32_t at = 0; at < moves.size() + direct.size(); ++at)
    if (is_rename(move_at(at))) renames.push_back(at);
  if (!moves.empty()) {
    MovedFilesWriter record(moved);
    for (const Move& move : moves) {
      record.add(names[move.name]);
      if (is_rename(move)) record.add(names[move.new_name]);
    }
  }
  auto rename_at = [&](size_t i) {
    const Move& move = move_at(renames[i]);
    return Rename{std::string(names[move.name]), std::string(names[move.new_name]), move.size};
  };
  if (!renames.empty() && !write_renames_journal(renames.size(), rename_at)) {
    print_error_line(std::string("The journal ") + kRenamesJournal +
                     " cannot be written; every file stays in txt_in under its name.");
    run_shell("dir /b txt_in\\ > txt_in.list");
    return;
  }

  // A name that no command can carry is given its new one in txt_in itself.
  for (const Move& move : direct) {
    std::string name(names[move.name]), new_name(names[move.new_name]);
    if (rename_without_replacing(file_in(txt_in, name), file_in(txt_in, new_name)))
      print_error_line("txt_in\\" + shown_name(name) + " is renamed " + new_name +
                       " in txt_in: its name cannot be used in a command.");
    else
      say_stays(name, "it cannot be renamed");
  }

  if (moves.size() == files) {
    run_shell("copy /y txt_in\\*.* > out_null.list");
  } else {
    for (const Move& move : moves) run_shell("copy /y \"txt_in\\" + std::string(names[move.name]) + "\" > out_null.list");
  }
  for (const Move& move : moves) {
    std::string name(names[move.name]);
    if (move.new_name != Move::kNoName && !is_rename(move)) continue;  // the document is where it belongs
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
  if (!renames.empty()) run_shell(std::string("del /q ") + kRenamesJournal + " > out_null.list");

  run_shell("dir /b txt_in\\ > txt_in.list");
}

}  // namespace korvel
