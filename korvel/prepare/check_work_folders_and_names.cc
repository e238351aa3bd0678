#include "korvel/prepare/check_work_folders_and_names.h"

#include <optional>
#include <string>

#include "korvel/base/text.h"
#include "korvel/base/work_files.h"
#include "korvel/console/console.h"
#include "korvel/console/prompts.h"
#include "korvel/prepare/folder_listing.h"
#include "korvel/prepare/name_set.h"
#include "korvel/prepare/names.h"
#include "korvel/shell/file_layer.h"
#include "korvel/shell/run_shell.h"

namespace korvel {

namespace {

constexpr bool kBareListing = false;

// The lines of a list, letter case ignored.
NameSet listed_names(std::string_view list_path) {
  NameSet names;
  int handle = free_handle();
  open_input(list_path, handle);
  std::string line;
  while (!at_end(handle)) {
    read_line(handle, line);
    names.insert(line);
  }
  close_file(handle);
  return names;
}

// Names that differ from another's only in letter case stayed in txt_in,
// each with a line saying so, and get no page: they take part in no
// comparison, and no report speaks of a page they would make.
bool is_letter_case_variant(const NameSet& listed, std::string_view name) { return listed.count(name) > 1; }

// The base names of a list, letter case ignored, each as often as it is
// there: Report.htm and report.txt would be one page on a file system that
// finds names in any letter case. Counting once per list, rather than
// reading the list again for every name, keeps the check quick for
// thousands of documents; a name set holds them packed.
NameSet base_name_counts(std::string_view list_path) {
  NameSet listed = listed_names(list_path);
  NameSet counts;
  for (size_t i = 0; i < listed.size(); ++i) {
    if (is_letter_case_variant(listed, listed[i])) continue;
    std::optional<std::string> base = base_name(listed[i]);
    if (base) counts.insert(*base);
  }
  return counts;
}

}  // namespace

void check_work_folders_and_names() {
  run_shell("dir /b *. > dir_cur.txt");
  if (listing_names_folder(kDirCur, "txt_wrk", kBareListing)) run_shell("del /q txt_wrk\\*.* > out_null.list");
  else run_shell("md txt_wrk > out_null.list");

  run_shell("dir /b *. > dir_cur.txt");
  if (listing_names_folder(kDirCur, "htm_wrk", kBareListing)) run_shell("del /q htm_wrk\\*.* > out_null.list");
  else run_shell("md htm_wrk > out_null.list");

  // A file of a work folder's name passes the listing, but no page can be
  // made in it: the run would end as if it had indexed something.
  run_shell("dir /b *. > dir_cur.txt");
  for (const char* folder : {"txt_wrk", "htm_wrk"})
    if (!listing_names_folder(kDirCur, folder, kBareListing) || !is_folder(folder)) stop_for_missing_folder(folder);

  print_empty_line();
  print_line("----------------------------");
  print_line("Reformatting *.txt files to *.htm.");

  // Two documents of one base name would become one page. The first list
  // names the documents; the second shrinks by every base name the user has
  // let pass, so each is reported once.
  run_shell("dir /b txt_in\\*.* > compare_01.txt");
  run_shell("dir /b txt_in\\*.* > compare_02.txt");
  NameSet counts = base_name_counts("compare_02.txt");
  NameSet listed = listed_names("compare_01.txt");
  for (size_t i = 0; i < listed.size(); ++i) {
    if (is_letter_case_variant(listed, listed[i])) continue;
    std::optional<std::string> base = base_name(listed[i]);
    if (!base || counts.count(*base) < 2) continue;

    print_empty_line();
    print_line("----------------------------");
    print_line("Compare file names *.htm and *.txt");
    print_empty_line();
    print_line(*base);
    print_empty_line();
    print_line("File has the same name and two extensions, *.htm, *.txt");
    print_empty_line();
    key_menu({"<1> = stop and rename file: " + *base, "<2> = continue and *.txt file will be recreate from *.htm"}, "2",
             "1");

    int second = free_handle();
    open_input("compare_02.txt", second);
    int pruned = free_handle();
    open_output("compare_04.txt", pruned);
    while (!at_end(second)) {
      std::string name = read_line(second);
      if (!same_base_name(base_name(name), base)) write_line(pruned, trim_blanks(name));
    }
    close_file(second);
    close_file(pruned);
    run_shell("copy compare_04.txt compare_02.txt > out_null.list");
    counts = base_name_counts("compare_02.txt");
  }
}

}  // namespace korvel
