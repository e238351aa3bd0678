#include "korvel/convert/convert_documents.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "korvel/base/text.h"
#include "korvel/base/work_files.h"
#include "korvel/console/console.h"
#include "korvel/convert/page.h"
#include "korvel/convert/trimmed_lines.h"
#include "korvel/prepare/name_set.h"
#include "korvel/prepare/names.h"
#include "korvel/shell/file_layer.h"
#include "korvel/shell/run_shell.h"

namespace korvel {

void convert_documents() {
  run_shell("copy /y txt_in\\*.* txt_wrk\\ > out_null.list");
  run_shell("dir /b txt_wrk\\*.* > txt_wrk.list");
  NameSet names;
  int list = free_handle();
  open_input(kTxtWrkList, list);
  while (!at_end(list)) names.insert(trim_blanks(read_line(list)));
  close_file(list);
  for (size_t i = 0; i < names.size(); ++i) {
    std::string name(names[i]);
    // Names that differ only in letter case stayed in txt_in, each with a
    // line saying so: both would make one page name, and whichever came
    // second would put its text under the first one's page.
    if (names.count(name) > 1) continue;
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
}

namespace {

// The document read a second time, only ever forward and a part at a time,
// for the runs of blanks that were too long to hold the first time.
class SecondReading {
 public:
  explicit SecondReading(std::string_view path) : path_(path) {}
  ~SecondReading() { close_file(handle_); }
  SecondReading(const SecondReading&) = delete;
  SecondReading& operator=(const SecondReading&) = delete;

  bool copy(std::uint64_t offset, std::uint64_t length, const TrimmedLines::Out& out) {
    if (handle_ == 0) {
      handle_ = free_handle();
      open_input(path_, handle_);
      if (!is_open(handle_)) return false;
    }
    while (length > 0) {
      if (offset < at_) return false;
      if (offset >= at_ + part_.size()) {
        at_ += part_.size();
        part_.clear();
        if (line_ended_ && at_end(handle_)) return false;
        line_ended_ = read_line_part(handle_, part_);
        continue;
      }
      size_t from = static_cast<size_t>(offset - at_);
      size_t n = static_cast<size_t>(std::min<std::uint64_t>(part_.size() - from, length));
      std::string_view bytes = std::string_view(part_).substr(from, n);
      if (!is_trailing_fill(bytes)) return false;  // the document changed under the run
      out(bytes);
      offset += bytes.size();
      length -= bytes.size();
    }
    return true;
  }

 private:
  std::string path_;
  int handle_ = 0;
  std::uint64_t at_ = 0;  // where part_ begins in the text
  std::string part_;
  bool line_ended_ = true;
};

void write_frame_head(int page, std::string_view page_path) {
  write_line(page, "<HTML>");
  write_line(page, "<head>");
  write_line(page, kPageMetaLine);
  write_line(page, "<title>");
  write_line(page, page_path);
  write_line(page, "</title>");
  write_line(page, "</head>");
  write_line(page, "<body>");
  write_line(page, "<pre>");
}

}  // namespace

// Streams the document a part of a line at a time, whatever the length of
// its lines. A document that cannot be read gets no page at all, rather than
// an empty one that would pass for it; a page cut short by any failure would
// be indexed as if it were the whole document: it goes, and says so.
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
  write_frame_head(page, page_path);
  SecondReading again(source_path);
  TrimmedLines lines([page](std::string_view bytes) { write_text(page, bytes); },
                     [&again](std::uint64_t offset, std::uint64_t length, const TrimmedLines::Out& out) {
                       return again.copy(offset, length, out);
                     });
  std::string part;
  bool whole = true;
  while (whole && !at_end(source)) {
    if (read_line_part(source, part)) {
      write_line(page, lines.whole_line(part));
      continue;
    }
    whole = lines.add(part);
    for (bool line_ended = false; whole && !line_ended;) {
      line_ended = read_line_part(source, part);
      whole = lines.add(part);
    }
    lines.end_line();
    write_line(page, "");
  }
  write_line(page, "</pre>");
  write_line(page, "</body>");
  write_line(page, "</html>");
  std::string failure = !whole                ? "The document changed while it was read."
                        : read_failed(source) ? "The document could not be read to its end."
                                              : write_error(page);
  close_file(source);
  if (failure.empty()) return close_file(page);
  discard_file(page);
  print_error_line("The page " + std::string(page_path) + " could not be written whole and is removed. " + failure);
}

}  // namespace korvel
