#pragma once
// Test support: temporary working folders and runs of the real program with
// keys piped in.
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/child_process.h"
#include "common/test_files.h"

namespace korvel {

// A fresh folder under the system's temporary folder. While it lives it is
// the current folder (for in-process tests); it is removed afterwards.
// A new folder may reuse a removed one's inode, so in-process commands are
// made to forget the folders they knew.
struct WorkFolder : common::WorkFolder {
  WorkFolder();
};

using common::read_file;
using common::write_file;
// Splits console or file text into lines at CR LF; a final line without CR LF
// is kept.
std::vector<std::string> crlf_lines(std::string_view text);
// Every file below `root` with its content, by relative path (folders end in /).
std::map<std::string, std::string> snapshot(const std::filesystem::path& root);

// The tools a run needs beside it: convertcp.exe, wget.exe and the fake
// indexer as `indexer_name`.
void install_tools(const std::filesystem::path& folder, std::string_view indexer_name = "velmor_01_209.exe");

// For a child about to run the program: a UTF-8 locale, so "chcp" reports
// 65001, and no graphical session, so "start" runs the indexer in the
// background with a log instead of opening a window.
void use_test_environment();

// What the fake indexer recorded in `velmor`: its working folder and the
// pages it found. It runs detached, so this waits (20 s at most) for it.
std::string indexer_log(const std::filesystem::path& velmor);

struct RunResult {
  int exit_status = -1;  // -1 when killed by a signal
  int signal = 0;
  std::string out;
  std::string err;
};

// What a run that has ended left: its status and the two output files,
// which are read and removed.
RunResult collect_run(int status, const std::filesystem::path& out, const std::filesystem::path& err);

// A run of the program in `folder`, its output into `out` and `err`, in the
// test environment; argv is {"korvel"}.
common::ChildCommand korvel_child(const std::filesystem::path& folder, const std::filesystem::path& out,
                                  const std::filesystem::path& err);
// A fresh name for a run's output, outside any working folder.
std::filesystem::path scratch_output(std::string_view what);

// Runs the program in `folder` with `keys` on its standard input, which ends
// after them. argv[0] is `invoked_as`. Killed after 120 s.
RunResult run_korvel(const std::filesystem::path& folder, std::string_view keys,
                     const std::vector<std::string>& args = {}, const std::string& invoked_as = "korvel");

}  // namespace korvel
