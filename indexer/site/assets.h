#pragma once
// The site's style sheet and scripts, built into the program from the
// files of the same names beside this header (the list is in
// CMakeLists.txt) and written into the site as they are. Which page loads
// which script: velmor.js says, html.h names them.
#include <string_view>
#include <vector>

namespace velmor {
struct SiteAsset {
  std::string_view name;  // "velmor.js"
  std::string_view text;
};
const std::vector<SiteAsset>& site_assets();
}  // namespace velmor
