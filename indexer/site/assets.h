#pragma once
// The site's one style sheet and one script, built into the program from
// velmor.css and velmor.js beside this header.
#include <string>

namespace velmor {
const std::string& site_css();
const std::string& site_js();
}  // namespace velmor
