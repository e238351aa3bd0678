#pragma once
// The values the site's files and its scripts must agree on, each written
// once: the indexer writes them into the site as formats.js
// (format_script.cc), which every page loads before its other scripts, and
// its writers use them here. What each file holds: formats.h.
#include <cstdint>
#include <string>
#include <string_view>

namespace velmor {

// The store's digits (formats.h): a digit d is kDigits[d] when it is the
// last of its number, kDigits[kDigitBase + d] when more follow.
constexpr std::string_view kDigits =
    "#$%&'()*+,-./0123456789:;=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]^_`abcdefghijklmnopqrstuvwxyz{|}~";
constexpr uint64_t kDigitBase = 45;
static_assert(kDigits.size() == 2 * kDigitBase);

// A separator is a UTF-16 unit below this that is not an ASCII letter or
// digit.
constexpr uint32_t kSeparatorsBelow = 128;

// The viewer at a document: this, then the document's number from 1.
constexpr std::string_view kViewerAddress = "page.htm?d=";

// A file of the site a script reads: its name, or for a numbered family
// the name's start, the number in `digits` digits or more, and its end;
// and the function a data file calls ("" for a page or a folder).
struct SiteFile {
  std::string_view start;
  uint32_t digits;  // 0: one file, named `start`
  std::string_view end;
  std::string_view callback;
};

constexpr SiteFile kTextFolder{"text/", 3, "/", ""};  // of the text stores
constexpr SiteFile kTextStore{"d_", 4, ".js", "velmorText"};
constexpr SiteFile kEntryPage{"i_", 3, ".htm", ""};
constexpr SiteFile kKeyShards{"lookup/keys.js", 0, "", "velmorShards"};
constexpr SiteFile kKeyShard{"lookup/k_", 4, ".js", "velmorKeys"};
constexpr SiteFile kEntryStarts{"lookup/entries.js", 0, "", "velmorEntries"};
constexpr SiteFile kDocumentTitles{"lookup/docs.js", 0, "", "velmorDocs"};
constexpr SiteFile kDocumentSizes{"lookup/sizes.js", 0, "", "velmorSizes"};
constexpr SiteFile kPositionStarts{"query/files.js", 0, "", "velmorPositionFiles"};
constexpr SiteFile kPositionFile{"query/p_", 4, ".js", "velmorPositions"};

// The name of file `n` of a numbered family: kEntryPage, 0 -> "i_000.htm".
inline std::string site_file(const SiteFile& f, uint64_t n) {
  std::string number = std::to_string(n);
  if (number.size() < f.digits) number.insert(0, f.digits - number.size(), '0');
  return std::string(f.start) + number + std::string(f.end);
}

// What a data file starts with: its byte order mark and "CALLBACK(".
inline std::string data_file_start(const SiteFile& f) { return "\xEF\xBB\xBF" + std::string(f.callback) + "("; }

}  // namespace velmor
