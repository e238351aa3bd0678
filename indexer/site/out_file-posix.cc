#include <fcntl.h>
#include <unistd.h>

#include "indexer/site/out_file.h"

namespace velmor {

int OutFile::open_new(const std::filesystem::path& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

long OutFile::write_some(int fd, std::string_view bytes) { return ::write(fd, bytes.data(), bytes.size()); }

int OutFile::close_file(int fd) { return ::close(fd); }

}  // namespace velmor
