// The key decoder: whatever a terminal sends, in whatever pieces, every key
// press is one byte or 255 and a scan code, no more key presses come out than
// bytes went in, what waits for the rest of an escape sequence stays short,
// and bytes without Esc are key presses of themselves.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "korvel/console/keys.h"
#include "common/fuzz_check.h"

using namespace korvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte cuts the rest into pieces and says which pieces arrive
  // after a pause (the escape timeout running out).
  unsigned piece_size = data[0] % 7 + 1;
  unsigned pause_every = data[0] / 7 % 5 + 1;
  std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  KeyDecoder decoder;
  std::vector<std::string> keys;
  size_t fed = 0;
  for (size_t at = 0, piece = 0; at < bytes.size(); at += piece_size, ++piece) {
    std::string_view chunk = bytes.substr(at, piece_size);
    bool idle = (piece + 1) % pause_every == 0;
    decode_keys(decoder, chunk, idle, keys);
    fed += chunk.size();
    if (idle) FUZZ_CHECK(decoder.pending.empty());
    FUZZ_CHECK(decoder.pending.size() <= 25);
    FUZZ_CHECK(decoder.pending.empty() || decoder.pending[0] == 27);
    FUZZ_CHECK(keys.size() + decoder.pending.size() <= fed);
  }
  decode_keys(decoder, "", true, keys);
  FUZZ_CHECK(decoder.pending.empty());
  for (const std::string& key : keys) FUZZ_CHECK(key.size() == 1 || (key.size() == 2 && key[0] == '\xff'));

  if (bytes.find('\x1b') == std::string_view::npos) {
    FUZZ_CHECK(keys.size() == bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) FUZZ_CHECK(keys[i] == std::string(1, bytes[i] == 127 ? '\b' : bytes[i]));
  }
  return 0;
}
