#pragma once
#include <cstdio>
#include <string>
#include <string_view>

// Turns a path as the program writes it (backslashes, any letter case) into
// one the operating system opens.
std::string native_path(std::string_view path);

// Opens a native path for binary reading, or for writing (created or
// emptied); nullptr when that fails. Reading opens regular files only.
FILE* open_native(const std::string& native, bool writing);
// Deletes a file; false when that fails.
bool remove_native(const std::string& native);
