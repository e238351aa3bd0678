#include <algorithm>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "indexer/site/out_file.h"

namespace velmor {

// Binary, or every "\n" of the site would become "\r\n" and the pages
// would differ from those the Linux build writes.
int OutFile::open_new(const std::filesystem::path& path) {
  return ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

long OutFile::write_some(int fd, std::string_view bytes) {
  return ::_write(fd, bytes.data(), static_cast<unsigned>(std::min<size_t>(bytes.size(), 1u << 30)));
}

int OutFile::close_file(int fd) { return ::_close(fd); }

}  // namespace velmor
