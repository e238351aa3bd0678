#pragma once
// Corpora for the run benchmarks: documents of 1 to 4 KiB, or of sizes drawn
// log-uniformly to a given total; a tenth HTML; names that all need
// normalising (blanks, brackets, extra dots, "page_" names); text lines of
// mixed length, a quarter with trailing blanks, CR LF ended.
#include <cstdint>
#include <filesystem>

namespace korvel {

// `total_bytes` 0: every document 1 to 4 KiB.
void make_corpus(const std::filesystem::path& folder, int documents, uintmax_t total_bytes);

}  // namespace korvel
