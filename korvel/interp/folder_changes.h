#pragma once
// The interpreter's own changes to folders. Each goes through here so that
// the index of the folder changed hears of it at once: two changes within one
// tick of the file system's clock leave the folder's times alike, and the
// index could not tell them apart from the folder's times alone.
#include <string>
#include <sys/types.h>

namespace korvel {

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

}  // namespace korvel
