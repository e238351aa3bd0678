#pragma once
// Turns the bytes a terminal sends into key presses. A key that produces a
// character is that character; an extended key (function, cursor and editing
// keys, their Shift/Ctrl/Alt forms, Alt with a letter or digit) is the
// character 255 followed by its IBM PC BIOS scan code. An escape sequence we
// do not know is still one key press: 255 followed by 0.
//
// Bytes of a UTF-8 character are passed on one key press per byte: the
// prompts only ever compare against single ASCII characters, so a typed
// multi-byte character is simply several ignored (or, at an any-key stop,
// deciding) key presses.
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

struct KeyDecoder {
  std::string pending;  // the start of an escape sequence not yet complete
};

// Decodes `bytes` after whatever is pending and appends the complete key
// presses to `keys`. `input_idle` tells that no further byte came within the
// escape timeout: what is pending is then taken as it stands (a lone Esc is
// 27, Esc and a character is Alt with that character).
void decode_keys(KeyDecoder& decoder, std::string_view bytes, bool input_idle, std::vector<std::string>& keys);

}  // namespace korvel
