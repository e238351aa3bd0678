#pragma once
// Replacing a file whole: the new content is written under another name in
// the same folder and takes the file's own name only once all of it is
// there, so that the name never holds part of a file. A failure at any step
// leaves the file as it was and removes what was written aside.
#include <sys/types.h>

#include <string>
#include <string_view>

namespace common {

// How files are made, renamed and removed. A program that keeps track of
// its own changes to folders passes its own; plain system calls otherwise.
struct FileOps {
  int (*create)(const std::string& path, int flags, mode_t mode);
  bool (*rename)(const std::string& from, const std::string& to);
  bool (*remove)(const std::string& path);
};
extern const FileOps kPlainFileOps;

class FileAside {
 public:
  explicit FileAside(const FileOps& ops = kPlainFileOps) : ops_(ops) {}
  ~FileAside() { abandon(); }
  FileAside(const FileAside&) = delete;
  FileAside& operator=(const FileAside&) = delete;

  // Makes `aside` anew for writing, with `mode` less the umask. A file of
  // that name left by a process that was killed is replaced. False with
  // errno set when it cannot be made.
  bool open(const std::string& aside, mode_t mode);
  int fd() const { return fd_; }
  // Writes all of `bytes`; false with errno set when a write fails.
  bool write(std::string_view bytes);
  // Closes the file and gives it the name `target`, replacing any file of
  // that name. False with errno set when closing or renaming failed: the
  // file written aside is then removed and `target` left as it was.
  bool commit(const std::string& target);
  // Closes and removes the file written aside, if any.
  void abandon();

 private:
  FileOps ops_;
  std::string aside_;
  int fd_ = -1;
};

}  // namespace common
