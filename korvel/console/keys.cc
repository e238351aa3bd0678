#include "korvel/console/keys.h"

#include <string_view>

namespace korvel {

namespace {

constexpr char esc = 27;

// How each extended key arrives, after ESC [ or ESC O without its modifier
// parameter ("5~" for Page Up, "A" for the up arrow, "[A" for F1 on the Linux
// console), and its scan code plain and with Shift, Ctrl and Alt.
struct ExtendedKey {
  std::string_view sequence;
  unsigned char plain, shift, ctrl, alt;
};

constexpr ExtendedKey extended_keys[] = {
    {"A", 72, 72, 141, 152},     {"B", 80, 80, 145, 160},                                // up, down
    {"D", 75, 75, 115, 155},     {"C", 77, 77, 116, 157},                                // left, right
    {"H", 71, 71, 119, 151},     {"1~", 71, 71, 119, 151},    {"7~", 71, 71, 119, 151},  // home
    {"F", 79, 79, 117, 159},     {"4~", 79, 79, 117, 159},    {"8~", 79, 79, 117, 159},  // end
    {"5~", 73, 73, 132, 153},    {"6~", 81, 81, 118, 161},                               // page up, page down
    {"2~", 82, 82, 146, 162},    {"3~", 83, 83, 147, 163},                               // insert, delete
    {"Z", 15, 15, 15, 15},                                                               // Shift+Tab
    {"P", 59, 84, 94, 104},      {"11~", 59, 84, 94, 104},    {"[A", 59, 84, 94, 104},   // F1
    {"Q", 60, 85, 95, 105},      {"12~", 60, 85, 95, 105},    {"[B", 60, 85, 95, 105},   // F2
    {"R", 61, 86, 96, 106},      {"13~", 61, 86, 96, 106},    {"[C", 61, 86, 96, 106},   // F3
    {"S", 62, 87, 97, 107},      {"14~", 62, 87, 97, 107},    {"[D", 62, 87, 97, 107},   // F4
    {"15~", 63, 88, 98, 108},    {"[E", 63, 88, 98, 108},                                // F5
    {"17~", 64, 89, 99, 109},    {"18~", 65, 90, 100, 110},   {"19~", 66, 91, 101, 111},
    {"20~", 67, 92, 102, 112},   {"21~", 68, 93, 103, 113},    // F6-F10
    {"23~", 133, 135, 137, 139}, {"24~", 134, 136, 138, 140},  // F11, F12
};

std::string extended(unsigned char scan_code) { return {'\xff', static_cast<char>(scan_code)}; }

const std::string unknown_key = extended(0);

// Shift, Alt and Ctrl as the xterm modifier parameter gives them (1 + bits).
enum Modifier { shift_bit = 1, alt_bit = 2, ctrl_bit = 4 };

std::string lookup(std::string_view sequence, int modifiers) {
  for (const ExtendedKey& key : extended_keys) {
    if (key.sequence != sequence) continue;
    if (modifiers & ctrl_bit) return extended(key.ctrl);
    if (modifiers & alt_bit) return extended(key.alt);
    if (modifiers & shift_bit) return extended(key.shift);
    return extended(key.plain);
  }
  return unknown_key;
}

// Alt with a letter, digit, '-' or '=' as ESC and that character.
std::string alt_key(char c) {
  constexpr std::string_view rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm", "1234567890-="};
  constexpr unsigned char row_start[] = {16, 30, 44, 120};
  if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  for (int row = 0; row < 4; ++row) {
    size_t at = rows[row].find(c);
    if (at != std::string_view::npos) return extended(static_cast<unsigned char>(row_start[row] + at));
  }
  if (c == 127 || c == 8) return extended(14);  // Alt+Backspace
  if (c == 13) return extended(28);             // Alt+Enter
  return unknown_key;
}

int modifier_bits(std::string_view parameter) {
  int value = 0;
  for (char c : parameter) {
    if (c < '0' || c > '9' || value > 99) return 0;
    value = value * 10 + (c - '0');
  }
  return value > 1 ? value - 1 : 0;
}

// One escape sequence at the start of `text` (which begins with ESC).
struct Match {
  size_t length = 0;  // 0: the sequence is not complete yet
  std::string key;
};

// Longest control sequence we wait for; anything longer is garbage.
constexpr size_t longest_sequence = 24;

// ESC [ parameters final, e.g. ESC [ 1 ; 5 A or ESC [ 2 4 ~.
Match match_csi(std::string_view text) {
  if (text.size() < 3) return {};
  if (text[2] == '[') {  // Linux console F1-F5: ESC [ [ A
    if (text.size() < 4) return {};
    return {4, lookup(text.substr(2, 2), 0)};
  }
  size_t at = 2;
  while (at < text.size() && text[at] >= 0x20 && text[at] <= 0x3f) ++at;
  if (at == text.size()) return text.size() > longest_sequence ? Match{text.size(), unknown_key} : Match{};
  char final_byte = text[at];
  if (final_byte < 0x40 || final_byte > 0x7e) return {at, unknown_key};  // broken off by a control byte
  std::string_view parameters = text.substr(2, at - 2);
  size_t semicolon = parameters.find(';');
  std::string_view number = parameters.substr(0, semicolon);
  std::string_view modifier = semicolon == std::string_view::npos ? "" : parameters.substr(semicolon + 1);
  int bits = modifier_bits(modifier);
  std::string sequence(1, final_byte);
  // rxvt marks modified editing and function keys by the final byte.
  if (final_byte == '$') bits = shift_bit;
  if (final_byte == '^') bits = ctrl_bit;
  if (final_byte == '@') bits = ctrl_bit | shift_bit;
  if (final_byte == '~' || final_byte == '$' || final_byte == '^' || final_byte == '@')
    sequence = std::string(number) + "~";
  return {at + 1, lookup(sequence, bits)};
}

// ESC O final, with an optional modifier digit as older xterms send it.
Match match_ss3(std::string_view text) {
  size_t at = 2;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  if (at == text.size()) return text.size() > longest_sequence ? Match{text.size(), unknown_key} : Match{};
  int bits = modifier_bits(text.substr(2, at - 2));
  return {at + 1, lookup(text.substr(at, 1), bits)};
}

Match match_escape(std::string_view text) {
  if (text.size() < 2) return {};
  if (text[1] == '[') return match_csi(text);
  if (text[1] == 'O') return match_ss3(text);
  if (text[1] == esc) return {1, std::string(1, esc)};  // Esc pressed twice
  return {2, alt_key(text[1])};
}

// What is pending when no more bytes follow it.
std::string idle_key(std::string_view text) {
  if (text.size() == 1) return std::string(1, esc);
  if (text.size() == 2) return alt_key(text[1]);  // Alt+[ or Alt+O
  return unknown_key;
}

}  // namespace

void decode_keys(KeyDecoder& decoder, std::string_view bytes, bool input_idle, std::vector<std::string>& keys) {
  std::string& text = decoder.pending;
  text += bytes;
  size_t at = 0;
  while (at < text.size()) {
    char c = text[at];
    if (c != esc) {
      keys.push_back(c == 127 ? std::string(1, 8) : std::string(1, c));  // terminals send DEL for Backspace
      ++at;
      continue;
    }
    Match match = match_escape(std::string_view(text).substr(at));
    if (match.length == 0) {
      if (!input_idle) break;
      keys.push_back(idle_key(std::string_view(text).substr(at)));
      at = text.size();
      break;
    }
    keys.push_back(match.key);
    at += match.length;
  }
  text.erase(0, at);
}

}  // namespace korvel
