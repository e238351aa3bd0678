#include "interp/listing_cache.h"

#include <algorithm>
#include <utility>

namespace {
struct Kept {
  bool valid = false;
  std::string folder;  // as the listing's command spelled it
  dev_t dev = 0;
  ino_t ino = 0;
  timespec mtim{}, ctim{};
  Entries entries;
} kept;

bool same_time(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

long long nanoseconds(const timespec& t) { return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec; }

// Times in whole hundredths of a second (or coarser) come from a file
// system with a coarse clock, or happen to look so: either way, the long wait.
long long settled_after(const timespec& mtim, const timespec& ctim) {
  constexpr long long kFine = 10'000'000, kCoarse = 2'000'000'000;
  bool coarse = mtim.tv_nsec % kFine == 0 && ctim.tv_nsec % kFine == 0;
  return coarse ? kCoarse : kFine;
}
}  // namespace

const Entries* kept_listing(const struct stat& st) {
  if (!kept.valid || kept.dev != st.st_dev || kept.ino != st.st_ino || !same_time(kept.mtim, st.st_mtim) ||
      !same_time(kept.ctim, st.st_ctim))
    return nullptr;
  return &kept.entries;
}

// Beyond this, a kept listing would cost megabytes (what commands pick from
// it shares its names, at 8 bytes an entry); such a folder is read again.
bool listing_worth_keeping(size_t names) { return names <= 60000; }

void keep_listing(const std::string& folder, const struct stat& st, const timespec& read_at, Entries entries) {
  kept = {};
  if (!listing_worth_keeping(entries.size())) return;
  long long last_change = std::max(nanoseconds(st.st_mtim), nanoseconds(st.st_ctim));
  if (nanoseconds(read_at) - last_change < settled_after(st.st_mtim, st.st_ctim)) return;
  kept = {true, folder, st.st_dev, st.st_ino, st.st_mtim, st.st_ctim, std::move(entries)};
}

void drop_kept_listing(const std::string& folder) {
  if (kept.valid && folder == kept.folder) kept = {};
}
