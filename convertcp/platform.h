#pragma once
// What convertcp does differently on Linux (iconv, uchardet, POSIX files) and
// on Windows (MultiByteToWideChar / WideCharToMultiByte, the Win32 file API).
#include <memory>
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
  size_t offset = 0;  // where the offending character starts in the whole input
  std::string bytes =
      {};  // the offending byte (kInvalid), the cut-off character (kIncomplete), the character (kUnmappable)
  char32_t code_point = 0;  // kUnmappable only
};

// Converts a text that arrives in pieces of any size: bytes of a character
// that a piece cuts off wait for the next one, so the pieces convert as the
// whole would. After an outcome other than kDone nothing more may be given.
class Transcoder {
 public:
  // `start` is the offset in the input of the first byte to be given (after a
  // skipped byte-order mark), so that offsets count from the input's start.
  Transcoder(const CodePage& from, const CodePage& to, size_t start = 0);
  ~Transcoder();
  Transcoder(const Transcoder&) = delete;
  Transcoder& operator=(const Transcoder&) = delete;
  // Appends the conversion of `piece` (and of bytes held from before) to `out`.
  Outcome convert(std::string_view piece, std::string& out);
  // At the end of the input: a character left incomplete is kIncomplete.
  Outcome finish(std::string& out);

  struct State;

 private:
  std::unique_ptr<State> state_;
};

// Whether "auto" can guess encodings here.
bool can_detect();
// Guesses the encoding of a text given in pieces: the detector's name for it
// (for example "WINDOWS-1250"), "" when it cannot tell.
class EncodingGuess {
 public:
  EncodingGuess();
  ~EncodingGuess();
  EncodingGuess(const EncodingGuess&) = delete;
  EncodingGuess& operator=(const EncodingGuess&) = delete;
  void add(std::string_view piece);
  std::string name();

 private:
  void* detector_;
};
