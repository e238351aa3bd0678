#include "indexer/postings/mapped_file.h"

#include <stdexcept>
#include <windows.h>

#include "common/utf8_files.h"
#include "indexer/windows_error.h"

namespace velmor {

MappedFile::MappedFile(const std::string& path) {
  HANDLE file = CreateFileW(common::utf8_path(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  LARGE_INTEGER size;
  if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size)) {
    std::string why = windows_error(GetLastError());
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    throw std::runtime_error("cannot read " + path + ": " + why);
  }
  size_ = static_cast<size_t>(size.QuadPart);
  if (size_ > 0) {
    HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    void* p = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
    std::string why = p ? "" : windows_error(GetLastError());
    // The view keeps the mapping, and the mapping the file.
    if (mapping) CloseHandle(mapping);
    if (!p) {
      CloseHandle(file);
      throw std::runtime_error("cannot map " + path + ": " + why);
    }
    data_ = static_cast<const char*>(p);
  }
  CloseHandle(file);
}

void MappedFile::forget_pages() const {
  // Unlocking pages that were never locked takes them out of the
  // process's working set, which is what dropping them does on Linux.
  if (data_) VirtualUnlock(const_cast<char*>(data_), size_);
}

MappedFile::~MappedFile() {
  if (data_) UnmapViewOfFile(data_);
}

}  // namespace velmor
