#include "korvel/base/text.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace korvel {

// Names are read eight bytes to a number, first byte lowest.
static_assert(std::endian::native == std::endian::little);

namespace {
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Eight bytes at once with their ASCII capitals made small: a byte gets 0x20
// where it is at least 'A', at most 'Z', and below 0x80.
uint64_t lower_ascii_bytes(uint64_t bytes) {
  constexpr uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
  uint64_t low7 = bytes & ~kHigh;
  uint64_t from_a = low7 + (0x80 - 'A') * kOnes;
  uint64_t past_z = low7 + (0x80 - 'Z' - 1) * kOnes;
  return bytes | ((from_a & ~past_z & ~bytes & kHigh) >> 2);
}
}  // namespace

void to_lower_ascii_into(std::string& out, std::string_view text) {
  out.resize(text.size());
  char* to = out.data();
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t bytes;
    std::memcpy(&bytes, text.data() + i, 8);
    bytes = lower_ascii_bytes(bytes);
    std::memcpy(to + i, &bytes, 8);
  }
  for (; i < text.size(); ++i) to[i] = lower(text[i]);
}

std::string to_lower_ascii(std::string_view text) {
  std::string out;
  to_lower_ascii_into(out, text);
  return out;
}

std::string to_upper_ascii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = upper(c);
  return out;
}

std::string trim_blanks(std::string_view text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(' ');
  return std::string(text.substr(begin, end - begin + 1));
}

std::string trim_trailing_blanks(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

size_t find_ignore_case(std::string_view haystack, std::string_view needle) {
  if (needle.size() > haystack.size()) return std::string_view::npos;
  if (needle.empty()) return 0;
  // A place to compare from only where the first byte matches, in either
  // case; memchr() finds the next of each, so a line without them costs two
  // passes, not one compare per byte.
  char first = lower(needle[0]), other = upper(needle[0]);
  const size_t last_start = haystack.size() - needle.size();
  auto next = [&](char c, size_t from) {
    const void* at = std::memchr(haystack.data() + from, c, last_start + 1 - from);
    return at ? static_cast<size_t>(static_cast<const char*>(at) - haystack.data()) : std::string_view::npos;
  };
  size_t next_first = next(first, 0);
  size_t next_other = other == first ? std::string_view::npos : next(other, 0);
  while (next_first != std::string_view::npos || next_other != std::string_view::npos) {
    size_t i = std::min(next_first, next_other);
    size_t k = 1;
    while (k < needle.size() && lower(haystack[i + k]) == lower(needle[k])) ++k;
    if (k == needle.size()) return i;
    if (i == last_start) break;
    if (i == next_first) next_first = next(first, i + 1);
    else next_other = next(other, i + 1);
  }
  return std::string_view::npos;
}

bool contains_ignore_case(std::string_view haystack, std::string_view needle) {
  return find_ignore_case(haystack, needle) != std::string_view::npos;
}

bool equals_ignore_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  size_t i = 0;
  for (; i + 8 <= a.size(); i += 8) {
    uint64_t x, y;
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y && lower_ascii_bytes(x) != lower_ascii_bytes(y)) return false;
  }
  for (; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

// A word at a time: names are hashed by the tens of thousands, some of them
// several times over, and a multiply per byte showed in every profile.
uint64_t name_hash(std::string_view name, bool ignore_case) {
  uint64_t h = 0x9E3779B97F4A7C15ull ^ name.size();
  auto take = [&](uint64_t bytes) {
    h = (h ^ (ignore_case ? lower_ascii_bytes(bytes) : bytes)) * 0xBF58476D1CE4E5B9ull;
    h ^= h >> 31;
  };
  const char* at = name.data();
  size_t left = name.size();
  for (; left >= 8; at += 8, left -= 8) {
    uint64_t bytes;
    std::memcpy(&bytes, at, 8);
    take(bytes);
  }
  if (left > 0) {
    // The last bytes, with zeros above them. A name of eight bytes or more
    // gives them in one load that ends where it ends.
    uint64_t bytes = 0;
    if (name.size() >= 8) {
      std::memcpy(&bytes, at + left - 8, 8);
      bytes >>= (8 - left) * 8;
    } else {
      std::memcpy(&bytes, at, left);
    }
    take(bytes);
  }
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  return h ^ (h >> 33);
}

}  // namespace korvel
