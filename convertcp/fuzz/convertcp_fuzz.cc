// Conversion in pieces: whatever the code pages and wherever the pieces end,
// the output and any failure (its kind, offset and bytes) are those of the
// whole input converted at once (a failing accented letter of CP1255 and
// CP1258 may be named by an accent), and a failure's bytes are the input's
// at its offset. The text sniffer's verdict does not depend on the pieces
// either. The first three bytes choose FROM, TO and the piece size.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "convertcp/code_pages.h"
#include "convertcp/platform.h"
#include "convertcp/text_sniffer.h"
#include "common/fuzz_check.h"

namespace {
Outcome convert(const CodePage& from, const CodePage& to, std::string_view text, size_t piece, std::string& out) {
  Transcoder transcoder(from, to);
  for (size_t at = 0; at < text.size(); at += piece) {
    Outcome outcome = transcoder.convert(text.substr(at, piece), out);
    if (outcome.kind != Outcome::kDone) return outcome;
  }
  return transcoder.finish(out);
}

// The Hebrew and Vietnamese pages, whose decoders combine a letter with the
// accents after it.
bool combines(const CodePage& page) { return page.number == 1255 || page.number == 1258; }

TextSniffer::Verdict sniff(std::string_view text, size_t piece) {
  TextSniffer sniffer;
  for (size_t at = 0; at < text.size(); at += piece) sniffer.add(text.substr(at, piece));
  return sniffer.verdict();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  std::span<const CodePage> pages = all_code_pages();
  const CodePage& from = pages[data[0] % pages.size()];
  const CodePage& to = pages[data[1] % pages.size()];
  size_t piece = 1 + data[2] % 9;
  std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);

  std::string whole_out, pieces_out;
  Outcome whole = convert(from, to, text, text.size() + 1, whole_out);
  Outcome pieces = convert(from, to, text, piece, pieces_out);
  FUZZ_CHECK(whole.kind == pieces.kind);
  if (whole.kind == Outcome::kDone) FUZZ_CHECK(whole_out == pieces_out);
  if (combines(from)) {
    // A letter and the accents that follow it fail as one character, named
    // by the letter or an accent, as the pieces fall.
    FUZZ_CHECK(whole.offset <= pieces.offset + 4 && pieces.offset <= whole.offset + 4);
  } else {
    FUZZ_CHECK(whole.offset == pieces.offset);
    FUZZ_CHECK(whole.bytes == pieces.bytes);
    FUZZ_CHECK(whole.code_point == pieces.code_point);
  }
  for (const Outcome* outcome : {&whole, &pieces}) {
    if (outcome->kind == Outcome::kDone || outcome->kind == Outcome::kUnsupported) continue;
    FUZZ_CHECK(outcome->offset < text.size() && !outcome->bytes.empty());
    FUZZ_CHECK(text.substr(outcome->offset, outcome->bytes.size()) == outcome->bytes);
  }

  TextSniffer::Verdict all = sniff(text, text.size() + 1);
  TextSniffer::Verdict split = sniff(text, piece);
  FUZZ_CHECK(all.kind == split.kind && all.code_page == split.code_page && all.why == split.why);
  return 0;
}
