#pragma once
// The command line: velmor_01_209.exe [--locale NAME] [--memory MB] [IN_DIR [OUT_DIR]],
// or velmor_01_209.exe --vertical FILE [IN_DIR] to export instead of indexing.
#include <cstddef>
#include <string>
#include <vector>

#include "indexer/words/words.h"

namespace velmor {

enum ExitStatus {
  kAllIndexed = 0,
  kSomeSkipped = 1,  // some pages could not be indexed; the others were
  kBadUsage = 2,
  kFailed = 3,  // no index was made; an earlier one is untouched
  kBusy = 4,    // another velmor is indexing into the same folder
};

struct Arguments {
  bool help = false;
  bool version = false;
  bool none = false;  // started bare, as korvel starts it
  std::string in_dir = "htm_in";
  std::string out_dir = "htm_out";
  std::string locale;  // "" = the user's
  size_t memory_mb = 256;
  WordRules words;            // each rule on unless switched off
  std::string vertical_file;  // "" = index; else export the pages to this file alone
};

// `args` without the program's name. On a bad argument returns false and
// says why in `error`.
bool parse_arguments(const std::vector<std::string>& args, Arguments& out, std::string& error);

extern const char kUsage[];
extern const char kHelp[];

}  // namespace velmor
