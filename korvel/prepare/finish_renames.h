#pragma once

namespace korvel {

// Finishes what a run killed while renaming documents in txt_in left
// undone, before anything lists txt_in.
void finish_unfinished_renames();

}  // namespace korvel
