#pragma once
// Whether a folder exists is learnt from a listing of the names without an
// extension. Only the folder's own name counts: old_htm_in, or a working
// folder path that merely holds "htm_in", must not pass for htm_in.
#include <string_view>

namespace korvel {

// A bare listing line names `folder` when, trimmed and lower-cased, it is the
// name; a full listing line also when it ends in a blank and the name.
// `folder` is given in lower case.
bool line_names_folder(std::string_view line, std::string_view folder, bool full_listing);

// Reads the listing at `list_path` and tells whether a line names `folder`.
bool listing_names_folder(std::string_view list_path, std::string_view folder, bool full_listing);

// Whether `path`, as the program writes it, is a folder. A listing of names
// cannot tell: a file named htm_in passes it, and nothing can be put into it.
bool is_folder(std::string_view path);

// Ends the run at a stage whose folder (as the program writes it) could not
// be made: "Subfolder txt_wrk must be created." and the any-key stop.
[[noreturn]] void stop_for_missing_folder(std::string_view folder);

}  // namespace korvel
