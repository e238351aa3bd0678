#pragma once
// What is known of the names of a few folders, kept from one command to the
// next so that finding a name without regard to letter case costs one stat()
// of the folder instead of reading the whole folder: a filter that tells
// which lower-case forms are certainly not there. Its size is fixed,
// whatever the number of names. Another program's changes show
// in the folder's times and make the index be read again; the interpreter's
// own changes go through folder_changes.h, which tells the index directly,
// because two changes within one tick of the file system's clock leave the
// folder's times alike.
#include <ctime>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace korvel {

// The names in `folder` that equal `name` ignoring ASCII letter case, in
// listing order; none when `folder` is not a folder.
std::vector<std::string> names_ignoring_case(const std::string& folder, std::string_view name);
// The first of them, the one a lookup picks among case variants; "" if none.
std::string find_ignoring_case(const std::string& folder, std::string_view name);

// True only when the index of `folder`, which held still since it was last
// seen, has no name equal to `name` ignoring case (so neither `name` itself);
// false when it cannot tell without reading the folder. Asks no more than
// the folder's stat().
bool certainly_missing(const std::string& folder, std::string_view name);

// True the first time it is asked about `folder` (by device and inode)
// since the start or forget_folder_indexes(): for work done once per folder.
bool first_meeting(const std::string& folder);

// The wall clock, as folder times are compared with it: the index tells the
// interpreter's own changes by it.
timespec clock_now();

// Drops every index (and every first meeting), for a caller that changed folders behind the
// interpreter's back faster than their clocks can show, e.g. removed a folder
// and made another in its place (which may get the same inode).
void forget_folder_indexes();
// Folder times are compared only to `nanoseconds` (at most a second), as on a
// file system whose clock moves in such steps; tests set it to make the
// interpreter's changes land within one tick. 1 by default.
void set_folder_clock_tick(long long nanoseconds);

// For the interpreter's own changes (folder_changes.cc), which tell the index
// of each one themselves.
struct FolderStamp {
  dev_t dev;
  ino_t ino;
  timespec mtim;
  timespec ctim;
};
// The folder's identity and times, through the stat memo; false when it is
// no folder.
bool folder_stamp(const std::string& folder, FolderStamp& stamp);
// Whether a folder spelled so may have an index; a stat() only for a
// spelling not met since the last index was made.
bool may_have_index(const std::string& folder);
// One of the interpreter's own changes to `name` in `folder` (`added` or
// removed), made after `before` was taken, at `started` or later (asked only
// when expect_change() said so). False when
// the folder has no index (any more): then the folder's stamp in the stat
// memo must go too.
bool note_change(const std::string& folder, const FolderStamp& before, const timespec& started, std::string_view name,
                 bool added);
// Called before making such a change, so that telling it costs less; true
// when note_change() will need the time the change started (the wall clock
// costs a call on some machines).
bool expect_change(const FolderStamp& before, std::string_view name, bool added);
// For a folder removed here: its index and first meeting go, since its
// inode may be given to a folder made later.
void forget_removed_folder(const FolderStamp& gone);
// For a folder made or removed here: a spelling known to have no index may
// now name one.
void forget_folder_spellings();

}  // namespace korvel
