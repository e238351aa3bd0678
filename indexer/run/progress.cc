#include "indexer/run/progress.h"

#include <cmath>

#include "indexer/numbers.h"

namespace velmor {

std::string format_duration(double seconds) {
  char text[48];
  if (!(seconds >= 0)) seconds = 0;
  if (seconds < 10) {
    std::snprintf(text, sizeof text, "%.1f s", seconds);
  } else if (seconds < 60) {
    std::snprintf(text, sizeof text, "%.0f s", seconds);
  } else {
    uint64_t whole = static_cast<uint64_t>(std::llround(seconds));
    if (whole >= 3600) {
      std::snprintf(text, sizeof text, "%llu h %02llu min", static_cast<unsigned long long>(whole / 3600),
                    static_cast<unsigned long long>(whole / 60 % 60));
    } else {
      std::snprintf(text, sizeof text, "%llu min %02llu s", static_cast<unsigned long long>(whole / 60),
                    static_cast<unsigned long long>(whole % 60));
    }
  }
  return text;
}

std::string format_progress(const char* what, uint64_t done, uint64_t total, const char* unit, uint64_t bytes_done,
                            uint64_t bytes_total, double seconds) {
  const double mb = 1e6;
  // A folder of a few letters reads "0.0 of 0.0 MB" in megabytes; the
  // total's own size picks the unit so the figures always say something.
  const bool small = bytes_total < 1e6;
  const double unit_bytes = small ? 1e3 : mb;
  char numbers[160];
  std::snprintf(numbers, sizeof numbers, ", %.1f of %.1f %s", bytes_done / unit_bytes, bytes_total / unit_bytes,
                small ? "KB" : "MB");
  std::string line = std::string(what) + " " + grouped(done) + " of " + grouped(total) + " " + unit + numbers;
  if (seconds > 0.5 && bytes_done > 0) {
    double rate = bytes_done / mb / seconds;
    std::snprintf(numbers, sizeof numbers, ", %.1f MB/s", rate);
    line += numbers;
    if (bytes_done < bytes_total) line += ", " + format_duration((bytes_total - bytes_done) / mb / rate) + " left";
  }
  return line;
}

void ProgressLine::update(const std::string& text, double fraction) {
  auto now = std::chrono::steady_clock::now();
  if (terminal_) {
    if (now - last_ < std::chrono::milliseconds(200)) return;
    last_ = now;
    std::fprintf(out_, "\r%s\033[K", text.c_str());
  } else {
    int tenth = static_cast<int>(fraction * 10);
    if (tenth <= tenth_) return;
    tenth_ = tenth;
    std::fprintf(out_, "%s\n", text.c_str());
  }
  std::fflush(out_);
}

void ProgressLine::finish(const std::string& text) {
  std::fprintf(out_, terminal_ ? "\r%s\033[K\n" : "%s\n", text.c_str());
  std::fflush(out_);
}

void complain(const std::string& line) {
  std::fflush(stdout);
  std::fprintf(stderr, "velmor: %s\n", line.c_str());
}

}  // namespace velmor
