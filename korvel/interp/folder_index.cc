#include "korvel/interp/folder_index.h"

#include <algorithm>
#include <ctime>
#include <dirent.h>
#include <map>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <utility>

#include "korvel/base/text.h"
#include "korvel/interp/name_filter.h"
#include "korvel/interp/pattern.h"
#include "korvel/interp/stat_memo.h"

namespace korvel {

// What is not seen: another program's change that lands within the same tick
// of the folder's clock as the stat() the index last recorded (the folder's
// times then look unchanged); one that lands between the stat() the command
// took of the folder (kept in the stat memo for the rest of the command) and
// the interpreter's own change that follows; a folder removed by another
// program and replaced, within one tick, by a new one that got the same
// inode; one that lands within the tick of the folder's clock in which the
// interpreter's own change ended, or with a time no later than that after
// the wall clock was set back. Each stays unseen until the folder changes
// again. korvel's own file layer writes between commands, in practice in
// ticks of its own.
namespace {
long long tick_ns = 1;

bool same_time(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec / tick_ns == b.tv_nsec / tick_ns;
}

bool same(const FolderStamp& a, const FolderStamp& b) {
  return a.dev == b.dev && a.ino == b.ino && same_time(a.mtim, b.mtim) && same_time(a.ctim, b.ctim);
}

bool not_after(const timespec& a, const timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec <= b.tv_nsec);
}

// What the index keeps of a folder's names is bounded, whatever their number:
// a filter of the lower-case forms (a "maybe" reads the folder, which also
// renews the filter). Keeping the few names last found in other letter cases
// as well saved 1.5% of a whole run's processor time at 10,000 documents and
// 1.2% at 1,000 (bench_run, tmpfs), too little for the code it took.
constexpr size_t kMaxIndexes = 4;

// Whether the folder's clock keeps step with this process's: learnt at the
// first change made here, by looking at the folder's times after it.
enum class Clock { kUnknown, kInStep, kApart };

struct Index {
  FolderStamp stamp;  // the folder's times when last seen or last changed here
  // Changes made here since `stamp`, none of them later than `changed_by`:
  // times no later than that are this process's own, and the next stat()
  // of the folder, which a lookup takes anyway, renews the stamp.
  bool own_changes = false;
  timespec changed_by{};
  Clock clock = Clock::kUnknown;
  NameFilter filter;  // started when the folder is read whole: the index is built
  uint64_t used = 0;
};

using Key = std::pair<dev_t, ino_t>;

// By device and inode, so that every spelling of a folder ("." or its full
// path, any letter case) shares one index and hears of every change.
std::map<Key, Index> indexes;
uint64_t clock_of_use = 0;

// Folders as spelled in paths -> the key of their index, or none. A change
// in a folder without an index then costs no stat() of the folder. Cleared
// whenever an index is made, so that "none" never hides a new one.
// At most a few dozen, looked up by a string compare each: cheaper than hashing.
// Against a stat() of the folder (through the stat memo) at each lookup and
// change, it saves 2.8% of a whole run's processor time at 10,000 documents
// (1.799 s against 1.749 s) and 3.9% at 1,000 (bench_run, tmpfs, medians of
// 9 and 15 interleaved rounds).
std::vector<std::pair<std::string, std::optional<Key>>> spellings;

std::optional<Key>* spelling_of(std::string_view folder) {
  for (auto& [spelled, key] : spellings)
    if (spelled == folder) return &key;
  return nullptr;
}

void spell(std::string_view folder, std::optional<Key> key) {
  if (std::optional<Key>* known = spelling_of(folder)) {
    *known = key;
    return;
  }
  if (spellings.size() >= 64) spellings.clear();
  spellings.emplace_back(std::string(folder), key);
}

// The lower-case form of a name, in a buffer kept for it: names are looked
// up and told of once or twice per file.
std::string_view lower_case(std::string_view name) {
  static std::string lower;
  to_lower_ascii_into(lower, name);
  return lower;
}

// Whether the folder, whose times are `now`, changed only here since the
// index last saw it; the index then takes `now` as its stamp.
bool held_still(Index& index, const FolderStamp& now) {
  if (same(index.stamp, now)) return true;
  if (!index.own_changes || now.dev != index.stamp.dev || now.ino != index.stamp.ino ||
      !not_after(now.mtim, index.changed_by) || !not_after(now.ctim, index.changed_by))
    return false;
  index.stamp = now;
  index.own_changes = false;
  return true;
}

bool by_listing(const std::string& a, std::string_view b) { return listing_before(a, b); }

void add_name(std::vector<std::string>& variants, std::string_view name) {
  auto at = std::lower_bound(variants.begin(), variants.end(), name, by_listing);
  if (at == variants.end() || *at != name) variants.insert(at, std::string(name));
}

// Every name of `folder` but "." and "..".
template <typename Take>
void each_name(const std::string& folder, Take take) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (dirent* entry = readdir(dir)) {
    std::string_view name = entry->d_name;
    if (name != "." && name != "..") take(name);
  }
  closedir(dir);
}

