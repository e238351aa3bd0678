#include "indexer/read/utf8_text.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace velmor {

static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the valid UTF-8 sequence at `s`, 0 when there is none. Follows
// the Unicode table of well-formed sequences: no overlongs, no surrogates,
// nothing past U+10FFFF.
static size_t sequence_length(const unsigned char* s, size_t left) {
  unsigned char b = s[0];
  if (b >= 0x01 && b < 0x80) return 1;
  auto cont = [&](size_t i, unsigned char lo, unsigned char hi) { return i < left && s[i] >= lo && s[i] <= hi; };
  if (b >= 0xC2 && b <= 0xDF) return cont(1, 0x80, 0xBF) ? 2 : 0;
  if (b >= 0xE0 && b <= 0xEF) {
    unsigned char lo = b == 0xE0 ? 0xA0 : 0x80, hi = b == 0xED ? 0x9F : 0xBF;
    return cont(1, lo, hi) && cont(2, 0x80, 0xBF) ? 3 : 0;
  }
  if (b >= 0xF0 && b <= 0xF4) {
    unsigned char lo = b == 0xF0 ? 0x90 : 0x80, hi = b == 0xF4 ? 0x8F : 0xBF;
    return cont(1, lo, hi) && cont(2, 0x80, 0xBF) && cont(3, 0x80, 0xBF) ? 4 : 0;
  }
  return 0;
}

// Bytes from `i` on that are plain ASCII without zero bytes, eight at a time.
// In most scripts but English a run is a few letters long, so the first
// byte that ends it is found in its word, not by a loop over bytes.
static size_t ascii_run(const unsigned char* s, size_t size) {
  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t w;
    std::memcpy(&w, s + i, 8);
    // High bit set, or a zero byte. A borrow past a zero byte may mark the
    // bytes after it too, but never one before, so the lowest mark is true.
    const uint64_t ends = (w & 0x8080808080808080ull) | ((w - 0x0101010101010101ull) & ~w & 0x8080808080808080ull);
    if (ends == 0) continue;
    if constexpr (std::endian::native == std::endian::little) return i + std::countr_zero(ends) / 8;
    break;
  }
  while (i < size && s[i] >= 0x01 && s[i] < 0x80) ++i;
  return i;
}

// Bytes from the start that are valid UTF-8 without zero bytes. ASCII
// between the other characters goes eight bytes at a time too: blanks and
// punctuation come back in every line of most scripts.
static size_t valid_run(const unsigned char* s, size_t size) {
  size_t i = 0;
  while (i < size) {
    i += ascii_run(s + i, size - i);
    if (i == size) break;
    const size_t n = sequence_length(s + i, size - i);
    if (n == 0) break;
    i += n;
  }
  return i;
}

uint64_t append_valid_utf8(std::string_view in, std::string& out) {
  const auto* s = reinterpret_cast<const unsigned char*>(in.data());
  size_t size = in.size(), i = 0;
  uint64_t replaced = 0;
  out.reserve(out.size() + size);
  while (i < size) {
    const size_t start = i;
    i += valid_run(s + i, size - i);
    out.append(in.data() + start, i - start);
    if (i < size) {
      out.append(kReplacement);
      ++replaced;
      ++i;
    }
  }
  return replaced;
}

bool valid_utf8(std::string_view in) {
  return valid_run(reinterpret_cast<const unsigned char*>(in.data()), in.size()) == in.size();
}

static uint64_t invalid_bytes(std::string_view in) {
  const auto* s = reinterpret_cast<const unsigned char*>(in.data());
  uint64_t invalid = 0;
  for (size_t i = valid_run(s, in.size()); i < in.size(); i += valid_run(s + i, in.size() - i)) {
    ++invalid;
    ++i;
  }
  return invalid;
}

bool looks_binary(std::string_view bytes) {
  std::string_view head = bytes.substr(0, 8 * 1024);
  if (head.find('\0') != std::string_view::npos) return true;
  std::string_view sample = bytes.substr(0, 64 * 1024);
  // A cut through the last character of the sample is not the page's fault.
  if (sample.size() < bytes.size()) {
    size_t cut = 0;
    while (cut < 3 && cut < sample.size() &&
           (static_cast<unsigned char>(sample[sample.size() - 1 - cut]) & 0xC0) == 0x80)
      ++cut;
    if (cut < sample.size() && static_cast<unsigned char>(sample[sample.size() - 1 - cut]) >= 0xC0)
      sample.remove_suffix(cut + 1);
  }
  return invalid_bytes(sample) * 4 > sample.size();
}

}  // namespace velmor
