#include "indexer/postings/mapped_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmor {

MappedFile::MappedFile(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st;
  if (fd < 0 || fstat(fd, &st) != 0) {
    std::string why = strerror(errno);
    if (fd >= 0) close(fd);
    throw std::runtime_error("cannot read " + path + ": " + why);
  }
  size_ = static_cast<size_t>(st.st_size);
  if (size_ > 0) {
    void* p = mmap(nullptr, size_, PROT_READ, MAP_SHARED, fd, 0);
    if (p == MAP_FAILED) {
      std::string why = strerror(errno);
      close(fd);
      throw std::runtime_error("cannot map " + path + ": " + why);
    }
    data_ = static_cast<const char*>(p);
  }
  close(fd);
}

void MappedFile::forget_pages() const {
  if (data_) madvise(const_cast<char*>(data_), size_, MADV_DONTNEED);
}

MappedFile::~MappedFile() {
  if (data_) munmap(const_cast<char*>(data_), size_);
}

}  // namespace velmor
