// convertcp.exe FROM TO INFILE OUTFILE: converts a text file from one code
// page to another, all or nothing.
#include <csignal>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "convertcp/code_pages.h"
#include "convertcp/conversion.h"
#include "convertcp/files.h"
#include "convertcp/input_file.h"
#include "convertcp/output_file.h"
#include "convertcp/platform.h"
#include "convertcp/text_sniffer.h"
#include "korvel_version.h"

namespace fs = std::filesystem;

namespace {
constexpr char kHelp[] =
    "Usage: convertcp.exe [--in-place] FROM TO INFILE [OUTFILE]\n"
    "       convertcp.exe -l | --help | --version\n"
    "\n"
    "Converts the text of INFILE from code page FROM to code page TO and writes\n"
    "it to OUTFILE. Code pages are given by Windows number (1250, 65001) or by\n"
    "name (cp1250, windows-1250, utf-8, koi8-r), in any letter case; -l lists\n"
    "them. FROM may be \"auto\": the encoding is detected and named on standard\n"
    "error (Linux builds only); what is not text is refused, and UTF-16 or -32\n"
    "without a byte-order mark is told by its zero bytes.\n"
    "\n"
    "INFILE is a file, or - for standard input (\"auto\" looks at its first 4 MB).\n"
    "OUTFILE is written under a temporary name beside it and renamed when the\n"
    "whole text has been converted, so it is never left half-written; after any\n"
    "error it is as it was. OUTFILE may not be INFILE (nor another name of the\n"
    "same file) unless --in-place is given; with --in-place, OUTFILE may be left\n"
    "out, and INFILE is replaced once its conversion is complete. OUTFILE - is\n"
    "standard output; it, a FIFO or a device such as /dev/null gets the text\n"
    "as it is converted, all or nothing when INFILE is a file.\n"
    "\n"
    "A byte-order mark is text like any other and is converted with it, except\n"
    "that one at the start of a UTF-8, -16 or -32 input is dropped when TO is\n"
    "not a Unicode form, since no other code page can hold it. No mark is ever\n"
    "added.\n"
    "\n"
    "Exit status: 0 converted; 1 a character could not be converted (its offset\n"
    "in INFILE is shown); 2 wrong arguments or an unknown or unavailable code\n"
    "page; 3 INFILE cannot be read, or changed while it was read; 4 OUTFILE\n"
    "cannot be written or is INFILE; 5 \"auto\" cannot tell the encoding.\n";

void say(const std::string& text) { std::fprintf(stderr, "convertcp: %s\n", text.c_str()); }

fs::path path_of(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

bool is_auto(std::string_view word) {
  std::string lower;
  for (char c : word) lower += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  return lower == "auto";
}

int list_code_pages() {
  std::printf("%6s  %-16s %-32s%s\n", "number", "name", "description", " other names");
  for (const CodePage& page : all_code_pages()) {
    std::string aliases = *page.aliases ? std::string(" ") + page.aliases : "";
    std::printf("%6d  %-16s %-32s%s%s\n", page.number, page.name, page.description, aliases.c_str(),
                system_has(page) ? "" : "  (not on this system)");
  }
  return kDone;
}

// Pieces of this size keep memory bounded whatever the size of the input.
constexpr size_t kPiece = size_t(1) << 20;
// "auto" looks at a file whole, but at no more than this of a stream, which
// it must hold in memory to convert it afterwards.
constexpr size_t kStreamSample = size_t(4) << 20;

struct Detected {
  const CodePage* page = nullptr;
  int status = kDone;
};

// The code page "auto" settles on, after saying which; or the exit status
// after saying why there is none. The input starts again afterwards.
Detected detect(const std::string& name, InputFile& in) {
  std::string start, piece, sample;
  TextSniffer sniffer;
  EncodingGuess guess;
  size_t size = 0;
  for (;;) {
    if (std::string failure = in.read(piece, kPiece); !failure.empty())
      return say("cannot read " + name + ": " + failure), Detected{nullptr, kNoInput};
    if (piece.empty()) break;
    if (start.size() < 4) start += piece.substr(0, 4 - start.size());
    size += piece.size();
    sniffer.add(piece);
    guess.add(piece);
    if (in.is_stream()) {
      sample += piece;
      if (sample.size() >= kStreamSample) break;
    }
  }
  if (std::string changed = in.unchanged(true); !changed.empty())
    return say("cannot read " + name + ": " + changed), Detected{nullptr, kNoInput};
  if (std::string failure = in.restart(std::move(sample)); !failure.empty())
    return say("cannot read " + name + ": " + failure), Detected{nullptr, kNoInput};
  if (size == 0) return say(name + " is empty: nothing to detect"), Detected{find_code_page("65001")};

  const CodePage* page = code_page_of_mark(start);
  std::string how = page ? " by a byte-order mark" : "";
  if (!page) {
    TextSniffer::Verdict verdict = sniffer.verdict();
    if (verdict.kind == TextSniffer::Verdict::kBinary)
      return say(name + " does not look like text (" + verdict.why + "); give FROM instead of auto"),
             Detected{nullptr, kUndetected};
    if (verdict.kind == TextSniffer::Verdict::kUnicode) {
      page = find_code_page(std::to_string(verdict.code_page));
      how = " by its zero bytes (no byte-order mark)";
    }
  }
  if (!page) {
    std::string guessed = guess.name();
    if (guessed.empty())
      return say("cannot tell the encoding of " + name + "; give FROM instead of auto"), Detected{nullptr, kUndetected};
    page = find_code_page(guessed);
    if (!page)
      return say(name + " looks like " + guessed + ", which convertcp does not know"), Detected{nullptr, kUndetected};
  }
  say(name + ": found " + named(*page) + how);
  return {page};
}

// Says why a conversion stopped and what became of OUTFILE.
int stopped(const Stop& stop, const std::string& infile, const std::string& outfile, bool partly_written) {
  if (stop.status == kNoInput) say("cannot read " + infile + ": " + stop.message);
  else if (stop.status == kNoOutput) say("cannot write " + outfile + ": " + stop.message);
  else say(infile + ": " + stop.message);
  if (partly_written && stop.input_changed)
    say(outfile + " got the text of " + infile + " as it was read while it changed: a stream cannot be taken back");
  else if (partly_written) say(outfile + " got only the text before the failure: a stream cannot be taken back");
  else if (stop.status != kNoOutput) say(outfile + " was not written");
  return stop.status;
}

int run(std::vector<std::string> args) {
  bool in_place = false;
  std::vector<std::string> words;
  bool options = true;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && (arg == "--help" || arg == "-h" || arg == "/?")) {
      return std::fputs(kHelp, stdout), kDone;
    } else if (options && arg == "--version") {
      return std::printf("convertcp.exe %s (%s)\n", KORVEL_VERSION,
                         can_detect() ? "iconv, uchardet" : "Windows code pages"),
             kDone;
    } else if (options && (arg == "-l" || arg == "--list")) {
      return list_code_pages();
    } else if (options && arg == "--in-place") {
      in_place = true;
    } else if (options && arg.size() > 1 && arg[0] == '-') {
      return say("unknown option " + arg + " (convertcp.exe --help)"), kUsage;
    } else {
      words.push_back(arg);
    }
  }
  if (in_place && words.size() == 3) words.push_back(words[2]);
  if (words.size() != 4) return say("give FROM TO INFILE OUTFILE (convertcp.exe --help)"), kUsage;
  const std::string& infile = words[2];
  const std::string& outfile = words[3];

