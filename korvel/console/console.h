#pragma once
// Console output. Every write goes straight to standard output, unbuffered
// (outside a ConsoleBatch, below), so it interleaves correctly with what
// shell commands print. Lines end in CR LF on every platform.
#include <string>
#include <string_view>

namespace korvel {

void print_line(std::string_view text);
void print_text(std::string_view text);
void print_empty_line();
// These two go out with the next output (print_line, print_text, ...),
// which the program always sends after them.
void print_number(long n);
void next_print_zone();
// One line on the error stream, where the command interpreter's complaints
// go too; it does not move the output column.
void print_error_line(std::string_view text);

// While one lives, the program's own output gathers into large writes: the
// list of pages is a line per document, and a write per line cost more than
// the rest of the list. An error line sends what has gathered before it, and
// the end of the scope sends the rest. No shell command may run inside one.
struct ConsoleBatch {
  ConsoleBatch();
  ~ConsoleBatch();
  ConsoleBatch(const ConsoleBatch&) = delete;
  ConsoleBatch& operator=(const ConsoleBatch&) = delete;

 private:
  bool was_batching_;
};

// Pure pieces, for tests.
std::string number_text(long n);                     // " 1", " 0", "-3"
std::string print_zone_fill(int column, int width);  // blanks to the next zone, or CR LF
// Output column after writing `bytes` from `column`: a line end (CR or LF)
// resets it, every other byte moves it on, wrapping at `width`.
int column_after(int column, std::string_view bytes, int width);

}  // namespace korvel
