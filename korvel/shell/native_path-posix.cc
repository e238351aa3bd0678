#include "korvel/shell/native_path.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "korvel/interp/folder_changes.h"
#include "korvel/interp/interp.h"
#include "korvel/interp/path.h"
#include "korvel/interp/stat_memo.h"

namespace korvel {

// Output the interpreter still holds back for a redirection target is
// written before korvel's own code looks at any file.
std::string native_path(std::string_view path) {
  interp_settle();
  StatMemoScope memo;  // a name not there as written is asked about again component by component
  return interp_resolve(path);
}

// A file made here is announced to the interpreter's folder index, as its
// own copies are: otherwise every page written would make the next name
// lookup in that folder read the whole folder again.
int open_native(std::string_view path, bool writing, uintmax_t& size, std::string& native) {
  interp_settle();
  StatMemoScope memo;  // finding the path and opening it ask about the same names
  native = writing ? resolve_for_new(path) : interp_resolve(path);
  size = 0;
  if (writing) return create_file(native, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  bool not_regular = false;
  struct stat st;
  int fd = open_regular_file(native, not_regular, &st);
  if (fd >= 0) size = static_cast<uintmax_t>(st.st_size);
  return fd;
}

long read_native(int fd, char* buffer, size_t size) {
  for (;;) {
    ssize_t n = read(fd, buffer, size);
    if (n >= 0 || errno != EINTR) return n;
  }
}

long write_native(int fd, const char* data, size_t size) {
  for (;;) {
    ssize_t n = write(fd, data, size);
    if (n >= 0 || errno != EINTR) return n;
  }
}

bool rewind_native(int fd) { return lseek(fd, 0, SEEK_SET) == 0; }

void close_native(int fd) { close(fd); }

bool is_regular_native(std::string_view path) {
  interp_settle();
  StatMemoScope memo;
  struct stat st;
  return memo_stat(interp_resolve(path), true, &st) == 0 && S_ISREG(st.st_mode);
}

bool remove_native(const std::string& native) {
  interp_settle();
  return remove_file(native);
}

}  // namespace korvel
