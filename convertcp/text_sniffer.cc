#include "convertcp/text_sniffer.h"

namespace {
// Control characters that text has no use for. Tab, line ends, vertical tab,
// form feed, the old end-of-file mark (1A) and escape (terminal colours) are
// all found in real text files.
bool is_stray_control(unsigned value) {
  return value < 0x20 ? !(value >= 0x09 && value <= 0x0D) && value != 0x1A && value != 0x1B : value == 0x7F;
}

// Stray controls are tolerated up to one in a hundred characters.
bool few_controls(size_t controls, size_t characters) { return controls * 100 <= characters; }

std::string percent(size_t part, size_t whole) { return std::to_string((part * 100 + whole / 2) / whole) + "%"; }
}  // namespace

void TextSniffer::Form::take(unsigned value) {
  ++characters;
  if (unit == 4) {
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000)) valid = false;
  } else if (high_surrogate) {
    high_surrogate = false;
    if (value < 0xDC00 || value >= 0xE000) valid = false;
    --characters;  // the pair is one character
  } else if (value >= 0xD800 && value < 0xDC00) {
    high_surrogate = true;
  } else if (value == 0 || (value >= 0xDC00 && value < 0xE000)) {
    valid = false;
  }
  if (is_stray_control(value)) ++controls;
}

void TextSniffer::Form::add(std::string_view piece) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(piece.data());
  size_t at = 0;
  auto value_of = [&](const unsigned char* b) {
    unsigned value = 0;
    for (size_t i = 0; i < unit; ++i) value = value << 8 | b[big_endian ? i : unit - 1 - i];
    return value;
  };
  while (have > 0 && have < unit && have < sizeof partial && at < piece.size()) partial[have++] = bytes[at++];
  if (have == unit) {
    take(value_of(partial));
    have = 0;
  }
  for (; valid && at + unit <= piece.size(); at += unit) take(value_of(bytes + at));
  if (!valid) return;
  // Fewer than `unit` bytes are left; the bound on `partial` says so to the
  // compiler too, which cannot see that unit is at most 4.
  while (at < piece.size() && have < sizeof partial) partial[have++] = bytes[at++];
}

bool TextSniffer::Form::fits() const {
  return valid && have == 0 && !high_surrogate && characters > 0 && few_controls(controls, characters);
}

void TextSniffer::add(std::string_view piece) {
  for (size_t i = 0; i < piece.size(); ++i) {
    auto byte = static_cast<unsigned char>(piece[i]);
    if (byte == 0) ++zeros_[(size_ + i) & 3];
    else if (is_stray_control(byte)) ++controls_;
  }
  size_ += piece.size();
  for (Form& form : forms_)
    if (form.valid) form.add(piece);
}

TextSniffer::Verdict TextSniffer::verdict() const {
  size_t zeros = zeros_[0] + zeros_[1] + zeros_[2] + zeros_[3];
  if (zeros == 0) {
    if (few_controls(controls_, size_)) return {};
    return {Verdict::kBinary, 0, percent(controls_, size_) + " of its bytes are control characters"};
  }
  // UTF-32 decodes as nothing else does: every fourth byte zero, the one
  // beside it at most 10.
  for (const Form& form : forms_)
    if (form.unit == 4 && form.fits()) return {Verdict::kUnicode, form.code_page, ""};
  // UTF-16 is told by its zero bytes: the high halves of Latin letters,
  // digits, blanks and punctuation, all on odd offsets (little-endian) or
  // all on even ones. Both orders may decode; the zeros choose.
  size_t odd = zeros_[1] + zeros_[3];
  size_t even = zeros_[0] + zeros_[2];
  const Form& little = forms_[2];
  const Form& big = forms_[3];
  if (little.fits() && odd > even) return {Verdict::kUnicode, little.code_page, ""};
  if (big.fits() && even > odd) return {Verdict::kUnicode, big.code_page, ""};
  return {Verdict::kBinary, 0, "it holds NUL bytes"};
}
