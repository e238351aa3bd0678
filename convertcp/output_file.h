#pragma once
// OUTFILE, written so that a file there is either untouched or complete, and
// never replaced when it is not a regular file.
#include <filesystem>
#include <string>
#include <string_view>

// A regular file, or a name not taken yet, gets the text under a temporary
// name beside it, renamed into place once it is complete and on disk; an
// existing file keeps its permissions, and a symbolic link is followed, so
// the file it points at gets the text. Standard output ("-", /dev/stdout,
// /dev/fd/N), a FIFO and a character device (/dev/null, a terminal) get the
// text as it is converted: they are streams, and renaming a file over one
// would put a plain file where the system or another program expects the
// stream. A folder, a block device (a disk: its file system would be lost)
// and a socket are refused.
class OutputFile {
 public:
  OutputFile() = default;
  // Removes the temporary file of an output never committed.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // "" or why it cannot be written. Opening a FIFO waits for its reader.
  std::string open(const std::string& name);
  bool is_stream() const { return stream_; }
  int descriptor() const { return fd_; }
  // "" or what went wrong.
  std::string write(std::string_view data);
  // Puts the complete text in place.
  std::string commit();

 private:
  int fd_ = -1;
  bool stream_ = false;
  bool owned_ = false;  // fd_ is ours to close
  std::filesystem::path target_;
  std::filesystem::path temporary_;
};

// Whether the two names are one file (same path, a link to it, another case
// of its name on a folder that ignores case).
bool names_one_file(const std::filesystem::path& a, const std::filesystem::path& b);
