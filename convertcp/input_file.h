#pragma once
// INFILE, read piece by piece so that memory stays bounded whatever its size.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "convertcp/files.h"

class InputFile {
 public:
  InputFile() = default;
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // "-" is standard input, read as a stream; any other name must be a
  // regular file: a FIFO or a device may never end, or wait for a writer
  // forever. "" or why it cannot be read.
  std::string open(const std::string& name);
  // The next piece, at most `size` bytes (bytes given back may come as one
  // larger piece); empty at the end. A file gives no more than the size it
  // had when it was opened, so that every pass reads the same bytes.
  // "" or what went wrong.
  std::string read(std::string& piece, size_t size);
  // Starts again from the first byte. A file is read anew through the same
  // open file, never through its name again; a stream can only give again
  // what it has read so far, which the caller hands back as `read`.
  std::string restart(std::string read);
  // "" when a file is still the one opened, of the size and times it had
  // then, and still under its name; and, after a pass to its end
  // (`read_whole`), when that pass read all of it. Otherwise why its text
  // cannot be trusted. Always "" for a stream.
  std::string unchanged(bool read_whole) const;
  // Lets go of the file before the output takes its place (--in-place):
  // Windows renames nothing over a file that is open.
  void close();
  bool is_stream() const { return stream_; }
  int descriptor() const { return fd_; }

  // A seam for tests: called before each read of a file with the pass (0
  // first, 1 after the first restart, ...) and the bytes read in it so far,
  // so that a test can change the file at an exact point of a conversion.
  std::function<void(int pass, std::uint64_t offset)> before_read;

 private:
  int fd_ = -1;
  bool stream_ = false;
  std::string given_back_;
  std::filesystem::path path_;
  FileState opened_;      // as the file was when it was opened
  std::uint64_t at_ = 0;  // bytes read in this pass
  int pass_ = 0;
};
