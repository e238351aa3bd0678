#pragma once
// The output folder is replaced whole: the new index is built in a fresh
// folder beside it and swapped in when complete, so a reader sees the old
// index or the new one, never half of one.
//
// Nothing is removed that the indexer cannot prove its own. The folder it
// replaces must be missing, empty, or an index it wrote there (an index
// marker naming that folder). The folders it works in carry a work marker
// naming the very folder and the run, which a finished index never keeps,
// so a copy of an index, or of a work folder under another name, is never
// taken for a leftover.
#include <string>
#include <string_view>

namespace velmor {

// Inside each folder a run works in, from the moment it is made.
constexpr std::string_view kWorkMarkerName = ".velmor_folder";
// Inside a finished index, naming the folder it was written as.
constexpr std::string_view kIndexMarkerName = ".velmor_index";

enum class OutputState {
  absent,      // made by the swap
  empty,       // nothing to lose
  our_index,   // an index written under this very name
  not_folder,  // a file, a link or a device where the index would go
  theirs,      // anything else: the user's, never touched
};

// What stands at `out` now.
OutputState output_state(const std::string& out);

// The markers' texts, and whether a marker's text is the one `folder`
// (an absolute path) or `name` (a folder's last part) would carry.
std::string work_marker_text(const std::string& folder, long pid);
bool is_work_marker_of(std::string_view text, const std::string& folder);
std::string index_marker_text(const std::string& name);
bool is_index_marker_of(std::string_view text, const std::string& name);

// Removes what an interrupted run left beside `out`: its fresh, work and
// old folders that carry their own work marker, and such folders left
// empty by a kill before their marker was written. Never `keep` (the input
// folder). Call with the lock held.
void clear_leftovers(const std::string& out, const std::string& keep);
// Makes a new folder `out` + suffix + pid (with "-N" after it when that
// name is taken) holding only its work marker; throws std::runtime_error
// naming it.
std::string make_fresh_folder(const std::string& out, const std::string& suffix);
// Gives the work folder `fresh` the index marker naming `out`; its work
// marker stays until the swap, so a run killed before it leaves a folder
// the next run knows as a leftover.
void mark_as_index(const std::string& fresh, const std::string& out);
// Puts `fresh` in the place of `out`, drops its work marker and removes
// the earlier index, after checking again that `out` may be replaced. Throws std::runtime_error,
// leaving `out` as it was, when it may not or the swap fails.
void swap_in(const std::string& fresh, const std::string& out);

// The platform's halves.
// Swaps the names of two folders in one step: true when done; false with
// `unsupported` set when the file system cannot, else with `why`.
bool exchange_folders(const std::string& a, const std::string& b, bool& unsupported, std::string& why);
// Renames a folder; false with `why`. On Windows a folder whose file a
// browser holds open cannot be renamed for a moment, so it is retried.
bool rename_folder(const std::string& from, const std::string& to, std::string& why);
long process_id();

}  // namespace velmor
