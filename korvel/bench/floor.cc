// The floor: only the file operations a korvel run is made of, with nothing
// around them. Run in a prepared working folder, it does what the run does to
// the documents and no more: no listings into scratch files, no command
// lines, no name lookups without regard to case.
//
//   before the header: every file of txt_in copied into the working folder;
//   then, file by file in listing order, a document whose name changes
//   copied to its new name there, that copy copied back into txt_in and the
//   source deleted in txt_in, a file that is no document deleted there, a
//   document whose name stays left where it is;
//   after it: txt_in copied into txt_wrk; each HTML document copied into
//   htm_wrk, each text document written there as a page, line by line with
//   CR LF through an 8 KiB buffer; htm_wrk's pages copied into htm_in and on
//   into velmor/htm_in; wget.exe and the indexer into velmor.
//
// Before the header the order is the run's: korvel walks its lists, which
// are in listing order, and deletes no source before its copy is back.
// With --folder-order the floor takes a cheaper order instead, one korvel
// cannot: txt_in as the folder lists it, every file deleted there before
// the first copy goes back (a name that stays then goes back too). After
// the header both copy each folder as it lists it, which can only favour
// the floor.
//
// Every copy is written under a temporary name and renamed when whole, as
// korvel's are. It prints korvel's header line where korvel does, so one
// harness times both to the header and to the end.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "korvel/base/text.h"
#include "korvel/convert/page.h"
#include "korvel/interp/pattern.h"
#include "korvel/prepare/names.h"

using namespace korvel;

namespace {

int failures = 0;

void fail(const std::string& what) {
  std::fprintf(stderr, "floor: %s: %s\n", what.c_str(), std::strerror(errno));
  ++failures;
}

// The plain files of `folder`, in the order the folder gives them.
std::vector<std::string> files_of(const char* folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder);
  if (!dir) return names;
  while (dirent* entry = readdir(dir))
    if (entry->d_type == DT_REG) names.emplace_back(entry->d_name);
  closedir(dir);
  return names;
}

std::string in(const char* folder, const std::string& name) {
  return *folder ? std::string(folder) + "/" + name : name;
}

void copy(const std::string& from, const std::string& to, const char* to_folder) {
  int source = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (source < 0) return fail(from);
  std::string partial = in(to_folder, "~floor_partial.part");
  int target = open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (target < 0) {
    close(source);
    return fail(partial);
  }
  ssize_t n;
  while ((n = copy_file_range(source, nullptr, target, nullptr, 1 << 30, 0)) > 0) {
  }
  if (n < 0) fail(from);
  close(source);
  close(target);
  if (rename(partial.c_str(), to.c_str()) != 0) fail(to);
}

void copy_all(const char* from_folder, const char* to_folder, bool pages_only = false) {
  for (const std::string& name : files_of(from_folder))
    if (!pages_only || contains_ignore_case(name, ".htm")) copy(in(from_folder, name), in(to_folder, name), to_folder);
}

struct Page {
  int fd;
  char buffer[8192];
  size_t used = 0;
  void flush() {
    if (used > 0 && write(fd, buffer, used) != static_cast<ssize_t>(used)) fail("page");
    used = 0;
  }
  void line(std::string_view text) {
    while (text.size() + 2 > sizeof buffer - used) {
      size_t n = sizeof buffer - used;
      if (n > text.size()) n = text.size();
      std::memcpy(buffer + used, text.data(), n);
      used += n;
      text.remove_prefix(n);
      flush();
    }
    std::memcpy(buffer + used, text.data(), text.size());
    used += text.size();
    buffer[used++] = '\r';
    buffer[used++] = '\n';
  }
};

void write_page(const std::string& source_path, const std::string& page_path, const std::string& title) {
  int source = open(source_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (source < 0) return fail(source_path);
  Page page;
  page.fd = open(page_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (page.fd < 0) {
    close(source);
    return fail(page_path);
  }
  for (std::string_view line : {"<HTML>", "<head>"}) page.line(line);
  page.line(kPageMetaLine);
  page.line("<title>");
  page.line(title);
  for (std::string_view line : {"</title>", "</head>", "<body>", "<pre>"}) page.line(line);
  std::string pending;
  char chunk[8192];
  ssize_t n;
  while ((n = read(source, chunk, sizeof chunk)) > 0) {
    pending.append(chunk, static_cast<size_t>(n));
    size_t begin = 0;
    for (const char* lf;
         (lf = static_cast<const char*>(std::memchr(pending.data() + begin, '\n', pending.size() - begin)));) {
      size_t end = static_cast<size_t>(lf - pending.data());
      size_t stop = end > begin && pending[end - 1] == '\r' ? end - 1 : end;
      page.line(page_content_line(std::string_view(pending).substr(begin, stop - begin)));
      begin = end + 1;
    }
    pending.erase(0, begin);
  }
  if (!pending.empty()) {
    if (pending.back() == '\r') pending.pop_back();  // a CR as the last byte ends the line
    page.line(page_content_line(pending));
  }
  for (std::string_view line : {"</pre>", "</body>", "</html>"}) page.line(line);
  page.flush();
  close(source);
  close(page.fd);
}

}  // namespace

int main(int argc, char** argv) {
  bool folder_order = argc > 1 && std::strcmp(argv[1], "--folder-order") == 0;
  std::vector<std::string> moved = files_of("txt_in");
  if (!folder_order) std::sort(moved.begin(), moved.end(), listing_before);
  for (const std::string& name : moved) copy(in("txt_in", name), name, "");
  if (folder_order)
    for (const std::string& name : moved)
      if (unlink(in("txt_in", name).c_str()) != 0) fail(name);
  TakenNames taken;
  for (const std::string& name : moved) taken.insert(to_lower_ascii(name));
  for (const std::string& name : moved) {
    if (extension_position(name) == std::string::npos) {
      if (!folder_order && unlink(in("txt_in", name).c_str()) != 0) fail(name);
      continue;
    }
    std::string renamed = unique_new_name(name, taken);
    if (renamed != name) copy(name, renamed, "");
    if (folder_order || renamed != name) copy(renamed, in("txt_in", renamed), "txt_in");
    if (!folder_order && renamed != name && unlink(in("txt_in", name).c_str()) != 0) fail(name);
  }
  for (const char* folder : {"txt_wrk", "htm_wrk"})
    if (mkdir(folder, 0777) != 0 && errno != EEXIST) fail(folder);
  std::fputs("Reformatting *.txt files to *.htm.\r\n", stdout);
  std::fflush(stdout);

  copy_all("txt_in", "txt_wrk");
  for (const std::string& name : files_of("txt_wrk")) {
    if (contains_ignore_case(name, ".htm")) {
      copy(in("txt_wrk", name), in("htm_wrk", name), "htm_wrk");
    } else if (contains_ignore_case(name, ".txt")) {
      std::string page = "htm_wrk\\" + page_name(name);
      write_page(in("txt_wrk", name), in("htm_wrk", page_name(name)), page);
    }
  }
  for (const char* folder : {"htm_in", "velmor", "velmor/htm_in"})
    if (mkdir(folder, 0777) != 0 && errno != EEXIST) fail(folder);
  copy_all("htm_wrk", "htm_in", true);
  copy_all("htm_in", "velmor/htm_in", true);
  copy("wget.exe", "velmor/wget.exe", "velmor");
  copy("velmor_01_209.exe", "velmor/velmor_01_209.exe", "velmor");
  std::fputs("============ INDEXING RESULTS ===========\r\n", stdout);
  return failures == 0 ? 0 : 1;
}
