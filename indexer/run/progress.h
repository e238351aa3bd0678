#pragma once
// What the indexer shows while it works: one line updated in place on a
// terminal, a line per tenth of the work when the output is a file or pipe.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace velmor {

// "2 min 05 s", "14 s", "0.4 s".
std::string format_duration(double seconds);
// "reading 1,234 of 3,949 pages, 31.2 of 100.0 MB, 25.3 MB/s, 3 s left"
std::string format_progress(const char* what, uint64_t done, uint64_t total, const char* unit, uint64_t bytes_done,
                            uint64_t bytes_total, double seconds);

// A warning or refusal on standard error, after what standard output holds
// so far, so that the two read in order on one console.
void complain(const std::string& line);

class ProgressLine {
 public:
  ProgressLine(std::FILE* out, bool terminal) : out_(out), terminal_(terminal) {}
  // Shows `text` now and then; `fraction` of the work is done.
  void update(const std::string& text, double fraction);
  // Shows `text` for good and ends the line.
  void finish(const std::string& text);

 private:
  std::FILE* out_;
  bool terminal_;
  std::chrono::steady_clock::time_point last_{};
  int tenth_ = -1;
};

}  // namespace velmor
