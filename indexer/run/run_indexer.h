#pragma once
// One indexing from the pages to the swapped-in site, with its console
// report. Returns the exit status.
#include "indexer/run/arguments.h"

namespace velmor {

// `terminal`: standard output is a console window, where progress rewrites
// one line.
int run_indexer(const Arguments& args, bool terminal);

}  // namespace velmor
