#include "convertcp/conversion.h"

#include <cstdio>
#include <string_view>

#include "convertcp/platform.h"

namespace {
// Pieces of this size keep memory bounded whatever the size of the input.
constexpr size_t kPiece = size_t(1) << 20;

std::string hex(std::string_view bytes) {
  std::string out;
  char digits[4];
  for (unsigned char byte : bytes) {
    std::snprintf(digits, sizeof digits, "%s%02X", out.empty() ? "" : " ", byte);
    out += digits;
  }
  return out;
}

std::string failure_text(const Outcome& outcome, const CodePage& from, const CodePage& to) {
  std::string at = "offset " + std::to_string(outcome.offset) + ": ";
  switch (outcome.kind) {
    case Outcome::kInvalid: return at + "byte " + hex(outcome.bytes.substr(0, 1)) + " is not " + named(from) + " text";
    case Outcome::kIncomplete:
      return at + "the text ends inside a " + named(from) + " character (" + hex(outcome.bytes) + ")";
    case Outcome::kUnmappable: {
      char code_point[16];
      std::snprintf(code_point, sizeof code_point, "U+%04X", unsigned(outcome.code_point));
      return at + "character " + code_point + " (" + hex(outcome.bytes) + ") has no place in " + named(to);
    }
    default: return "this system cannot convert from " + named(from) + " to " + named(to);
  }
}

Stop stop_for(const Outcome& outcome, const CodePage& from, const CodePage& to) {
  return {outcome.kind == Outcome::kUnsupported ? kUsage : kUnconvertible, failure_text(outcome, from, to)};
}

// Converts the input from where it stands to its end, giving each converted
// piece to `sink` ("" or what went wrong in writing it); then makes sure the
// input was what it was when opened.
// A read or a character that failed on a file that changed since it was
// opened failed because of the change, and is reported as such.
Stop input_failure(const InputFile& in, Stop stop) {
  if (std::string changed = in.unchanged(false); !changed.empty()) return {kNoInput, changed, true};
  return stop;
}

template <typename Sink>
Stop convert_all(InputFile& in, const CodePage& from, const CodePage& to, Sink&& sink) {
  std::string piece, out;
  if (std::string failure = in.read(piece, kPiece); !failure.empty()) return input_failure(in, {kNoInput, failure});
  std::string_view first = piece;
  // No code page but the Unicode forms can hold a byte-order mark.
  if (is_unicode(from) && !is_unicode(to) && first.starts_with(byte_order_mark(from)))
    first.remove_prefix(byte_order_mark(from).size());
  Transcoder transcoder(from, to, piece.size() - first.size());
  for (std::string_view text = first; !text.empty(); text = piece) {
    out.clear();
    Outcome outcome = transcoder.convert(text, out);
    // Bytes of a file that changed under the pass need not be text.
    if (outcome.kind != Outcome::kDone) return input_failure(in, stop_for(outcome, from, to));
    if (std::string failure = sink(out); !failure.empty()) return {kNoOutput, failure};
    if (std::string failure = in.read(piece, kPiece); !failure.empty()) return input_failure(in, {kNoInput, failure});
  }
  if (std::string changed = in.unchanged(true); !changed.empty()) return {kNoInput, changed, true};
  out.clear();
  Outcome outcome = transcoder.finish(out);
  if (outcome.kind != Outcome::kDone) return stop_for(outcome, from, to);
  if (std::string failure = sink(out); !failure.empty()) return {kNoOutput, failure};
  return {};
}
}  // namespace

std::string named(const CodePage& page) { return page.name + std::string(" (") + std::to_string(page.number) + ")"; }

Stop convert_into(InputFile& in, OutputFile& out, const CodePage& from, const CodePage& to, bool& written) {
  written = false;
  // What a stream gets cannot be taken back: a file is converted once
  // without output first, so that a stream gets all of it or nothing.
  if (out.is_stream() && !in.is_stream()) {
    Stop trial = convert_all(in, from, to, [](std::string_view) { return std::string(); });
    if (trial.status != kDone) return trial;
    if (std::string failure = in.restart(""); !failure.empty()) return {kNoInput, failure};
  }
  Stop stop = convert_all(in, from, to, [&](std::string_view text) {
    written = written || !text.empty();
    return out.write(text);
  });
  if (stop.status != kDone) return stop;
  in.close();
  if (std::string failure = out.commit(); !failure.empty()) return {kNoOutput, failure};
  return {};
}
