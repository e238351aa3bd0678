#include "korvel/convert/convert_documents.h"

#include <string>

#include "korvel/console/console.h"
#include "korvel/convert/page.h"
#include "korvel/prepare/names.h"
#include "korvel/shell/file_layer.h"
#include "korvel/shell/run_shell.h"
#include "korvel/shell/text.h"

void convert_documents() {
  run_shell("copy /y txt_in\\*.* txt_wrk\\ > out_null.list");
  run_shell("dir /b txt_wrk\\*.* > txt_wrk.list");
  int list = free_handle();
  open_input("txt_wrk.list", list);
  while (!at_end(list)) {
    std::string name = trim_blanks(read_line(list));
    bool document = contains_ignore_case(name, ".htm") || contains_ignore_case(name, ".txt");
    // A name that a command cannot carry exactly could reach other files,
    // and one holding "\" another folder: such a document gets no page.
    if (document && !is_addressable(name)) {
      print_error_line("txt_wrk\\" + shown_name(name) + " gets no page: its name cannot be used in a command.");
      continue;
    }
    if (contains_ignore_case(name, ".htm")) {
      run_shell("copy /y \"txt_wrk\\" + name + "\" \"htm_wrk\\" + name + "\" > out_null.list");
    } else if (contains_ignore_case(name, ".txt")) {
      write_page("txt_wrk\\" + name, "htm_wrk\\" + page_name(name));
    }
  }
  close_file(list);
}

// Streams the document: one line in memory at a time, whatever its size.
// A document that cannot be read gets no page at all, rather than an empty
// one that would pass for it.
void write_page(std::string_view source_path, std::string_view page_path) {
  int source = free_handle();
  open_input(source_path, source);
  if (!is_open(source)) {
    print_error_line("The document " + std::string(source_path) + " cannot be read; it gets no page.");
    return;
  }
  int page = free_handle();
  open_output(page_path, page);
  if (!is_open(page)) {
    print_error_line("The page " + std::string(page_path) + " cannot be created.");
    close_file(source);
    return;
  }
  write_line(page, "<HTML>");
  write_line(page, "<head>");
  write_line(page, kPageMetaLine);
  write_line(page, "<title>");
  write_line(page, page_path);
  write_line(page, "</title>");
  write_line(page, "</head>");
  write_line(page, "<body>");
  write_line(page, "<pre>");
  std::string line;
  while (!at_end(source)) {
    read_line(source, line);
    write_line(page, page_content_line(line));
  }
  write_line(page, "</pre>");
  write_line(page, "</body>");
  write_line(page, "</html>");
  close_file(source);
  // A page cut short (a full disk) would be indexed as if it were the whole
  // document: it goes, and says so; the document itself stays where it is.
  std::string failure = write_error(page);
  if (failure.empty()) return close_file(page);
  discard_file(page);
  print_error_line("The page " + std::string(page_path) + " could not be written whole and is removed. " + failure);
}
