#pragma once
// Writing the converted text so that OUTFILE is either untouched or complete.
#include <filesystem>
#include <string>
#include <string_view>

// Writes `data` to a new file beside `target` and renames it into place once
// it is complete and on disk. An existing target keeps its permissions; a
// symbolic link is followed, so the file it points at gets the text. "" or
// what went wrong; on failure nothing of the new file is left behind.
std::string replace_output(std::filesystem::path target, std::string_view data);

// Whether the two names are one file (same path, a link to it, another case
// of its name on a folder that ignores case).
bool same_file(const std::filesystem::path& a, const std::filesystem::path& b);
