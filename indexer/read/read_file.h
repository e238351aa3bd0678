#pragma once
// Reading a whole page file; the one place that knows the platform's calls.
#include <string>

namespace velmor {

// Reads the regular file at `path` into `bytes`. Anything else (a folder, a
// FIFO, a device, a symbolic link even to a regular file) is refused without
// waiting on it. On failure `error` says
// why in a few words and the result is false.
bool read_regular_file(const std::string& path, std::string& bytes, std::string& error);

}  // namespace velmor
