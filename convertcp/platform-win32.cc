#include "convertcp/platform.h"

#include <windows.h>
#include <shellapi.h>

// Windows converts through UTF-16: MultiByteToWideChar into it,
// WideCharToMultiByte out of it. The UTF-16 and UTF-32 code pages are not
// among those the two calls take, so they are read and written here.
namespace {
bool is_utf16(const CodePage& page) { return page.family == Family::kUtf16le || page.family == Family::kUtf16be; }
bool is_utf32(const CodePage& page) { return page.family == Family::kUtf32le || page.family == Family::kUtf32be; }
bool big_endian(const CodePage& page) { return page.family == Family::kUtf16be || page.family == Family::kUtf32be; }

unsigned unit_at(std::string_view bytes, size_t at, size_t size, bool big) {
  unsigned value = 0;
  for (size_t i = 0; i < size; ++i) {
    unsigned byte = static_cast<unsigned char>(bytes[at + (big ? i : size - 1 - i)]);
    value = value << 8 | byte;
  }
  return value;
}

void put_unit(std::string& out, unsigned value, size_t size, bool big) {
  for (size_t i = 0; i < size; ++i) {
    size_t shift = 8 * (big ? size - 1 - i : i);
    out += static_cast<char>((value >> shift) & 0xFF);
  }
}

// UTF-16 or UTF-32 bytes to UTF-16 units.
Outcome decode_unicode(const CodePage& from, std::string_view in, std::wstring& wide) {
  size_t size = is_utf16(from) ? 2 : 4;
  bool big = big_endian(from);
  for (size_t at = 0; at < in.size();) {
    if (in.size() - at < size) return {Outcome::kIncomplete, at, std::string(in.substr(at))};
    unsigned unit = unit_at(in, at, size, big);
    if (size == 4) {
      if (unit > 0x10FFFF || (unit >= 0xD800 && unit < 0xE000))
        return {Outcome::kInvalid, at, std::string(in.substr(at, 1))};
      if (unit >= 0x10000) {
        wide += wchar_t(0xD800 + ((unit - 0x10000) >> 10));
        wide += wchar_t(0xDC00 + ((unit - 0x10000) & 0x3FF));
      } else {
        wide += wchar_t(unit);
      }
      at += 4;
      continue;
    }
    if (unit >= 0xDC00 && unit < 0xE000) return {Outcome::kInvalid, at, std::string(in.substr(at, 1))};
    if (unit >= 0xD800 && unit < 0xDC00) {
      if (in.size() - at < 4) return {Outcome::kIncomplete, at, std::string(in.substr(at))};
      unsigned low = unit_at(in, at + 2, 2, big);
      if (low < 0xDC00 || low >= 0xE000) return {Outcome::kInvalid, at, std::string(in.substr(at, 1))};
      wide += wchar_t(unit);
      wide += wchar_t(low);
      at += 4;
      continue;
    }
    wide += wchar_t(unit);
    at += 2;
  }
  return {};
}

// UTF-16 units, known to be well formed, to UTF-16 or UTF-32 bytes.
void encode_unicode(const CodePage& to, std::wstring_view wide, std::string& out) {
  bool big = big_endian(to);
  for (size_t i = 0; i < wide.size(); ++i) {
    unsigned unit = wide[i];
    if (is_utf16(to)) {
      put_unit(out, unit, 2, big);
    } else if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < wide.size()) {
      put_unit(out, 0x10000 + ((unit - 0xD800) << 10) + (unsigned(wide[++i]) - 0xDC00), 4, big);
    } else {
      put_unit(out, unit, 4, big);
    }
  }
}

bool decode(const CodePage& from, std::string_view in, std::wstring& wide) {
  if (in.empty()) return true;
  int count = MultiByteToWideChar(from.number, MB_ERR_INVALID_CHARS, in.data(), int(in.size()), nullptr, 0);
  if (count <= 0) return false;
  wide.resize(size_t(count));
  return MultiByteToWideChar(from.number, MB_ERR_INVALID_CHARS, in.data(), int(in.size()), wide.data(), count) == count;
}

