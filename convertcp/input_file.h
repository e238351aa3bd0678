#pragma once
// INFILE, read piece by piece so that memory stays bounded whatever its size.
#include <string>

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
  // larger piece); empty at the end. "" or what went wrong.
  std::string read(std::string& piece, size_t size);
  // Starts again from the first byte. A file is read anew; a stream can only
  // give again what it has read so far, which the caller hands back as `read`.
  std::string restart(std::string read);
  bool is_stream() const { return stream_; }
  int descriptor() const { return fd_; }

 private:
  int fd_ = -1;
  bool stream_ = false;
  std::string given_back_;
};
