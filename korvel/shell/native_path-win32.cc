#include "korvel/shell/native_path.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace korvel {

std::string native_path(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

int open_native(std::string_view path, bool writing, uintmax_t& size, std::string& native) {
  native = native_path(path);
  size = 0;
  if (writing) return _open(native.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
  int fd = _open(native.c_str(), _O_RDONLY | _O_BINARY);
  struct _stat64 st;
  if (fd >= 0 && (_fstat64(fd, &st) != 0 || (st.st_mode & _S_IFMT) != _S_IFREG)) {
    _close(fd);
    return -1;
  }
  if (fd >= 0) size = static_cast<uintmax_t>(st.st_size);
  return fd;
}

long read_native(int fd, char* buffer, size_t size) { return _read(fd, buffer, static_cast<unsigned>(size)); }

long write_native(int fd, const char* data, size_t size) { return _write(fd, data, static_cast<unsigned>(size)); }

bool rewind_native(int fd) { return _lseeki64(fd, 0, SEEK_SET) == 0; }

void close_native(int fd) { _close(fd); }

bool is_regular_native(std::string_view path) {
  struct _stat64 st;
  return _stat64(native_path(path).c_str(), &st) == 0 && (st.st_mode & _S_IFMT) == _S_IFREG;
}

bool remove_native(const std::string& native) { return std::remove(native.c_str()) == 0; }

}  // namespace korvel
