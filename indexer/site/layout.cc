#include "indexer/site/layout.h"

#include "indexer/site/format_constants.h"

#include <cstdio>
#include <stdexcept>

namespace velmor {

uint32_t family_share(uint32_t limit) { return limit > kFixedTopFiles + 4 ? (limit - kFixedTopFiles) / 4 : 1; }

size_t items_per_file(size_t items, size_t usual, size_t most_files) {
  if (most_files == 0) most_files = 1;
  const size_t needed = (items + most_files - 1) / most_files;
  return needed > usual ? needed : usual;
}

std::string text_store_file(uint32_t doc, uint32_t per_folder) {
  return site_file(kTextFolder, doc / per_folder) + site_file(kTextStore, doc + 1);
}

std::string page_address(uint32_t doc) { return std::string(kViewerAddress) + std::to_string(doc + 1); }

uint32_t folder_limit_from(const char* value) {
  if (!value) return kMaxFilesPerFolder;
  const std::string text = value;
  uint64_t n = 0;
  bool ok = !text.empty() && text.size() <= 6;
  for (char c : text) {
    ok = ok && c >= '0' && c <= '9';
    n = n * 10 + static_cast<uint64_t>(c - '0');
  }
  if (!ok || n < kFixedTopFiles + 4 || n > kMaxFilesPerFolder)
    throw std::runtime_error("VELMOR_FOLDER_FILES must be a number from " + std::to_string(kFixedTopFiles + 4) +
                             " to " + std::to_string(kMaxFilesPerFolder) + ", not \"" + text + "\"");
  return static_cast<uint32_t>(n);
}

}  // namespace velmor
