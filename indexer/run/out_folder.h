#pragma once
// The output folder is replaced whole: the new index is built in a fresh
// folder beside it and swapped in when complete, so a reader sees the old
// index or the new one, never half of one.
#include <string>

namespace velmor {

// Removes what an interrupted run left beside `out` (its fresh and work
// folders). Call with the lock held.
void clear_leftovers(const std::string& out);
// Makes `out` + suffix + pid, empty; throws std::runtime_error naming it.
std::string make_fresh_folder(const std::string& out, const std::string& suffix);
// Puts `fresh` in the place of `out` and removes the earlier index.
// Throws std::runtime_error, leaving `out` as it was, when the swap fails.
void swap_in(const std::string& fresh, const std::string& out);

}  // namespace velmor
