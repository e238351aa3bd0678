#pragma once
// LEB128 numbers: postings are mostly small gaps, one byte each.
#include <cstdint>
#include <string>

namespace velmor {

inline void put_varint(std::string& out, uint64_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<char>(value | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<char>(value));
}

// Reads one number at `p`, never past `end`; a cut-off number reads as far as it goes.
inline uint64_t get_varint(const char*& p, const char* end) {
  uint64_t value = 0;
  for (int shift = 0; p < end && shift < 64; shift += 7) {
    uint8_t byte = static_cast<uint8_t>(*p++);
    value |= static_cast<uint64_t>(byte & 0x7f) << shift;
    if (!(byte & 0x80)) break;
  }
  return value;
}

}  // namespace velmor
