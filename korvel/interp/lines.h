#pragma once
// Reading text files line by line for find, findstr and sort.
#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace korvel {

// The lines of one file, each without LF or CR LF, as far as the file
// reached when it was opened: output appended to it meanwhile (find ... >>
// on its own input) is not read back. Holds one line at a time, however
// long the file.
class LineReader {
 public:
  LineReader() = default;
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // False when it cannot be read (missing, no regular file).
  bool open(const std::string& native);
  // The next line, valid until the next call; false after the last.
  bool next(std::string_view& line);

 private:
  bool refill();

  int fd_ = -1;
  off_t left_ = 0;
  std::vector<char> buffer_ = std::vector<char>(64 * 1024);
  size_t begin_ = 0, end_ = 0;
  std::string line_;
};

// Every line at once, for sort; false when the file cannot be read.
bool read_lines(const std::string& native, std::vector<std::string>& lines);

}  // namespace korvel
