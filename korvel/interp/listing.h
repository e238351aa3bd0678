#pragma once
// Listing folders as dir, del, copy and for see them.
#include <string>
#include <string_view>

#include "korvel/interp/entries.h"

namespace korvel {

// Every entry but "." and ".." and partial copies, in listing order.
Entries list_folder(const std::string& native);
// The entries whose names match `pattern`, in listing order. A plain name
// (no wildcard) matches itself where it exists exactly, else the first of
// its case variants: one entry at most.
Entries matching_entries(const std::string& native, std::string_view pattern);

}  // namespace korvel
