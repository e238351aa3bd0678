#include "korvel/interp/lines.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "korvel/interp/path.h"

namespace korvel {

LineReader::~LineReader() {
  if (fd_ >= 0) close(fd_);
}

bool LineReader::open(const std::string& native) {
  bool not_regular = false;
  struct stat st;
  fd_ = open_regular_file(native, not_regular, &st);
  if (fd_ < 0) return false;
  left_ = st.st_size;
  return true;
}

bool LineReader::refill() {
  while (left_ > 0) {
    ssize_t n = read(fd_, buffer_.data(), static_cast<size_t>(std::min<off_t>(left_, buffer_.size())));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    left_ -= n;
    begin_ = 0;
    end_ = static_cast<size_t>(n);
    return true;
  }
  left_ = 0;
  return false;
}

bool LineReader::next(std::string_view& line) {
  line_.clear();
  bool any = false;
  for (;;) {
    if (begin_ == end_ && !refill()) break;
    any = true;
    const char* from = buffer_.data() + begin_;
    const char* lf = static_cast<const char*>(std::memchr(from, '\n', end_ - begin_));
    size_t n = lf ? static_cast<size_t>(lf - from) : end_ - begin_;
    line_.append(from, n);
    begin_ += n;
    if (lf) {
      ++begin_;
      break;
    }
  }
  if (!any) return false;
  if (!line_.empty() && line_.back() == '\r') line_.pop_back();
  line = line_;
  return true;
}

bool read_lines(const std::string& native, std::vector<std::string>& lines) {
  LineReader reader;
  if (!reader.open(native)) return false;
  lines.clear();
  for (std::string_view line; reader.next(line);) lines.emplace_back(line);
  return true;
}

}  // namespace korvel
