#pragma once
// Where the interpreter's text goes. Standard output is collected per command
// and written in one piece; standard error always goes straight to fd 2, and
// pending standard output is written first so the two keep their order on a
// console. Every line ends in CR LF.
#include <string>
#include <string_view>
#include <sys/types.h>

namespace korvel {

void out_line(std::string_view text);
void err_line(std::string_view text);
void out_flush();
// Text as it is, no line end added.
void out_text(std::string_view text);
// Sends standard output into `into` from now on instead of an fd (nullptr:
// back to the fd); returns the previous one.
std::string* capture_out(std::string* into);
// Sends standard output to `fd` from now on, from offset `at` on when it is
// not -1; returns the previous fd.
int swap_out_fd(int fd, off_t at = -1);
// After writing out what is pending: 0 if everything sent to the current fd
// since it was swapped in arrived, else the errno of the first write that
// did not (a full disk, a closed pipe).
int out_write_error();
// Bytes that reached the current fd since it was swapped in.
unsigned long long out_bytes_written();

}  // namespace korvel
