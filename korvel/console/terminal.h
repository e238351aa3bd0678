#pragma once
// The one place where the console layer meets the operating system. One
// implementation per platform: terminal-posix.cc and terminal-win32.cc.
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// Sets up input and output for the run: raw key input on an interactive
// terminal, binary output. Called once, before anything is printed.
void terminal_start();
// Gives the terminal back as it was. Safe to call more than once.
void terminal_restore();

// Columns of the console; 80 when standard output is not a console.
int terminal_width();
// Writes the bytes to standard output at once; failures are ignored.
void terminal_write(std::string_view bytes);
// The same for the error stream.
void terminal_write_error(std::string_view bytes);

// Appends every key press that has already arrived; never waits.
void terminal_take_keys(std::vector<std::string>& keys);
// Blocks until more input may be there. False once input has ended for good
// (a pipe or file at its end): no key will ever come again.
bool terminal_wait_input();

}  // namespace korvel
