#pragma once
// The last whole listings of two folders, kept while the folders hold still:
// korvel lists txt_in again and again (each extension, then every file,
// then the list it moves by) before it changes anything there, and with
// thousands of documents each listing reads and sorts every name anew. The
// two hold no more than 60,000 names together: more would cost megabytes.
//
// A folder's times show a change only when they differ from what was seen;
// a change landing within the same tick of the file system's clock as the
// one before would look the same. A listing is therefore reused only when it
// was read well after the folder last changed: 10 ms later where the times
// are finer than that (Linux takes them from a clock that moves in steps of
// at most 10 ms), two seconds where they are coarse.
#include <string>
#include <sys/stat.h>

#include "korvel/interp/entries.h"

// Whether a listing of so many names is kept at all.
bool listing_worth_keeping(size_t names);
// The listing kept for the folder `st` describes, in listing order; nullptr
// when there is none or the folder may have changed since.
const Entries* kept_listing(const struct stat& st);
// The same, for work that must see every name: only a listing of a folder
// that held no partial copies (which listings leave out) as it was read.
const Entries* kept_complete_listing(const struct stat& st);
// That listing for `folder` as a stat() asked now finds it: not from the
// stat memo, which may hold a folder's times from before the interpreter's
// own changes.
const Entries* kept_complete_listing(const std::string& folder);
// Keeps `entries` (every name of `folder` but partial copies, of which it
// `had_partial_copies`, in listing order), read after `read_at`
// (CLOCK_REALTIME) from the folder that `st`, taken before, describes.
void keep_listing(const std::string& folder, const struct stat& st, const timespec& read_at, Entries entries,
                  bool had_partial_copies);
// Drops the kept listing when it is of `folder` (spelled as when it was
// kept), which the interpreter is about to change: its memory is not held
// for a listing that cannot serve. Another spelling leaves it to be found
// stale by its times.
void drop_kept_listing(const std::string& folder);
