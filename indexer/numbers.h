#pragma once
// Numbers as the console and the site show them.
#include <cstdint>
#include <string>

namespace velmor {

// "1,234,567": counts are easier to read with thousands marked.
std::string grouped(uint64_t n);

}  // namespace velmor