// Reads the folder once: the variants of `lower`, and, when `index` is
// given, its filter anew.
std::vector<std::string> read_variants(const std::string& folder, std::string_view lower, Index* index) {
  std::vector<std::string> found;
  if (index) index->filter.start();
  each_name(folder, [&](std::string_view each) {
    std::string_view each_lower = lower_case(each);
    if (index) index->filter.add(each_lower);
    if (each_lower == lower) add_name(found, each);
  });
  return found;
}

Index& index_for(const Key& key, bool& made) {
  auto [at, inserted] = indexes.try_emplace(key);
  made = inserted;
  if (inserted) {
    spellings.clear();
    if (indexes.size() > kMaxIndexes) {
      auto oldest = indexes.end();
      for (auto i = indexes.begin(); i != indexes.end(); ++i)
        if (i != at && (oldest == indexes.end() || i->second.used < oldest->second.used)) oldest = i;
      indexes.erase(oldest);
    }
  }
  at->second.used = ++clock_of_use;
  return at->second;
}

// The names equal to `name` ignoring case, in listing order. The index is
// built when a folder is first met, and after that only for a folder that
// held still since it was last seen: one that another program changes
// between every two lookups would be read whole each time, and a single pass
// looking for one name costs less than building the index. At first sight
// it is built at once: the folder would otherwise be read whole twice, and a
// folder of documents holds tens of thousands of names.
std::vector<std::string> variants(const std::string& folder, std::string_view name) {
  FolderStamp now{};
  if (!folder_stamp(folder, now)) return {};
  bool made = false;
  Index& index = index_for({now.dev, now.ino}, made);
  spell(folder, Key{now.dev, now.ino});
  bool still = !made && held_still(index, now);
  std::string lower = to_lower_ascii(name);
  if (made) index.stamp = now;  // taken before the folder is read, as below
  if (!still && !made) {
    // The stamp is taken before the folder is read: a change made while it
    // is read shows as a newer time at the next use.
    index.stamp = now;
    index.own_changes = false;
    index.filter.release();
    return read_variants(folder, lower, nullptr);
  }
  if (index.filter.started() && !index.filter.may_hold(lower)) return {};
  return read_variants(folder, lower, &index);
}

}  // namespace

timespec clock_now() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return now;
}

std::vector<std::string> names_ignoring_case(const std::string& folder, std::string_view name) {
  return variants(folder, name);
}

bool certainly_missing(const std::string& folder, std::string_view name) {
  std::optional<Key>* spelling = spelling_of(folder);
  if (!spelling || !*spelling) return false;
  auto found = indexes.find(**spelling);
  if (found == indexes.end() || !found->second.filter.started()) return false;
  std::string_view lower = lower_case(name);
  found->second.filter.prefetch(lower);  // while the folder's stat() runs
  FolderStamp now{};
  if (!folder_stamp(folder, now) || found->first != Key{now.dev, now.ino} || !held_still(found->second, now))
    return false;
  return !found->second.filter.may_hold(lower);
}

