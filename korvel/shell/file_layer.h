#pragma once
// Numbered file slots (1..255) for scratch files and documents. Nothing here
// prints an error: a missing file reads as empty, a failed output open loses
// its writes. A file being written can be asked whether every byte arrived
// (write_error) and, if not, removed (discard_file). Only regular files are
// read: a FIFO, socket or device reads as missing, without being opened. Reads reproduce a text-mode stream on every
// platform: CR LF reads as LF, a lone CR stays, 0x1A ends the readable data.
#include <string>
#include <string_view>

namespace korvel {

int free_handle();  // lowest free slot, 0 when all 255 are in use
void open_input(std::string_view path, int handle);
void open_output(std::string_view path, int handle);
bool at_end(int handle);
// Whether the open into `handle` worked; the opens themselves stay silent.
bool is_open(int handle);
// Whether `path` names a file (not a folder) that exists.
bool is_plain_file(std::string_view path);
std::string read_line(int handle);
// The same into `line`, whose room is kept from one line to the next.
void read_line(int handle, std::string& line);
// A line too long to hold, in parts: `part` gets the line's next bytes (a
// piece at most) and the result says whether they end it. The parts of a
// line joined are what read_line gives.
bool read_line_part(int handle, std::string& part);
// Whether a read from `handle` failed, as opposed to meeting the end.
bool read_failed(int handle);
void rewind_file(int handle);
void write_line(int handle, std::string_view text);
// The bytes alone, without a line end.
void write_text(int handle, std::string_view text);
// Writes out what is buffered; "" when every byte written to `handle` so far
// reached the file, else why not, in cmd's words ("There is not enough space
// on the disk."). After a failure further writes are dropped.
std::string write_error(int handle);
void close_file(int handle);
// Closes a file opened for writing and removes it: nothing cut short stays.
void discard_file(int handle);
void close_all_files();  // for end_run

}  // namespace korvel
