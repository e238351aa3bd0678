#pragma once
// Files by descriptor, the same calls on Linux (POSIX) and Windows (the C
// runtime's descriptors over the Win32 file API).
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

enum class FileKind { kMissing, kRegular, kFolder, kFifo, kCharDevice, kBlockDevice, kSocket, kOther };

// Calls that return int return 0 or an errno value, unless they say otherwise.
// What is at `path` once links are followed.
FileKind kind_at(const std::filesystem::path& path);
FileKind kind_of(int fd);
// The descriptors of standard input and output, set to carry bytes unchanged.
int standard_input();
int standard_output();
// The descriptor that an OUTFILE naming one stands for ("/dev/stdout",
// "/dev/fd/3"), or -1.
int descriptor_named(const std::string& name);
// Opens for reading without waiting: a FIFO without a writer does not block.
int open_for_reading(const std::filesystem::path& path, int& fd);
// Opens an existing file for writing, neither creating nor truncating it.
int open_existing(const std::filesystem::path& path, int& fd);
// Creates `path`, which must not exist yet (EEXIST when the name is taken).
int create_new_file(const std::filesystem::path& path, int& fd);
// Reads until `size` bytes or the end; `got` says how many came.
int read_full(int fd, char* buffer, size_t size, size_t& got);
int write_all(int fd, std::string_view data);
int rewind_file(int fd);
// Makes the file durable and closes it.
int sync_and_close(int fd);
void close_file(int fd);
bool same_file(int a, int b);

// What tells a file from another and a changed file from the one it was:
// st_dev and st_ino, size and the times of modification and of change on
// Linux; the volume's serial number and the file index, size and the time
// of the last write on Windows (which keeps no time of change there).
struct FileState {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // in the system's own units
  std::int64_t changed = 0;
  bool operator==(const FileState&) const = default;
  bool is_file(const FileState& other) const { return volume == other.volume && index == other.index; }
};
int state_of(int fd, FileState& state);
// Of the file a name leads to now, links followed.
int state_at(const std::filesystem::path& path, FileState& state);
// Puts `from` in the place of `to`, replacing a file there in one step.
// "" or what went wrong.
std::string replace_file(const std::filesystem::path& from, const std::filesystem::path& to);
