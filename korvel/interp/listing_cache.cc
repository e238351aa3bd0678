#include "korvel/interp/listing_cache.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {
struct Kept {
  bool valid = false;
  std::string folder;  // as the listing's command spelled it
  dev_t dev = 0;
  ino_t ino = 0;
  timespec mtim{}, ctim{};
  bool had_partial_copies = false;  // left out of `entries`
  uint64_t used = 0;
  Entries entries;
};

// Two: a small folder listed between two listings of a large one (the
// working folder between listings of txt_in) does not cost the large one.
std::array<Kept, 2> kept;
uint64_t clock_of_use = 0;

// All kept listings together hold no more names than one may.
constexpr size_t kMostNames = 60000;

bool same_time(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

long long nanoseconds(const timespec& t) { return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec; }

// Times in whole hundredths of a second (or coarser) come from a file
// system with a coarse clock, or happen to look so: either way, the long wait.
long long settled_after(const timespec& mtim, const timespec& ctim) {
  constexpr long long kFine = 10'000'000, kCoarse = 2'000'000'000;
  bool coarse = mtim.tv_nsec % kFine == 0 && ctim.tv_nsec % kFine == 0;
  return coarse ? kCoarse : kFine;
}

Kept* kept_for(const struct stat& st) {
  for (Kept& k : kept)
    if (k.valid && k.dev == st.st_dev && k.ino == st.st_ino && same_time(k.mtim, st.st_mtim) &&
        same_time(k.ctim, st.st_ctim)) {
      k.used = ++clock_of_use;
      return &k;
    }
  return nullptr;
}
}  // namespace

const Entries* kept_listing(const struct stat& st) {
  Kept* k = kept_for(st);
  return k ? &k->entries : nullptr;
}

const Entries* kept_complete_listing(const struct stat& st) {
  Kept* k = kept_for(st);
  return k && !k->had_partial_copies ? &k->entries : nullptr;
}

const Entries* kept_complete_listing(const std::string& folder) {
  struct stat st;
  return stat(folder.c_str(), &st) == 0 ? kept_complete_listing(st) : nullptr;
}

bool listing_worth_keeping(size_t names) { return names <= kMostNames; }

void keep_listing(const std::string& folder, const struct stat& st, const timespec& read_at, Entries entries,
                  bool had_partial_copies) {
  for (Kept& k : kept)
    if (k.valid && k.dev == st.st_dev && k.ino == st.st_ino) k = {};  // the listing read now replaces it
  if (!listing_worth_keeping(entries.size())) return;
  long long last_change = std::max(nanoseconds(st.st_mtim), nanoseconds(st.st_ctim));
  if (nanoseconds(read_at) - last_change < settled_after(st.st_mtim, st.st_ctim)) return;
  for (Kept& k : kept)
    if (k.valid && k.entries.size() + entries.size() > kMostNames) k = {};
  // An empty place, else the one used least recently.
  Kept& slot = *std::min_element(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) {
    return a.valid != b.valid ? !a.valid : a.used < b.used;
  });
  slot = {true, folder, st.st_dev, st.st_ino, st.st_mtim, st.st_ctim, had_partial_copies, ++clock_of_use,
          std::move(entries)};
}

void drop_kept_listing(const std::string& folder) {
  for (Kept& k : kept)
    if (k.valid && folder == k.folder) k = {};
}
