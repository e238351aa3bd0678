#pragma once
// One indexing from the pages to the swapped-in site, with its console
// report. Returns the exit status.
#include "indexer/run/arguments.h"

namespace velmor {

int run_indexer(const Arguments& args);

}  // namespace velmor
