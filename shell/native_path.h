#pragma once
#include <string>
#include <string_view>

// Turns a path as the program writes it (backslashes, any letter case) into
// one the operating system opens.
std::string native_path(std::string_view path);
