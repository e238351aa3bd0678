#pragma once
// The indexer run as a program, for the tests that hold its whole run (exit
// status, messages, the files it leaves) rather than a function of it.
// POSIX only, like the child process it starts.
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "common/child_process.h"
#include "common/test_files.h"

namespace velmor::testing {

struct Outcome {
  int status = -1;
  std::string out, err;
};

// Runs the indexer in `dir` without a graphical session; `file_limit` caps
// the size of every file it writes, with the signal for that ignored so the
// write fails instead. Its output is taken in and its log files removed, so
// that `dir` holds only what the indexer left.
inline Outcome run_velmor(const std::filesystem::path& dir, const std::vector<std::string>& args,
                          rlim_t file_limit = RLIM_INFINITY) {
  common::ChildCommand command;
  command.program = VELMOR_BIN;
  command.argv = {VELMOR_BIN};
  command.argv.insert(command.argv.end(), args.begin(), args.end());
  command.folder = dir.string();
  command.out_path = (dir / "stdout.log").string();
  command.err_path = (dir / "stderr.log").string();
  command.in_child = [file_limit] {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{file_limit, file_limit};
    setrlimit(RLIMIT_FSIZE, &limit);
  };
  common::Child child(command);
  child.close_input();
  Outcome r;
  r.status = common::exit_code(child.wait(std::chrono::hours(1)));
  r.out = common::read_file(command.out_path);
  r.err = common::read_file(command.err_path);
  std::filesystem::remove(command.out_path);
  std::filesystem::remove(command.err_path);
  return r;
}

}  // namespace velmor::testing
