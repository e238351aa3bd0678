#pragma once
// Opening the finished index in the user's browser.
#include <string>

namespace velmor {

// Whether a graphical session is there to show a browser in.
bool has_graphical_session();
// Hands `file` to the desktop's opener, never through a shell. Returns ""
// when it was handed over, else why not.
std::string open_in_browser(const std::string& file);

}  // namespace velmor
