#pragma once
// What is known of the names of a few folders, kept from one command to the
// next so that finding a name without regard to letter case costs one stat()
// of the folder instead of reading the whole folder: a filter that tells
// which lower-case forms are certainly not there, and the names last found
// in other letter cases. Its size is fixed, whatever the number of names. Another program's changes show
// in the folder's times and make the index be read again; the interpreter's
// own changes go through the functions below, which tell the index directly,
// because two changes within one tick of the file system's clock leave the
// folder's times alike.
#include <ctime>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

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

// The names of `folder` that hold no dot, in listing order, when its index
// held still since it was last seen and keeps them; false otherwise.
bool names_without_dot(const std::string& folder, std::vector<std::string>& names);

// True the first time it is asked about `folder` (by device and inode)
// since the start or forget_folder_indexes(): for work done once per folder.
bool first_meeting(const std::string& folder);

// The wall clock, as folder times are compared with it: the index tells the
// interpreter's own changes by it, and a kept listing its age.
timespec clock_now();

// Drops every index (and every first meeting), for a caller that changed folders behind the
// interpreter's back faster than their clocks can show, e.g. removed a folder
// and made another in its place (which may get the same inode).
void forget_folder_indexes();
// Folder times are compared only to `nanoseconds` (at most a second), as on a
// file system whose clock moves in such steps; tests set it to make the
// interpreter's changes land within one tick. 1 by default.
void set_folder_clock_tick(long long nanoseconds);

// open() with O_CREAT in `flags`. (The process ignores SIGXFSZ from start-up
// on: a write over the file size limit fails with EFBIG instead.)
int create_file(const std::string& native, int flags, mode_t mode);
// open() of an existing file for writing, which changes no folder.
int open_for_writing(const std::string& native, int flags);
// unlink(), mkdir() and rmdir(): true on success, errno as they leave it.
bool remove_file(const std::string& native);
// rename(): `to` is replaced at once, never seen half written.
bool rename_file(const std::string& from, const std::string& to);
bool make_folder(const std::string& native);
bool remove_folder(const std::string& native);
