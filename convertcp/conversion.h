#pragma once
// The conversion of a whole INFILE into OUTFILE once both are open: the
// passes over the input, and what stops them.
#include <string>

#include "convertcp/code_pages.h"
#include "convertcp/input_file.h"
#include "convertcp/output_file.h"

enum Exit { kDone = 0, kUnconvertible = 1, kUsage = 2, kNoInput = 3, kNoOutput = 4, kUndetected = 5 };

// What stopped a conversion: a character (exit 1), an unavailable pair of
// code pages (2), reading or a changing input (3) or writing (4); with its
// message.
struct Stop {
  int status = kDone;
  std::string message;
  bool input_changed = false;
};

// "windows-1250 (1250)", as messages name a code page.
std::string named(const CodePage& page);

// Converts all of `in` into `out` and puts the text in place. A file is
// converted once without output first when `out` is a stream, so that the
// stream gets all of it or nothing, and a file that changed while it was
// read is never put in place. `written` says whether any text reached the
// output, which a stream cannot take back.
Stop convert_into(InputFile& in, OutputFile& out, const CodePage& from, const CodePage& to, bool& written);