  bool automatic = is_auto(words[0]);
  if (automatic && !can_detect())
    return say("\"auto\" is not available in this build; give FROM (convertcp.exe -l)"), kUsage;
  const CodePage* from = automatic ? nullptr : find_code_page(words[0]);
  const CodePage* to = find_code_page(words[1]);
  for (size_t i = automatic ? 1 : 0; i < 2; ++i)
    if (!(i == 0 ? from : to)) return say("unknown code page " + words[i] + " (convertcp.exe -l lists them)"), kUsage;

  InputFile in;
  if (std::string failure = in.open(infile); !failure.empty()) return say(failure), kNoInput;
  bool streams = infile == "-" || outfile == "-";
  if (!in_place && !streams && names_one_file(path_of(infile), path_of(outfile)))
    return say(outfile + " is " + infile + "; give --in-place to replace it"), kNoOutput;
  if (automatic) {
    Detected detected = detect(infile, in);
    if (!detected.page) return detected.status;
    from = detected.page;
  }
  OutputFile out;
  if (std::string failure = out.open(outfile); !failure.empty())
    return say("cannot write " + outfile + ": " + failure), kNoOutput;
  if (out.is_stream() && same_file(in.descriptor(), out.descriptor()))
    return say(outfile + " is " + infile + ", which a stream cannot replace"), kNoOutput;

  bool written = false;
  Stop stop = convert_into(in, out, *from, *to, written);
  return stop.status == kDone ? kDone : stopped(stop, infile, outfile, out.is_stream() && written);
}
}  // namespace

int main(int argc, char** argv) {
#ifdef SIGPIPE
  // A reader that goes away is a write error with a message, not a silent end.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  try {
    return run(program_arguments(argc, argv));
  } catch (const std::bad_alloc&) {
    say("not enough memory; the output was not written");
    return kNoInput;
  } catch (const std::exception& error) {
    say(std::string("stopped: ") + error.what() + "; the output was not written");
    return kNoInput;
  }
}
