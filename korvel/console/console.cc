#include "korvel/console/console.h"

#include <string>

#include "korvel/console/terminal.h"

namespace korvel {

namespace {

// Bytes written since the last line end, modulo the console width; only the
// program's own output counts, not what shell commands print.
int output_column = 0;
// A number and the fill to the next zone wait for the rest of their line, so
// that a line of a long list goes out in one write, not three.
std::string held;
// Output gathered while a ConsoleBatch lives.
bool batching = false;
std::string gathered;

void send_gathered() {
  if (gathered.empty()) return;
  terminal_write(gathered);
  gathered.clear();
}

void send(std::string_view bytes) {
  if (!batching) return terminal_write(bytes);
  gathered.append(bytes);
  if (gathered.size() >= 64 * 1024) send_gathered();
}

void write_out(std::string_view bytes) {
  if (held.empty()) {
    send(bytes);
  } else {
    held.append(bytes);
    send(held);
    held.clear();
  }
  output_column = column_after(output_column, bytes, terminal_width());
}

void hold(std::string_view bytes) {
  held.append(bytes);
  output_column = column_after(output_column, bytes, terminal_width());
}

}  // namespace

int column_after(int column, std::string_view bytes, int width) {
  if (width < 1) width = 80;
  for (char c : bytes) column = (c == '\r' || c == '\n') ? 0 : (column + 1) % width;
  return column;
}

std::string number_text(long n) { return n < 0 ? std::to_string(n) : " " + std::to_string(n); }

std::string print_zone_fill(int column, int width) {
  int c = column + 1;                     // where the next character appears, from 1
  int z = 14 * ((column + 14) / 14) + 1;  // the next zone start after it
  if (z > width - 14) return "\r\n";
  return std::string(z - c, ' ');
}

void print_line(std::string_view text) {
  std::string line(text);
  line += "\r\n";
  write_out(line);
}

void print_text(std::string_view text) { write_out(text); }

void print_empty_line() { write_out("\r\n"); }

void print_number(long n) { hold(number_text(n)); }

void print_error_line(std::string_view text) {
  if (!held.empty()) write_out("");
  send_gathered();
  std::string line(text);
  line += "\r\n";
  terminal_write_error(line);
}

void next_print_zone() { hold(print_zone_fill(output_column, terminal_width())); }

ConsoleBatch::ConsoleBatch() : was_batching_(batching) { batching = true; }

ConsoleBatch::~ConsoleBatch() {
  batching = was_batching_;
  if (!batching) send_gathered();
}

}  // namespace korvel
