#include "korvel/shell/file_layer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

#include "korvel/base/write_failure.h"
#include "korvel/shell/native_path.h"

namespace korvel {

namespace {

constexpr int kSlots = 255;
constexpr size_t kBufferSize = 8192;
// Lines are read in pieces of this many bytes at most; a piece that happens to
// end in a lone CR ends the line there, as the text-mode reader always did.
constexpr size_t kPieceSize = 511;
constexpr int kEndOfData = -1;

struct Slot {
  int fd = -1;
  bool writing = false;
  std::string native;   // for removing a file that could not be written whole
  int write_errno = 0;  // the first write that failed
  bool read_failed = false;
  uintmax_t size = 0;      // taken at open; the end test compares against it
  uintmax_t position = 0;  // raw bytes consumed from the file
  bool ended = false;      // a read met the end of the readable data
  std::array<char, kBufferSize> buffer;
  size_t buffer_length = 0;  // reading: bytes in the buffer; writing: bytes waiting
  size_t buffer_next = 0;
};

std::array<std::unique_ptr<Slot>, kSlots + 1> slots;

Slot* slot_of(int handle) {
  if (handle < 1 || handle > kSlots) return nullptr;
  return slots[handle].get();
}

bool refill(Slot& s) {
  if (s.buffer_next < s.buffer_length) return true;
  long n = read_native(s.fd, s.buffer.data(), s.buffer.size());
  if (n < 0) s.read_failed = true;
  s.buffer_length = n > 0 ? static_cast<size_t>(n) : 0;
  s.buffer_next = 0;
  return s.buffer_length > 0;
}

int peek_raw(Slot& s) {
  if (!refill(s)) return kEndOfData;
  return static_cast<unsigned char>(s.buffer[s.buffer_next]);
}

void skip_raw(Slot& s) {
  ++s.buffer_next;
  ++s.position;
}

// One byte as a text-mode stream delivers it: CR LF becomes LF, a lone CR
// stays, and 0x1A ends the data for good.
int next_text_byte(Slot& s) {
  if (s.ended) return kEndOfData;
  int c = peek_raw(s);
  if (c == kEndOfData || c == 0x1A) {
    s.ended = true;
    return kEndOfData;
  }
  skip_raw(s);
  if (c == '\r' && peek_raw(s) == '\n') {
    skip_raw(s);
    return '\n';
  }
  return c;
}

// How many of the first `limit` bytes hold none of LF, CR and 0x1A.
size_t plain_run(const char* begin, size_t limit) {
  for (char stop : {'\n', '\r', '\x1a'})
    if (const void* at = std::memchr(begin, stop, limit))
      limit = static_cast<size_t>(static_cast<const char*>(at) - begin);
  return limit;
}

// Appends bytes up to and including the next LF, at most kPieceSize of them.
// Plain bytes are copied a buffer run at a time; only CR and 0x1A need the
// byte-wise path.
void read_piece(Slot& s, std::string& piece) {
  while (piece.size() < kPieceSize) {
    if (s.ended || !refill(s)) {
      s.ended = true;
      return;
    }
    const char* begin = s.buffer.data() + s.buffer_next;
    size_t limit = std::min(s.buffer_length - s.buffer_next, kPieceSize - piece.size());
    size_t n = plain_run(begin, limit);
    piece.append(begin, n);
    s.buffer_next += n;
    s.position += n;
    if (n < limit) {
      int c = next_text_byte(s);
      if (c == kEndOfData) return;
      piece.push_back(static_cast<char>(c));
      if (c == '\n') return;
    }
  }
}

// Sends what waits in the buffer; the first failure is kept and ends writing.
void flush_slot(Slot& s) {
  size_t done = 0;
  while (s.write_errno == 0 && done < s.buffer_length) {
    long n = write_native(s.fd, s.buffer.data() + done, s.buffer_length - done);
    if (n <= 0) s.write_errno = n < 0 && errno != 0 ? errno : EIO;
    else done += static_cast<size_t>(n);
  }
  s.buffer_length = 0;
}

void put(Slot& s, std::string_view bytes) {
  while (!bytes.empty() && s.write_errno == 0) {
    size_t n = std::min(bytes.size(), s.buffer.size() - s.buffer_length);
    std::memcpy(s.buffer.data() + s.buffer_length, bytes.data(), n);
    s.buffer_length += n;
    bytes.remove_prefix(n);
    if (s.buffer_length == s.buffer.size()) flush_slot(s);
  }
}

void open_slot(std::string_view path, int handle, bool writing) {
  if (handle < 1 || handle > kSlots || slots[handle]) return;
  // A folder is no file to read, here as on Windows, where it cannot be
  // opened: it must not pass for an empty document.
  std::unique_ptr<Slot> s(new Slot);  // the buffer needs no zeroing: every byte read is written first
  s->fd = open_native(path, writing, s->size, s->native);
  if (s->fd < 0) return;
  s->writing = writing;
  slots[handle] = std::move(s);
}

}  // namespace

int free_handle() {
  for (int h = 1; h <= kSlots; ++h)
    if (!slots[h]) return h;
  return 0;
}

void open_input(std::string_view path, int handle) { open_slot(path, handle, false); }

void open_output(std::string_view path, int handle) { open_slot(path, handle, true); }

bool is_open(int handle) { return slot_of(handle) != nullptr; }

bool is_plain_file(std::string_view path) { return is_regular_native(path); }

bool at_end(int handle) {
  Slot* s = slot_of(handle);
  if (!s) return true;
  if (s->writing) return s->ended;
  return s->ended || s->position >= s->size;
}

namespace {
// A line that lies whole in the buffer, in one piece, with nothing in it to
// translate but its CR LF: what almost every line of a document is.
bool read_plain_line(Slot& s, std::string& line) {
  if (s.ended || s.buffer_next >= s.buffer_length) return false;
  const char* begin = s.buffer.data() + s.buffer_next;
  size_t room = std::min(s.buffer_length - s.buffer_next, kPieceSize);
  const char* lf = static_cast<const char*>(std::memchr(begin, '\n', room));
  if (!lf) return false;
  size_t n = static_cast<size_t>(lf - begin);
  size_t kept = n > 0 && begin[n - 1] == '\r' ? n - 1 : n;
  if (std::memchr(begin, '\r', kept) || std::memchr(begin, 0x1A, n)) return false;
  line.assign(begin, kept);
  s.buffer_next += n + 1;
  s.position += n + 1;
  return true;
}
}  // namespace

void read_line(int handle, std::string& line) {
  line.clear();
  Slot* s = slot_of(handle);
  if (!s || s->writing) return;
  if (read_plain_line(*s, line)) return;
  // Most lines are one piece: it goes straight into `line`.
  std::string piece;
  for (bool first = true;; first = false) {
    std::string& into = first ? line : piece;
    into.clear();
    read_piece(*s, into);
    if (into.empty()) return;
    bool complete = true;
    if (into.back() == '\n') {
      into.pop_back();
      if (!into.empty() && into.back() == '\r') into.pop_back();
    } else if (into.back() == '\r') {
      into.pop_back();
    } else {
      complete = false;
    }
    if (!first) line += piece;
    if (complete) return;
  }
}

bool read_line_part(int handle, std::string& part) {
  part.clear();
  Slot* s = slot_of(handle);
  if (!s || s->writing) return true;
  if (read_plain_line(*s, part)) return true;
  read_piece(*s, part);
  if (part.empty()) return true;
  if (part.back() == '\n') {
    part.pop_back();
    if (!part.empty() && part.back() == '\r') part.pop_back();
    return true;
  }
  if (part.back() == '\r') {
    part.pop_back();
    return true;
  }
  return false;
}

bool read_failed(int handle) {
  Slot* s = slot_of(handle);
  return s && s->read_failed;
}

std::string read_line(int handle) {
  std::string line;
  read_line(handle, line);
  return line;
}

void rewind_file(int handle) {
  Slot* s = slot_of(handle);
  if (!s) return;
  if (s->writing) flush_slot(*s);
  rewind_native(s->fd);
  s->position = 0;
  s->ended = false;
  s->buffer_length = s->buffer_next = 0;
}

void write_line(int handle, std::string_view text) {
  Slot* s = slot_of(handle);
  if (!s || !s->writing || s->write_errno != 0) return;
  if (text.size() + 2 <= s->buffer.size() - s->buffer_length) {  // the usual line: two copies and done
    std::memcpy(s->buffer.data() + s->buffer_length, text.data(), text.size());
    std::memcpy(s->buffer.data() + s->buffer_length + text.size(), "\r\n", 2);
    s->buffer_length += text.size() + 2;
    return;
  }
  put(*s, text);
  put(*s, "\r\n");
}

void write_text(int handle, std::string_view text) {
  Slot* s = slot_of(handle);
  if (s && s->writing) put(*s, text);
}

std::string write_error(int handle) {
  Slot* s = slot_of(handle);
  if (!s || !s->writing) return {};
  flush_slot(*s);
  return s->write_errno == 0 ? std::string() : write_failure_text(s->write_errno);
}

void close_file(int handle) {
  Slot* s = slot_of(handle);
  if (!s) return;
  if (s->writing) flush_slot(*s);
  close_native(s->fd);
  slots[handle].reset();
}

void discard_file(int handle) {
  Slot* s = slot_of(handle);
  if (!s || !s->writing) return close_file(handle);
  std::string native = s->native;
  close_file(handle);
  remove_native(native);
}

void close_all_files() {
  for (int h = 1; h <= kSlots; ++h) close_file(h);
}

}  // namespace korvel
