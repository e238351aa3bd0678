#include "convertcp/files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
FileKind kind_of_mode(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::kRegular;
  if (S_ISDIR(mode)) return FileKind::kFolder;
  if (S_ISFIFO(mode)) return FileKind::kFifo;
  if (S_ISCHR(mode)) return FileKind::kCharDevice;
  if (S_ISBLK(mode)) return FileKind::kBlockDevice;
  if (S_ISSOCK(mode)) return FileKind::kSocket;
  return FileKind::kOther;
}

std::int64_t nanoseconds(const struct timespec& time) { return std::int64_t(time.tv_sec) * 1000000000 + time.tv_nsec; }

FileState state_from(const struct stat& info) {
  return {std::uint64_t(info.st_dev), std::uint64_t(info.st_ino), std::uint64_t(info.st_size),
          nanoseconds(info.st_mtim), nanoseconds(info.st_ctim)};
}

int opened(int fd, int& out) {
  if (fd < 0) return errno;
  out = fd;
  return 0;
}
}  // namespace

FileKind kind_at(const std::filesystem::path& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return FileKind::kMissing;
  return kind_of_mode(info.st_mode);
}

FileKind kind_of(int fd) {
  struct stat info;
  if (fstat(fd, &info) != 0) return FileKind::kMissing;
  return kind_of_mode(info.st_mode);
}

int standard_input() { return STDIN_FILENO; }
int standard_output() { return STDOUT_FILENO; }

int descriptor_named(const std::string& name) {
  if (name == "/dev/stdout") return STDOUT_FILENO;
  if (name == "/dev/stderr") return STDERR_FILENO;
  for (std::string_view folder : {"/dev/fd/", "/proc/self/fd/"}) {
    if (!name.starts_with(folder)) continue;
    std::string digits = name.substr(folder.size());
    if (digits.empty() || digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stoi(digits);
  }
  return -1;
}

int open_for_reading(const std::filesystem::path& path, int& fd) {
  int opened_fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (opened_fd < 0) return errno;
  // Reads of a regular file never wait; of anything else they should.
  fcntl(opened_fd, F_SETFL, fcntl(opened_fd, F_GETFL) & ~O_NONBLOCK);
  fd = opened_fd;
  return 0;
}

int open_existing(const std::filesystem::path& path, int& fd) {
  return opened(open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC), fd);
}

int create_new_file(const std::filesystem::path& path, int& fd) {
  return opened(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666), fd);
}

int read_full(int fd, char* buffer, size_t size, size_t& got) {
  got = 0;
  while (got < size) {
    ssize_t n = read(fd, buffer + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) break;
    got += size_t(n);
  }
  return 0;
}

int write_all(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    data.remove_prefix(size_t(n));
  }
  return 0;
}

int rewind_file(int fd) { return lseek(fd, 0, SEEK_SET) == 0 ? 0 : errno; }

int sync_and_close(int fd) {
  int error = fsync(fd) == 0 ? 0 : errno;
  if (close(fd) != 0 && error == 0) error = errno;
  return error;
}

void close_file(int fd) { close(fd); }

bool same_file(int a, int b) {
  FileState one, other;
  return state_of(a, one) == 0 && state_of(b, other) == 0 && one.is_file(other);
}

int state_of(int fd, FileState& state) {
  struct stat info;
  if (fstat(fd, &info) != 0) return errno;
  state = state_from(info);
  return 0;
}

int state_at(const std::filesystem::path& path, FileState& state) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return errno;
  state = state_from(info);
  return 0;
}

std::string replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
  return rename(from.c_str(), to.c_str()) == 0 ? "" : std::strerror(errno);
}
