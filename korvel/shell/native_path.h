#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

// Turns a path as the program writes it (backslashes, any letter case) into
// one the operating system opens.
std::string native_path(std::string_view path);

// Opens a path as the program writes it for binary reading, or for writing
// (created or emptied); -1 when that fails. Reading opens regular files
// only, and `size` gets the file's length then. `native` gets the path
// that was opened.
int open_native(std::string_view path, bool writing, uintmax_t& size, std::string& native);
// read() and write(): the byte count, or -1 with errno set.
long read_native(int fd, char* buffer, size_t size);
long write_native(int fd, const char* data, size_t size);
// Back to the first byte; false when that fails.
bool rewind_native(int fd);
void close_native(int fd);
// Whether a path as the program writes it names a regular file.
bool is_regular_native(std::string_view path);
// Deletes a file; false when that fails.
bool remove_native(const std::string& native);

}  // namespace korvel
