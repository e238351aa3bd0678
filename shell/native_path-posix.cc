#include "shell/native_path.h"

#include <fcntl.h>
#include <unistd.h>

#include "interp/folder_index.h"
#include "interp/interp.h"
#include "interp/path.h"

std::string native_path(std::string_view path) { return interp_resolve(path); }

// A file made here is announced to the interpreter's folder index, as its
// own copies are: otherwise every page written would make the next name
// lookup in that folder read the whole folder again.
FILE* open_native(const std::string& native, bool writing) {
  int fd = -1;
  if (writing) {
    fd = create_file(native, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  } else {
    bool not_regular = false;
    fd = open_regular_file(native, not_regular);
  }
  if (fd < 0) return nullptr;
  FILE* file = fdopen(fd, writing ? "wb" : "rb");
  if (!file) close(fd);
  return file;
}

bool remove_native(const std::string& native) { return remove_file(native); }
