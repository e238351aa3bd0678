#include "indexer/site/format_script.h"

#include "indexer/escape.h"
#include "indexer/measures/measures.h"
#include "indexer/site/format_constants.h"
#include "indexer/site/formats.h"

namespace velmor {
namespace {

void append_file(std::string& s, std::string_view name, const SiteFile& f) {
  s += "  ";
  s += name;
  s += ": { start: ";
  append_js_literal(s, f.start);
  s += ", digits: " + std::to_string(f.digits) + ", end: ";
  append_js_literal(s, f.end);
  s += ", callback: ";
  append_js_literal(s, f.callback);
  s += " },\n";
}

}  // namespace

std::string format_script() {
  std::string s =
      "// Made by the indexer from its format_constants.h: the values the site's\n"
      "// files and these scripts agree on. What each file holds: formats.h.\n"
      "'use strict';\n"
      "window.velmorFormats = {\n  digits: ";
  append_js_literal(s, kDigits);
  s += ",\n  digitBase: " + std::to_string(kDigitBase) + ",\n";
  s += "  separatorsBelow: " + std::to_string(kSeparatorsBelow) + ",\n";
  s += "  maxReach: " + std::to_string(kMaxReach) + ",\n";
  // What the entries' lists hold at least and at most, which the browser's
  // own counts for a rarer word and the reader's filters start from.
  s += "  minTogether: " + std::to_string(CollocateOptions{}.min_together) + ",\n";
  s += "  clusterMinCount: " + std::to_string(ClusterOptions{}.min_count) + ",\n";
  s += "  clusterLimit: " + std::to_string(ClusterOptions{}.limit) + ",\n  viewerAddress: ";
  append_js_literal(s, kViewerAddress);
  s += ",\n";
  append_file(s, "textFolder", kTextFolder);
  append_file(s, "textStore", kTextStore);
  append_file(s, "entryPage", kEntryPage);
  append_file(s, "keyShards", kKeyShards);
  append_file(s, "keyShard", kKeyShard);
  append_file(s, "entryStarts", kEntryStarts);
  append_file(s, "documentTitles", kDocumentTitles);
  append_file(s, "documentSizes", kDocumentSizes);
  append_file(s, "positionStarts", kPositionStarts);
  append_file(s, "positionFile", kPositionFile);
  s += "};\n";
  return s;
}

}  // namespace velmor
