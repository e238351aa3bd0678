// convertcp.exe FROM TO INFILE OUTFILE: converts a text file from one code
// page to another, all or nothing.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "convertcp/code_pages.h"
#include "convertcp/platform.h"
#include "convertcp/replace_output.h"
#include "korvel_version.h"

namespace fs = std::filesystem;

namespace {
enum Exit { kDone = 0, kUnconvertible = 1, kUsage = 2, kNoInput = 3, kNoOutput = 4, kUndetected = 5 };

constexpr char kHelp[] =
    "Usage: convertcp.exe [--in-place] FROM TO INFILE [OUTFILE]\n"
    "       convertcp.exe -l | --help | --version\n"
    "\n"
    "Converts the text of INFILE from code page FROM to code page TO and writes\n"
    "it to OUTFILE. Code pages are given by Windows number (1250, 65001) or by\n"
    "name (cp1250, windows-1250, utf-8, koi8-r), in any letter case; -l lists\n"
    "them. FROM may be \"auto\": the encoding is detected and named on standard\n"
    "error (Linux builds only).\n"
    "\n"
    "OUTFILE is written under a temporary name beside it and renamed when the\n"
    "whole text has been converted, so it is never left half-written; after any\n"
    "error it is as it was. OUTFILE may not be INFILE (nor another name of the\n"
    "same file) unless --in-place is given; with --in-place, OUTFILE may be left\n"
    "out, and INFILE is replaced once its conversion is complete.\n"
    "\n"
    "A byte-order mark is text like any other and is converted with it, except\n"
    "that one at the start of a UTF-8, -16 or -32 input is dropped when TO is\n"
    "not a Unicode form, since no other code page can hold it. No mark is ever\n"
    "added.\n"
    "\n"
    "Exit status: 0 converted; 1 a character could not be converted (its offset\n"
    "in INFILE is shown); 2 wrong arguments or an unknown or unavailable code\n"
    "page; 3 INFILE cannot be read; 4 OUTFILE cannot be written or is INFILE;\n"
    "5 \"auto\" cannot tell the encoding.\n";

void say(const std::string& text) { std::fprintf(stderr, "convertcp: %s\n", text.c_str()); }

fs::path path_of(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string hex(std::string_view bytes) {
  std::string out;
  char digits[4];
  for (unsigned char byte : bytes) {
    std::snprintf(digits, sizeof digits, "%s%02X", out.empty() ? "" : " ", byte);
    out += digits;
  }
  return out;
}

bool is_auto(std::string_view word) {
  std::string lower;
  for (char c : word) lower += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  return lower == "auto";
}

std::string named(const CodePage& page) { return page.name + std::string(" (") + std::to_string(page.number) + ")"; }

int list_code_pages() {
  std::printf("%6s  %-16s %-32s%s\n", "number", "name", "description", " other names");
  for (const CodePage& page : all_code_pages()) {
    std::string aliases = *page.aliases ? std::string(" ") + page.aliases : "";
    std::printf("%6d  %-16s %-32s%s%s\n", page.number, page.name, page.description, aliases.c_str(),
                system_has(page) ? "" : "  (not on this system)");
  }
  return kDone;
}

bool read_input(const std::string& name, std::string& bytes) {
  fs::path path = path_of(name);
  std::error_code ec;
  fs::file_status status = fs::status(path, ec);
  if (!fs::exists(status)) return say("cannot find " + name), false;
  if (fs::is_directory(status)) return say(name + " is a folder, not a file"), false;
  std::ifstream in(path, std::ios::binary);
  if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in || in.bad()) return say("cannot read " + name), false;
  return true;
}

// The code page "auto" settles on, or nullptr after saying why there is none.
const CodePage* detect(const std::string& name, std::string_view bytes) {
  if (bytes.empty()) return say(name + " is empty: nothing to detect"), find_code_page("65001");
  const CodePage* page = code_page_of_mark(bytes);
  std::string found = page ? "a byte-order mark" : "";
  if (!page) {
    std::string guess = detect_encoding(bytes);
    if (guess.empty()) return say("cannot tell the encoding of " + name + "; give FROM instead of auto"), nullptr;
    page = find_code_page(guess);
    if (!page) return say(name + " looks like " + guess + ", which convertcp does not know"), nullptr;
  }
  say(name + ": found " + named(*page) + (found.empty() ? "" : " by " + found));
  return page;
}

std::string failure_text(const Outcome& outcome, const CodePage& from, const CodePage& to, std::string_view in) {
  std::string at = "offset " + std::to_string(outcome.offset) + ": ";
  switch (outcome.kind) {
    case Outcome::kInvalid:
      return at + "byte " + hex(in.substr(outcome.offset, 1)) + " is not " + named(from) + " text";
    case Outcome::kIncomplete:
      return at + "the text ends inside a " + named(from) + " character (" + hex(in.substr(outcome.offset)) + ")";
    case Outcome::kUnmappable: {
      char code_point[16];
      std::snprintf(code_point, sizeof code_point, "U+%04X", unsigned(outcome.code_point));
      return at + "character " + code_point + " (" + hex(in.substr(outcome.offset, outcome.length)) +
             ") has no place in " + named(to);
    }
    default:
      return "this system cannot convert from " + named(from) + " to " + named(to);
  }
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

  std::string in;
  if (!read_input(infile, in)) return kNoInput;
  if (!in_place && same_file(path_of(infile), path_of(outfile)))
    return say(outfile + " is " + infile + "; give --in-place to replace it"), kNoOutput;
  if (automatic && !(from = detect(infile, in))) return kUndetected;

  std::string_view text = in;
  size_t skipped = 0;
  if (is_unicode(*from) && !is_unicode(*to) && text.starts_with(byte_order_mark(*from)))
    skipped = byte_order_mark(*from).size();
  std::string out;
  Outcome outcome = transcode(*from, *to, text.substr(skipped), out);
  if (outcome.kind != Outcome::kDone) {
    outcome.offset += skipped;
    say(infile + ": " + failure_text(outcome, *from, *to, in));
    say(outfile + " was not written");
    return outcome.kind == Outcome::kUnsupported ? kUsage : kUnconvertible;
  }
  std::string failure = replace_output(path_of(outfile), out);
  if (!failure.empty()) return say("cannot write " + outfile + ": " + failure), kNoOutput;
  return kDone;
}
}  // namespace

int main(int argc, char** argv) { return run(program_arguments(argc, argv)); }
