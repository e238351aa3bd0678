#include "convertcp/files.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <system_error>
#include <windows.h>

namespace {
FileKind kind_of_mode(unsigned short mode) {
  if ((mode & _S_IFMT) == _S_IFREG) return FileKind::kRegular;
  if ((mode & _S_IFMT) == _S_IFDIR) return FileKind::kFolder;
  if ((mode & _S_IFMT) == _S_IFIFO) return FileKind::kFifo;
  if ((mode & _S_IFMT) == _S_IFCHR) return FileKind::kCharDevice;
  return FileKind::kOther;
}

FileState state_from(const BY_HANDLE_FILE_INFORMATION& info) {
  FileState state;
  state.volume = info.dwVolumeSerialNumber;
  state.index = std::uint64_t(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
  state.size = std::uint64_t(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
  state.modified =
      std::int64_t(std::uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32 | info.ftLastWriteTime.dwLowDateTime);
  return state;
}

int error_of(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ENOENT : EACCES; }

int opened(int fd, int& out) {
  if (fd < 0) return errno;
  out = fd;
  return 0;
}
}  // namespace

FileKind kind_at(const std::filesystem::path& path) {
  struct _stat64 info;
  if (_wstat64(path.c_str(), &info) == 0) return kind_of_mode(info.st_mode);
  // Devices (NUL, CON) and named pipes have no status; opened without
  // access, they say what they are.
  HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return FileKind::kMissing;
  DWORD type = GetFileType(handle);
  CloseHandle(handle);
  if (type == FILE_TYPE_CHAR) return FileKind::kCharDevice;
  if (type == FILE_TYPE_PIPE) return FileKind::kFifo;
  return FileKind::kOther;
}

FileKind kind_of(int fd) {
  switch (GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(fd)))) {
    case FILE_TYPE_DISK: return FileKind::kRegular;
    case FILE_TYPE_CHAR: return FileKind::kCharDevice;
    case FILE_TYPE_PIPE: return FileKind::kFifo;
    default: return FileKind::kOther;
  }
}

int standard_input() {
  _setmode(0, _O_BINARY);
  return 0;
}

int standard_output() {
  _setmode(1, _O_BINARY);
  return 1;
}

int descriptor_named(const std::string&) { return -1; }

int open_for_reading(const std::filesystem::path& path, int& fd) {
  return opened(_wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT), fd);
}

int open_existing(const std::filesystem::path& path, int& fd) {
  return opened(_wopen(path.c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT), fd);
}

int create_new_file(const std::filesystem::path& path, int& fd) {
  return opened(_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE),
                fd);
}

int read_full(int fd, char* buffer, size_t size, size_t& got) {
  got = 0;
  while (got < size) {
    unsigned chunk = size - got > (1u << 30) ? (1u << 30) : unsigned(size - got);
    int n = _read(fd, buffer + got, chunk);
    if (n < 0) return errno;
    if (n == 0) break;
    got += size_t(n);
  }
  return 0;
}

int write_all(int fd, std::string_view data) {
  while (!data.empty()) {
    unsigned chunk = data.size() > (1u << 30) ? (1u << 30) : unsigned(data.size());
    int n = _write(fd, data.data(), chunk);
    if (n <= 0) return n < 0 ? errno : EIO;
    data.remove_prefix(size_t(n));
  }
  return 0;
}

int rewind_file(int fd) { return _lseeki64(fd, 0, SEEK_SET) == 0 ? 0 : errno; }

int sync_and_close(int fd) {
  int error = _commit(fd) == 0 ? 0 : errno;
  if (_close(fd) != 0 && error == 0) error = errno;
  return error;
}

void close_file(int fd) { _close(fd); }

bool same_file(int a, int b) {
  FileState one, other;
  return state_of(a, one) == 0 && state_of(b, other) == 0 && one.is_file(other);
}

int state_of(int fd, FileState& state) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(reinterpret_cast<HANDLE>(_get_osfhandle(fd)), &info)) return error_of(GetLastError());
  state = state_from(info);
  return 0;
}

int state_at(const std::filesystem::path& path, FileState& state) {
  // Opened for its attributes only, sharing everything, so that no writer
  // or renamer of the file is kept out while it is looked at.
  HANDLE handle =
      CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return error_of(GetLastError());
  BY_HANDLE_FILE_INFORMATION info;
  bool got = GetFileInformationByHandle(handle, &info);
  DWORD error = GetLastError();
  CloseHandle(handle);
  if (!got) return error_of(error);
  state = state_from(info);
  return 0;
}

std::string replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return "";
  return std::system_category().message(int(GetLastError()));
}