std::string find_ignoring_case(const std::string& folder, std::string_view name) {
  std::vector<std::string> found = variants(folder, name);
  return found.empty() ? "" : found.front();
}

namespace {
std::set<std::pair<dev_t, ino_t>> met_folders;
}  // namespace

bool first_meeting(const std::string& folder) {
  FolderStamp now{};
  return folder_stamp(folder, now) && met_folders.insert({now.dev, now.ino}).second;
}

void forget_folder_indexes() {
  indexes.clear();
  spellings.clear();
  met_folders.clear();
}

void set_folder_clock_tick(long long nanoseconds) {
  tick_ns = nanoseconds;
  forget_folder_indexes();
}

// One of the interpreter's own changes, made between taking `before` and
// this call, at `started` or later. An index that had already missed a
// change is dropped rather than patched, so that it is read again at its
// next use.
// False when the index is gone; else the folder's stamp in the stat memo
// may stay for the rest of the command: the index either took it anew, or
// knows every later time up to `changed_by` for its own.
bool note_change(const std::string& folder, const FolderStamp& before, const timespec& started, std::string_view name,
                 bool added) {
  auto found = indexes.find({before.dev, before.ino});
  if (found == indexes.end()) return false;
  Index& index = found->second;
  timespec finished = clock_now();
  bool plain_name = !name.empty() && name != "." && name != "..";
  if (!plain_name || !held_still(index, before)) {
    indexes.erase(found);
    return false;
  }
  // The first change shows whether the folder's times come from a clock in
  // step with this one (within a second, as coarse file system clocks
  // are); where they do not, every change is followed by a stat().
  if (index.clock != Clock::kInStep) {
    forget_stat(folder);
    FolderStamp after{};
    if (!folder_stamp(folder, after) || after.dev != before.dev || after.ino != before.ino) {
      indexes.erase(found);
      return false;
    }
    if (index.clock == Clock::kUnknown) {
      timespec second_before = {started.tv_sec - 1, started.tv_nsec};
      bool in_step = not_after(after.mtim, finished) && not_after(second_before, after.mtim) &&
                     not_after(after.ctim, finished) && not_after(second_before, after.ctim);
      index.clock = in_step ? Clock::kInStep : Clock::kApart;
    }
    index.stamp = after;
  } else {
    index.own_changes = true;
    index.changed_by = finished;
  }
  std::string_view lower = lower_case(name);
  if (added) index.filter.add(lower);  // nothing, for an index not built
  return true;
}

bool expect_change(const FolderStamp& before, std::string_view name, bool added) {
  auto found = indexes.find({before.dev, before.ino});
  if (found == indexes.end()) return false;
  if (added) found->second.filter.prefetch(lower_case(name));
  return found->second.clock == Clock::kUnknown;
}

// Whether a folder spelled so may have an index; a stat() only for a
// spelling not met since the last index was made.
bool may_have_index(const std::string& folder) {
  std::optional<Key>* known = spelling_of(folder);
  if (!known) {
    struct stat st;
    std::optional<Key> key;
    if (memo_stat(folder, true, &st) == 0 && indexes.count({st.st_dev, st.st_ino})) key = Key{st.st_dev, st.st_ino};
    spell(folder, key);
    return key.has_value();
  }
  return *known && indexes.count(**known);
}

void forget_removed_folder(const FolderStamp& gone) {
  // Its inode may be given to a folder made later.
  indexes.erase({gone.dev, gone.ino});
  met_folders.erase({gone.dev, gone.ino});
}

void forget_folder_spellings() { spellings.clear(); }

bool folder_stamp(const std::string& folder, FolderStamp& stamp) {
  struct stat st;
  if (memo_stat(folder, true, &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  stamp = {st.st_dev, st.st_ino, st.st_mtim, st.st_ctim};
  return true;
}

}  // namespace korvel
