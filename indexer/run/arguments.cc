#include "indexer/run/arguments.h"

#include <charconv>

namespace velmor {

const char kUsage[] =
    "usage: velmor_01_209.exe [--locale NAME] [--memory MB] [--no-elision] [--no-apostrophes]\n"
    "                         [IN_DIR [OUT_DIR]]\n"
    "       velmor_01_209.exe --vertical FILE [--no-elision] [--no-apostrophes] [IN_DIR]";

const char kHelp[] =
    "usage: velmor_01_209.exe [--locale NAME] [--memory MB] [--no-elision] [--no-apostrophes]\n"
    "                         [IN_DIR [OUT_DIR]]\n"
    "       velmor_01_209.exe --vertical FILE [--no-elision] [--no-apostrophes] [IN_DIR]\n"
    "\n"
    "Indexes every word of the pages (*.htm, *.html) in IN_DIR (default htm_in)\n"
    "and writes a browsable concordance into OUT_DIR (default htm_out): start\n"
    "with OUT_DIR/index.htm. The new index is built beside OUT_DIR and replaces\n"
    "it only when complete.\n"
    "\n"
    "  --locale NAME  alphabetical order of this language, e.g. sl, de, el\n"
    "                 (default: the user's locale, else the root order)\n"
    "  --memory MB    memory for the word lists before they go to disk\n"
    "                 (default 256, at least 16)\n"
    "  --no-elision   keep an elided article with its word: l'homme, dell'arte\n"
    "                 (default: l' and homme are two words, as dell' and arte)\n"
    "  --no-apostrophes\n"
    "                 keep l\u2019option and l'option apart (default: \u2019 and\n"
    "                 the other apostrophe look-alikes are one with ')\n"
    "  --vertical FILE\n"
    "                 write the pages' words to FILE in the vertical format\n"
    "                 corpus engines read (CWB, BlackLab), split as the index\n"
    "                 splits them, and make no index; an earlier export in\n"
    "                 FILE is replaced, any other file is left alone\n"
    "  --help         this text\n"
    "  --version      the version\n"
    "\n"
    "Exit status: 0 every page indexed, 1 some pages skipped (each is named),\n"
    "2 bad arguments, 3 no index made, 4 another velmor is indexing into OUT_DIR.\n"
    "With --vertical the same, 3 meaning no file written; --locale changes no word\n"
    "and is taken so that an export can repeat the indexing's command line.\n";

namespace {

bool parse_megabytes(const std::string& text, size_t& out) {
  size_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 16 || value > (size_t{1} << 30)) return false;
  out = value;
  return true;
}

}  // namespace

bool parse_arguments(const std::vector<std::string>& args, Arguments& out, std::string& error) {
  out = Arguments();
  out.none = args.empty();
  std::vector<std::string> folders;
  bool options_end = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (options_end || a.empty() || a[0] != '-' || a == "-") {
      folders.push_back(a);
      continue;
    }
    if (a == "--") {
      options_end = true;
      continue;
    }
    if (a == "--help" || a == "-h") {
      out.help = true;
      continue;
    }
    if (a == "--no-elision") {
      out.words.split_elision = false;
      continue;
    }
    if (a == "--no-apostrophes") {
      out.words.unify_apostrophes = false;
      continue;
    }
    if (a == "--version") {
      out.version = true;
      continue;
    }
    std::string name = a.substr(0, a.find('='));
    if (name != "--locale" && name != "--memory" && name != "--vertical") {
      error = "unknown option " + a;
      return false;
    }
    std::string value;
    if (name.size() < a.size()) {
      value = a.substr(name.size() + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      error = name + " needs a value";
      return false;
    }
    if (name == "--vertical") {
      if (value.empty()) {
        error = "--vertical needs a file name";
        return false;
      }
      out.vertical_file = value;
    } else if (name == "--locale") {
      if (value.empty()) {
        error = "--locale needs a value";
        return false;
      }
      out.locale = value;
    } else if (!parse_megabytes(value, out.memory_mb)) {
      error = "--memory takes a number of megabytes, at least 16: " + value;
      return false;
    }
  }
  if (folders.size() > 2) {
    error = "too many arguments: " + folders[2];
    return false;
  }
  if (!out.vertical_file.empty() && folders.size() > 1) {
    error = "--vertical writes one file and no index, so it takes no OUT_DIR: " + folders[1];
    return false;
  }
  if (folders.size() > 0) out.in_dir = folders[0];
  if (folders.size() > 1) out.out_dir = folders[1];
  for (const std::string& f : folders) {
    if (f.empty()) {
      error = "a folder name is empty";
      return false;
    }
  }
  return true;
}

}  // namespace velmor
