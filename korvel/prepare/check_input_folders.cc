#include "korvel/prepare/check_input_folders.h"

#include <string>

#include "korvel/base/work_files.h"
#include "korvel/console/console.h"
#include "korvel/console/prompts.h"
#include "korvel/prepare/folder_listing.h"
#include "korvel/prepare/names.h"
#include "korvel/shell/file_layer.h"
#include "korvel/shell/run_shell.h"

namespace korvel {

namespace {
constexpr bool kBareListing = false;
constexpr bool kFullListing = true;
}  // namespace

void check_input_folders() {
  // htm_out is only ever emptied, never created.
  run_shell("dir > htm_out\\f_01.txt");
  run_shell("del /q htm_out\\*.*");

  run_shell("dir /b  txt_in\\*.txt > txt_file.txt");
  run_shell("dir /b  txt_in\\*.htm >> txt_file.txt");
  int documents = 0;
  int handle = free_handle();
  std::string line;  // its room kept from line to line: a line per document
  open_input(kTxtFileText, handle);
  while (!at_end(handle)) {
    read_line(handle, line);
    documents += document_marks(line);
  }
  close_file(handle);
  if (documents == 0) {
    print_empty_line();
    print_line("----------------------------");
    print_line("Subfolder txt_in is empty");
    print_empty_line();
    one_choice_stop();
  }

  // htm_in is renewed on every run: cleared, removed, made again.
  run_shell("dir /b *. > dir_01.txt");
  if (listing_names_folder(kDir01, "htm_in", kBareListing)) {
    run_shell("dir > htm_in\\f_01.txt");
    run_shell("del /q htm_in\\*.* > out_null.list");
    run_shell("rd htm_in > out_null.list");
  }
  // dir_01.txt is left listing the folders as they are after the removal.
  run_shell("dir /b *. > dir_01.txt");
  run_shell("md htm_in > out_null.list");

  run_shell("dir *. > dir_cur.txt");
  if (!listing_names_folder(kDirCur, "htm_in", kFullListing) || !is_folder("htm_in")) {
    print_line("----------------------------");
    print_line("subfolder htm_in must be created");
    print_empty_line();
    any_key_stop();
  }

  run_shell("dir /b txt_in\\*.txt  > txt_file.list");
  run_shell("dir /b txt_in\\*.htm  >> txt_file.list");
  int listed = 0;
  handle = free_handle();
  open_input(kTxtFileList, handle);
  while (!at_end(handle)) {
    read_line(handle, line);
    ++listed;
  }
  close_file(handle);
  if (listed == 0) {
    print_line("----------------------------");
    print_line("missing txt_in subfolder");
    print_empty_line();
    any_key_stop();
  }
}

}  // namespace korvel
