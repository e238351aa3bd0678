#include "korvel/handoff/launch_indexer.h"

#include <string>

#include "korvel/base/text.h"
#include "korvel/base/work_files.h"
#include "korvel/console/console.h"
#include "korvel/console/prompts.h"
#include "korvel/console/urls.h"
#include "korvel/handoff/indexer_identity.h"
#include "korvel/prepare/folder_listing.h"
#include "korvel/prepare/local_files.h"
#include "korvel/prepare/names.h"
#include "korvel/shell/file_layer.h"
#include "korvel/shell/native_path.h"
#include "korvel/shell/run_shell.h"

namespace korvel {

namespace {
[[noreturn]] void refuse_indexer(const std::string& indexer) {
  print_line("---------------------");
  print_line("The indexer " + shown_name(indexer) + " is not the one found when the programs were checked;");
  print_line("nothing is started.");
  print_empty_line();
  any_key_stop();
}
}  // namespace

void launch_indexer() {
  run_shell("dir /b htm_wrk\\*.htm > htm_wrk.list");
  int list = free_handle();
  open_input(kHtmWrkList, list);
  print_line("----------------------------");
  print_line("Indexing files");
  print_empty_line();
  long number = 0;
  {
    ConsoleBatch batch;
    while (!at_end(list)) {
      std::string page = trim_blanks(read_line(list));
      print_number(++number);
      next_print_zone();
      print_line(page);
    }
  }
  close_file(list);
  print_empty_line();
  key_menu({"<1> continue", "<2> end"}, "1", "2");

  run_shell("md htm_in > out_null.list");
  run_shell("del /q htm_in\\*.* > out_null.list");
  run_shell("copy /y htm_wrk\\*.htm htm_in\\ > out_null.list");
  run_shell("md velmor > out_null.list");
  run_shell("md velmor\\htm_in > out_null.list");
  // A file of either name keeps the indexer from its pages: nothing is
  // started then, and no results are promised.
  for (const char* folder : {"velmor", "velmor\\htm_in"})
    if (!is_folder(folder)) stop_for_missing_folder(folder);
  run_shell("del /q velmor\\htm_in\\*.* > out_null.list");
  run_shell("copy /y htm_in\\*.htm velmor\\htm_in\\ > out_null.txt");
  run_shell("copy /y wget.exe velmor\\wget.exe > out_null.list");
  run_shell("dir /b /o  velmor_*.exe > exe_files.txt");

  // The indexer is the executable whose name sorts last.
  std::string indexer;
  int exe_files = free_handle();
  open_input(kExeFiles, exe_files);
  while (!at_end(exe_files)) indexer = to_lower_ascii(read_line(exe_files));
  close_file(exe_files);
  indexer = trim_blanks(indexer);
  // The tool check found one at the start of the run, but it may have gone
  // since; with no name, "start" would open an empty console of its own.
  if (indexer.empty()) {
    print_line("---------------------");
    print_line("Checking for velmor*.exe");
    print_line("Check the contents of the velmor.7z file.");
    one_choice_stop();
  }
  // Only an indexer that the tool check saw, and unchanged since: whatever
  // came into the working folder during the run is never started.
  if (!is_addressable(indexer) || !is_remembered_indexer(indexer)) refuse_indexer(indexer);
  print_line(indexer);
  run_shell("copy /y \"" + indexer + "\" \"velmor\\" + indexer + "\"");
  if (!same_content(native_path(indexer), native_path("velmor\\" + indexer))) refuse_indexer(indexer);
  // cmd's start takes a leading quoted argument as the window title, so an
  // empty title goes first (its documented place) and the quoted name that
  // follows the folder is really the program.
  run_shell("start \"\" /D velmor \"" + indexer + "\"");

  print_empty_line();
  print_line("============ INDEXING RESULTS ===========");
  print_empty_line();
  print_line("Indexing is done with a separate program velmor*.exe");
  print_line("Indexing takes place in a subdirectory \\velmor");
  print_empty_line();
  print_line("view subfolder: \\velmor\\htm_out");
  print_line("view files: page*.htm, index*.htm, i_*.htm, s_*.htm");
  print_line("You can access the index of all words by double-clicking on any word.");
  print_line(std::string("details: ") + kMakerUrl);
  print_empty_line();
  any_key_stop();
}

}  // namespace korvel
