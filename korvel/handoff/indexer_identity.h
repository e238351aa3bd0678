#pragma once
// The indexers that the tool check found, as they were at that moment. The
// hand-off starts only one of them, and only unchanged: a program that came
// into the working folder during the run is never taken for the indexer.
#include <string_view>

namespace korvel {

// Reads exe_files.txt as the tool check left it and notes each file's
// identity. Kept in memory: nothing in the working folder can change it.
void remember_indexers();
// Whether `name` (any letter case) is one of them and still the same file.
bool is_remembered_indexer(std::string_view name);

}  // namespace korvel
