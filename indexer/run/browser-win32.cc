#include "indexer/run/browser.h"

#include <windows.h>
#include <shellapi.h>

#include "common/utf8_files.h"

namespace velmor {

// A Windows user always has a desktop; korvel's window is on it.
bool has_graphical_session() { return true; }

std::string open_in_browser(const std::string& file) {
  // The shell's own association for .htm: no command line is built, so no
  // name can make anything else run.
  auto done = reinterpret_cast<intptr_t>(
      ShellExecuteW(nullptr, L"open", common::utf8_path(file).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (done > 32) return "";
  return "no program opens .htm files";
}

}  // namespace velmor
