#pragma once
// formats.js, the site's script of the values its other scripts share with
// the indexer (format_constants.h), made from the constants themselves so
// that the two cannot drift. It is made when the site is written rather
// than by a program run at build time: the Windows build is a cross-build,
// whose programs do not run where it is built.
#include <string>

namespace velmor {
std::string format_script();
}  // namespace velmor
