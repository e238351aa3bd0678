#pragma once
// What convertcp does differently on Linux (iconv, uchardet, POSIX files) and
// on Windows (MultiByteToWideChar / WideCharToMultiByte, the Win32 file API).
#include <filesystem>
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
  size_t offset = 0;        // where the offending character starts in the whole input
  std::string bytes = {};   // the offending byte (kInvalid), the cut-off character (kIncomplete), the character (kUnmappable)
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

// Files by descriptor. Calls return 0 or an errno value.
enum class FileKind { kMissing, kRegular, kFolder, kFifo, kCharDevice, kBlockDevice, kSocket, kOther };
// What is at `path` once links are followed.
FileKind kind_at(const std::filesystem::path& path);
FileKind kind_of(int fd);
// The descriptors of standard input and output, set to carry bytes unchanged.
int standard_input();
int standard_output();
// The descriptor that an OUTFILE naming one stands for ("/dev/stdout",
// "/dev/fd/3"), or -1.
int descriptor_named(const std::string& name);
// Opens for reading without waiting: a FIFO without a writer does not block.
int open_for_reading(const std::filesystem::path& path, int& fd);
// Opens an existing file for writing, neither creating nor truncating it.
int open_existing(const std::filesystem::path& path, int& fd);
// Creates `path`, which must not exist yet (EEXIST when the name is taken).
int create_new_file(const std::filesystem::path& path, int& fd);
// Reads until `size` bytes or the end; `got` says how many came.
int read_full(int fd, char* buffer, size_t size, size_t& got);
int write_all(int fd, std::string_view data);
int rewind_file(int fd);
// Makes the file durable and closes it.
int sync_and_close(int fd);
void close_file(int fd);
bool same_file(int a, int b);
// Puts `from` in the place of `to`, replacing a file there in one step.
// "" or what went wrong.
std::string replace_file(const std::filesystem::path& from, const std::filesystem::path& to);
