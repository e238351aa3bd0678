#pragma once
// Bytes to valid text: what the reader does before anything looks at a page.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

// Appends `in` to `out` with every byte that is not part of valid UTF-8, and
// every zero byte, replaced by U+FFFD; returns how many bytes were replaced.
uint64_t append_valid_utf8(std::string_view in, std::string& out);

// Whether `append_valid_utf8` would copy `in` unchanged.
bool valid_utf8(std::string_view in);

// Whether the bytes are no text at all: a zero byte in the first 8 KB, or
// more than a quarter of the first 64 KB not UTF-8. A Latin page in a legacy
// code page has a few such bytes per line, a picture has them everywhere.
bool looks_binary(std::string_view bytes);

}  // namespace velmor
