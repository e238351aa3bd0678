#pragma once
// The output folder is replaced whole: the new index is built in a fresh
// folder beside it and swapped in when complete, so a reader sees the old
// index or the new one, never half of one.
//
// Every folder the indexer makes holds a marker file, and the indexer
// removes no folder without it: a user's "htm_out.old-backup" beside the
// index, or an input folder so named, stays.
#include <string>
#include <string_view>

namespace velmor {

// The marker inside each folder the indexer makes; it stays in the index.
constexpr std::string_view kMarkerName = ".velmor_folder";

// Whether `dir` is a folder (not a link to one) holding the marker.
bool made_by_velmor(const std::string& dir);
// Removes what an interrupted run left beside `out`: its fresh, work and
// old folders, those with the marker only. Call with the lock held.
void clear_leftovers(const std::string& out);
// Makes a new folder `out` + suffix + pid (with "-N" after it when that
// name is taken) holding only the marker; throws std::runtime_error naming it.
std::string make_fresh_folder(const std::string& out, const std::string& suffix);
// Puts `fresh` in the place of `out` and removes the earlier index.
// Throws std::runtime_error, leaving `out` as it was, when the swap fails.
void swap_in(const std::string& fresh, const std::string& out);

}  // namespace velmor
