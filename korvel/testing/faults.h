#pragma once
// Test support for runs under real faults: a child set up before it starts
// (a file size limit, another user), killed when a condition holds, or kept
// waiting for keys while another run starts beside it.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "common/child_process.h"
#include "korvel/testing/e2e.h"

namespace korvel {

struct FaultyRun {
  // Runs in the child just before the program starts.
  std::function<void()> child_setup;
  // Polled about every millisecond; the program is killed (SIGKILL) as soon
  // as it says yes.
  std::function<bool()> kill_when;
};

// Like run_korvel; result.signal is SIGKILL when `kill_when` struck.
RunResult run_korvel_faulty(const std::filesystem::path& folder, std::string_view keys, const FaultyRun& faults);

// A run whose standard input stays open: keys are typed while it waits.
class RunningKorvel {
 public:
  explicit RunningKorvel(const std::filesystem::path& folder);
  ~RunningKorvel();
  RunningKorvel(const RunningKorvel&) = delete;
  RunningKorvel& operator=(const RunningKorvel&) = delete;
  void type(std::string_view keys);
  // Waits (10 s at most) until the output holds `text`.
  bool wait_for_output(std::string_view text);
  std::string output() const;
  bool ended();
  void kill_now();
  // Closes the input and waits for the end.
  RunResult finish();

 private:
  std::filesystem::path out_, err_;
  common::Child child_;
};

// Runs the program and answers every prompt as a user going on would: "1"
// at the screens and the hand-off, "2" at each same-name report, a key at
// the last stop.
RunResult run_answering_every_prompt(const std::filesystem::path& folder);

// Files directly in `folder` (not folders), by name.
size_t count_files(const std::filesystem::path& folder);

}  // namespace korvel
