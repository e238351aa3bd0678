#include "shell/native_path.h"

#include <fcntl.h>
#include <unistd.h>

#include "interp/folder_index.h"
#include "interp/interp.h"

std::string native_path(std::string_view path) { return interp_resolve(path); }

// A file made here is announced to the interpreter's folder index, as its
// own copies are: otherwise every page written would make the next name
// lookup in that folder read the whole folder again.
FILE* open_native(const std::string& native, bool writing) {
  if (!writing) return std::fopen(native.c_str(), "rbe");
  int fd = create_file(native, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  FILE* file = fdopen(fd, "wb");
  if (!file) close(fd);
  return file;
}