// False when a character has no place in `to` (no best-fit substitutes).
bool encode(const CodePage& to, std::wstring_view wide, std::string& out) {
  if (wide.empty()) return true;
  bool exact = to.number == 65001 || to.number == 54936;
  DWORD flags = exact ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  BOOL* substituted = exact ? nullptr : &used_default;
  int count = WideCharToMultiByte(to.number, flags, wide.data(), int(wide.size()), nullptr, 0, nullptr, substituted);
  if (count <= 0 || used_default) return false;
  size_t start = out.size();
  out.resize(start + size_t(count));
  return WideCharToMultiByte(to.number, flags, wide.data(), int(wide.size()), out.data() + start, count, nullptr,
                             substituted) == count &&
         !used_default;
}

// The length of the character that starts at `at`, as the code page builds them.
size_t character_length(const CodePage& page, std::string_view in, size_t at) {
  unsigned char lead = static_cast<unsigned char>(in[at]);
  if (page.family == Family::kUtf8) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    return lead >= 0xC2 ? 2 : 1;
  }
  if (page.number == 54936) {
    if (lead < 0x81 || lead == 0xFF) return 1;
    bool four = at + 1 < in.size() && in[at + 1] >= '0' && in[at + 1] <= '9';
    return four ? 4 : 2;
  }
  if (page.family == Family::kMultiByte) return IsDBCSLeadByteEx(UINT(page.number), lead) ? 2 : 1;
  return 1;
}

char32_t code_point_of(std::wstring_view wide) {
  if (wide.size() == 2 && wide[0] >= 0xD800 && wide[0] < 0xDC00)
    return 0x10000 + ((char32_t(wide[0]) - 0xD800) << 10) + (char32_t(wide[1]) - 0xDC00);
  return wide.empty() ? 0 : char32_t(wide[0]);
}

// The whole-buffer calls say only that something failed; this finds the
// first character that did, one character at a time.
Outcome locate_failure(const CodePage& from, const CodePage& to, std::string_view in) {
  for (size_t at = 0; at < in.size();) {
    size_t length = character_length(from, in, at);
    if (at + length > in.size()) return {Outcome::kIncomplete, at, std::string(in.substr(at))};
    std::wstring wide;
    std::string ignored;
    if (!decode(from, in.substr(at, length), wide)) return {Outcome::kInvalid, at, std::string(in.substr(at, 1))};
    if (!encode(to, wide, ignored))
      return {Outcome::kUnmappable, at, std::string(in.substr(at, length)), code_point_of(wide)};
    at += length;
  }
  return {Outcome::kInvalid, 0};
}

// The first character of UTF-16 or UTF-32 input that `to` lacks.
Outcome locate_unmappable(const CodePage& from, const CodePage& to, std::string_view in, std::wstring_view wide) {
  size_t offset = 0;
  for (size_t i = 0; i < wide.size();) {
    size_t units = wide[i] >= 0xD800 && wide[i] < 0xDC00 ? 2 : 1;
    std::wstring_view one = wide.substr(i, units);
    size_t length = is_utf16(from) ? 2 * units : 4;
    std::string ignored;
    if (!encode(to, one, ignored))
      return {Outcome::kUnmappable, offset, std::string(in.substr(offset, length)), code_point_of(one)};
    offset += length;
    i += units;
  }
  return {Outcome::kInvalid, 0};
}

