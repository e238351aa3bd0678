#pragma once
// The last stage of the indexer: the finished Corpus becomes a static site
// that any browser reads from file://, without a server or a network.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "indexer/model.h"
#include "indexer/site/layout.h"

namespace velmor {

struct SiteOptions {
  std::string locale_name;  // the collation the words were sorted by; "" for root
  std::function<void(uint64_t done, uint64_t total)> progress;
  // The most files one folder of the site holds (layout.h); tests set less
  // so that a small corpus is split as a big one is.
  uint32_t folder_files = kMaxFilesPerFolder;
};

// Writes the whole site into out_dir (exists, empty). Throws
// std::runtime_error naming the file on a write failure.
void write_site(const Corpus& corpus, const std::filesystem::path& out_dir, const SiteOptions& options);

// The locale as a browser's collator knows it: "sl_SI.UTF-8" -> "sl-SI",
// "" -> "und" (root).
std::string collation_tag(const std::string& locale_name);

}  // namespace velmor
