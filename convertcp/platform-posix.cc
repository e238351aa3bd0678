#include "convertcp/platform.h"

#include <cerrno>
#include <iconv.h>
#include <uchardet.h>

namespace {
struct Converter {
  Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
  iconv_t cd;
};

// The first character of `bytes` as a code point and its length, or length 0
// when it is no valid character of `from`. Tried on ever longer prefixes,
// each flushed at its end: decoders that combine a letter with a following
// accent (CP1255, CP1258) hold the letter back until they see what follows.
std::pair<char32_t, size_t> decode_one(const CodePage& from, std::string_view bytes) {
  for (size_t length = 1; length <= bytes.size() && length <= 4; ++length) {
    Converter one("UTF-32LE", from.iconv);
    if (!one.ok()) return {0, 0};
    unsigned char units[8] = {};
    char* in = const_cast<char*>(bytes.data());
    size_t in_left = length;
    char* out = reinterpret_cast<char*>(units);
    size_t out_left = sizeof units;
    if (iconv(one.cd, &in, &in_left, &out, &out_left) == size_t(-1)) {
      if (errno == EINVAL) continue;  // the character goes on
      return {0, 0};
    }
    iconv(one.cd, nullptr, nullptr, &out, &out_left);
    if (out_left == sizeof units) continue;
    return {units[0] | units[1] << 8 | units[2] << 16 | char32_t(units[3]) << 24, length};
  }
  return {0, 0};
}

// Whether the decoder keeps `byte` to itself until it sees what follows.
bool held_back(const CodePage& from, std::string_view byte) {
  Converter one("UTF-32LE", from.iconv);
  char* in = const_cast<char*>(byte.data());
  size_t in_left = byte.size();
  char units[8];
  char* out = units;
  size_t out_left = sizeof units;
  return one.ok() && iconv(one.cd, &in, &in_left, &out, &out_left) != size_t(-1) && out_left == sizeof units;
}

// Whether `bytes` convert on their own, flushed at their end.
bool converts_alone(const CodePage& from, const CodePage& to, std::string_view bytes) {
  Converter converter(to.iconv, from.iconv);
  char* in = const_cast<char*>(bytes.data());
  size_t in_left = bytes.size();
  char out[64];
  char* out_at = out;
  size_t out_left = sizeof out;
  return converter.ok() && iconv(converter.cd, &in, &in_left, &out_at, &out_left) != size_t(-1) &&
         iconv(converter.cd, nullptr, nullptr, &out_at, &out_left) != size_t(-1);
}

}  // namespace

struct Transcoder::State {
  const CodePage& from;
  const CodePage& to;
  Converter converter;
  size_t base;       // the input offset of held[0]
  std::string held;  // the start of a character cut off by the last piece
  std::string last;  // the last byte given before `base`
};

std::vector<std::string> program_arguments(int argc, char** argv) { return {argv, argv + argc}; }

bool system_has(const CodePage& page) { return Converter("UTF-8", page.iconv).ok(); }

Transcoder::Transcoder(const CodePage& from, const CodePage& to, size_t start)
    : state_(new State{from, to, {to.iconv, from.iconv}, start, {}, {}}) {}
Transcoder::~Transcoder() = default;

Outcome Transcoder::convert(std::string_view piece, std::string& out) {
  State& s = *state_;
  if (!s.converter.ok()) return {Outcome::kUnsupported};
  std::string joined;
  std::string_view in = piece;
  if (!s.held.empty()) {
    joined = s.held + std::string(piece);
    in = joined;
  }
  char* in_at = const_cast<char*>(in.data());
  size_t in_left = in.size();
  size_t written = out.size();
  while (in_left > 0) {
    out.resize(written + in_left * 2 + 64);
    char* out_at = out.data() + written;
    size_t out_left = out.size() - written;
    size_t result = iconv(s.converter.cd, &in_at, &in_left, &out_at, &out_left);
    written = out.size() - out_left;
    if (result != size_t(-1) || errno == E2BIG) continue;
    size_t at = in.size() - in_left;
    if (errno == EINVAL) break;  // a character cut off: it waits for the next piece
    // EILSEQ: either no character of `from` or one that `to` lacks. A
    // decoder that combines a letter with a following accent (CP1255, CP1258)
    // holds the letter back and fails on it only when the next byte comes.
    out.resize(written);
    auto [code_point, length] = decode_one(s.from, in.substr(at));
    std::string before = at > 0 ? std::string(in.substr(at - 1, 1)) : s.last;
    if (s.from.family == Family::kSingleByte && !before.empty() && held_back(s.from, before) &&
        !converts_alone(s.from, s.to, before)) {
      auto [held_point, held_length] = decode_one(s.from, before);
      if (held_length == 0) return {Outcome::kInvalid, s.base + at - 1, before};
      return {Outcome::kUnmappable, s.base + at - 1, before, held_point};
    }
    if (length == 0) return {Outcome::kInvalid, s.base + at, std::string(in.substr(at, 1))};
    return {Outcome::kUnmappable, s.base + at, std::string(in.substr(at, length)), code_point};
  }
  out.resize(written);
  size_t used = in.size() - in_left;
  if (used > 0) s.last.assign(in.substr(used - 1, 1));
  s.held.assign(in.substr(used));
  s.base += used;
  return {};
}

Outcome Transcoder::finish(std::string& out) {
  State& s = *state_;
  if (!s.converter.ok()) return {Outcome::kUnsupported};
  if (!s.held.empty()) return {Outcome::kIncomplete, s.base, s.held};
  // A stateful target may owe a closing sequence.
  size_t written = out.size();
  out.resize(written + 64);
  char* out_at = out.data() + written;
  size_t out_left = 64;
  iconv(s.converter.cd, nullptr, nullptr, &out_at, &out_left);
  out.resize(out.size() - out_left);
  return {};
}

bool can_detect() { return true; }

EncodingGuess::EncodingGuess() : detector_(uchardet_new()) {}
EncodingGuess::~EncodingGuess() { uchardet_delete(static_cast<uchardet_t>(detector_)); }

void EncodingGuess::add(std::string_view piece) {
  if (detector_) uchardet_handle_data(static_cast<uchardet_t>(detector_), piece.data(), piece.size());
}

std::string EncodingGuess::name() {
  if (!detector_) return "";
  uchardet_data_end(static_cast<uchardet_t>(detector_));
  return uchardet_get_charset(static_cast<uchardet_t>(detector_));
}
