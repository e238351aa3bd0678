#pragma once
// --vertical: the pages' words into one file for a corpus engine, read and
// split as an indexing would, with its console report. No index is made or
// touched, so no folder is locked. Returns the exit status.
#include "indexer/run/arguments.h"

namespace velmor {

int run_export(const Arguments& args, bool terminal);

}  // namespace velmor