Outcome transcode_whole(const CodePage& from, const CodePage& to, std::string_view in, std::string& out) {
  if (!system_has(from) || !system_has(to)) return {Outcome::kUnsupported};
  std::wstring wide;
  out.clear();
  if (is_utf16(from) || is_utf32(from)) {
    Outcome decoded = decode_unicode(from, in, wide);
    if (decoded.kind != Outcome::kDone) return decoded;
    if (is_utf16(to) || is_utf32(to)) {
      encode_unicode(to, wide, out);
      return {};
    }
    if (encode(to, wide, out)) return {};
    return locate_unmappable(from, to, in, wide);
  }
  if (!decode(from, in, wide)) return locate_failure(from, to, in);
  if (is_utf16(to) || is_utf32(to)) {
    encode_unicode(to, wide, out);
    return {};
  }
  if (!encode(to, wide, out)) return locate_failure(from, to, in);
  return {};
}

// How much of `in` is whole characters: the rest is the start of one that
// the next piece completes.
size_t complete_length(const CodePage& page, std::string_view in) {
  if (is_utf16(page)) {
    size_t end = in.size() & ~size_t(1);
    if (end >= 2 && (unit_at(in, end - 2, 2, big_endian(page)) & 0xFC00) == 0xD800) end -= 2;
    return end;
  }
  if (is_utf32(page)) return in.size() & ~size_t(3);
  if (page.family == Family::kSingleByte) return in.size();
  if (page.family == Family::kUtf8) {
    // Back from the end over continuation bytes to the last lead byte.
    size_t lead = in.size();
    while (lead > 0 && in.size() - lead < 3 && (static_cast<unsigned char>(in[lead - 1]) & 0xC0) == 0x80) --lead;
    if (lead == 0) return in.size();
    --lead;
    return lead + character_length(page, in, lead) > in.size() ? lead : in.size();
  }
  // Trail bytes of double-byte code pages look like lead bytes: only a walk
  // from the start tells them apart.
  size_t at = 0;
  while (at < in.size()) {
    size_t length = character_length(page, in, at);
    if (at + length > in.size()) break;
    at += length;
  }
  return at;
}

std::string utf8_of(const wchar_t* text) {
  int count = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (count <= 1) return "";
  std::string out(size_t(count), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), count, nullptr, nullptr);
  out.resize(size_t(count) - 1);
  return out;
}
}  // namespace

std::vector<std::string> program_arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!words) return {argv, argv + argc};
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(utf8_of(words[i]));
  LocalFree(words);
  return args;
}

bool system_has(const CodePage& page) { return is_utf16(page) || is_utf32(page) || IsValidCodePage(UINT(page.number)); }

struct Transcoder::State {
  const CodePage& from;
  const CodePage& to;
  size_t base;       // the input offset of held[0]
  std::string held;  // the start of a character cut off by the last piece
};

Transcoder::Transcoder(const CodePage& from, const CodePage& to, size_t start)
    : state_(new State{from, to, start, {}}) {}
Transcoder::~Transcoder() = default;

Outcome Transcoder::convert(std::string_view piece, std::string& out) {
  State& s = *state_;
  std::string joined = s.held + std::string(piece);
  size_t whole = complete_length(s.from, joined);
  std::string converted;
  Outcome outcome = transcode_whole(s.from, s.to, std::string_view(joined).substr(0, whole), converted);
  if (outcome.kind != Outcome::kDone) {
    outcome.offset += s.base;
    return outcome;
  }
  out += converted;
  s.held = joined.substr(whole);
  s.base += whole;
  return {};
}

Outcome Transcoder::finish(std::string& out) {
  State& s = *state_;
  if (!system_has(s.from) || !system_has(s.to)) return {Outcome::kUnsupported};
  if (s.held.empty()) return {};
  std::string converted;
  Outcome outcome = transcode_whole(s.from, s.to, s.held, converted);
  if (outcome.kind == Outcome::kDone) {
    out += converted;
    return {};
  }
  outcome.offset += s.base;
  return outcome;
}

bool can_detect() { return false; }

EncodingGuess::EncodingGuess() : detector_(nullptr) {}
EncodingGuess::~EncodingGuess() = default;
void EncodingGuess::add(std::string_view) {}
std::string EncodingGuess::name() { return ""; }
