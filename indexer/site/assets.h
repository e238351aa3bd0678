#pragma once
// The site's style sheet and scripts, built into the program from the
// files of the same names beside this header.
#include <string>

namespace velmor {
const std::string& site_css();
const std::string& site_js();
// text_store.js: reads the documents' text files (formats.h).
const std::string& site_text_store_js();
// concordance.js: draws the entries, pages and sorts their lines, saves lists.
const std::string& site_concordance_js();
}  // namespace velmor
