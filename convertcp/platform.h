#pragma once
// What convertcp does differently on Linux (iconv, uchardet, POSIX files) and
// on Windows (MultiByteToWideChar / WideCharToMultiByte, the Win32 file API).
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "convertcp/code_pages.h"

// The command line's words, file names in UTF-8 on Windows too.
std::vector<std::string> program_arguments(int argc, char** argv);

// Whether this system can convert from and to `page`.
bool system_has(const CodePage& page);

struct Outcome {
  enum Kind { kDone, kInvalid, kIncomplete, kUnmappable, kUnsupported } kind = kDone;
  size_t offset = 0;        // where the offending character starts in the input
  size_t length = 0;        // its bytes; kUnmappable only
  char32_t code_point = 0;  // kUnmappable only
};
// Converts all of `in` or nothing: on any outcome but kDone, `out` means nothing.
Outcome transcode(const CodePage& from, const CodePage& to, std::string_view in, std::string& out);

// Whether "auto" can guess encodings here, and the guess: the detector's name
// for the encoding (for example "WINDOWS-1250"), "" when it cannot tell.
bool can_detect();
std::string detect_encoding(std::string_view bytes);

// Creates `path`, which must not exist yet, writes `data` to it and makes it
// durable. 0 or an errno value (EEXIST when the name is taken).
int write_new_file(const std::filesystem::path& path, std::string_view data);
// Puts `from` in the place of `to`, replacing a file there in one step.
// "" or what went wrong.
std::string replace_file(const std::filesystem::path& from, const std::filesystem::path& to);
