// Windows. Keys come from the console's input events; a standard input that
// is not a console (pipe, file) is a script: each byte is one key press.
// Ctrl+C and Ctrl+Break keep the console's default handling: the process ends.
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "korvel/console/terminal.h"

namespace korvel {

namespace {

HANDLE input = INVALID_HANDLE_VALUE;
bool console_input = false;
bool input_ended = false;
std::string read_ahead;  // bytes a blocking wait took from a pipe or file

bool is_modifier_alone(WORD virtual_key) {
  return virtual_key == VK_SHIFT || virtual_key == VK_CONTROL || virtual_key == VK_MENU || virtual_key == VK_CAPITAL ||
         virtual_key == VK_NUMLOCK || virtual_key == VK_SCROLL || virtual_key == VK_LWIN || virtual_key == VK_RWIN;
}

void take_console_keys(std::vector<std::string>& keys) {
  DWORD waiting = 0;
  while (GetNumberOfConsoleInputEvents(input, &waiting) && waiting > 0) {
    INPUT_RECORD records[64];
    DWORD count = 0;
    if (!ReadConsoleInputA(input, records, waiting < 64 ? waiting : 64, &count) || count == 0) return;
    for (DWORD i = 0; i < count; ++i) {
      if (records[i].EventType != KEY_EVENT) continue;
      const KEY_EVENT_RECORD& key = records[i].Event.KeyEvent;
      if (!key.bKeyDown || is_modifier_alone(key.wVirtualKeyCode)) continue;
      std::string press;
      if (key.uChar.AsciiChar != 0) press.assign(1, key.uChar.AsciiChar);
      else press = {'\xff', static_cast<char>(key.wVirtualScanCode)};
      for (WORD repeat = 0; repeat < (key.wRepeatCount ? key.wRepeatCount : 1); ++repeat) keys.push_back(press);
    }
  }
}

// Reads what a pipe or file holds now without blocking on an empty pipe.
void take_script_bytes(std::string& bytes) {
  for (;;) {
    DWORD available = 1 << 16;  // a file: read on until its end
    if (GetFileType(input) == FILE_TYPE_PIPE) {
      if (!PeekNamedPipe(input, nullptr, 0, nullptr, &available, nullptr)) {
        // A closed pipe says so; any other refusal to peek (some pipe
        // emulations have none) leaves the question to the blocking read.
        if (GetLastError() == ERROR_BROKEN_PIPE) input_ended = true;
        return;
      }
      if (available == 0) return;
    }
    char buffer[512];
    DWORD count = 0;
    DWORD wanted = available < sizeof buffer ? available : sizeof buffer;
    if (!ReadFile(input, buffer, wanted, &count, nullptr) || count == 0) {
      input_ended = true;
      return;
    }
    bytes.append(buffer, count);
  }
}

}  // namespace

void terminal_start() {
  // Binary, so the CR LF we write is not turned into CR CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  console_input = input != INVALID_HANDLE_VALUE && input != nullptr && GetConsoleMode(input, &mode);
}

void terminal_restore() {}

int terminal_width() {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info) && info.dwSize.X > 0) return info.dwSize.X;
  return 80;
}

namespace {
void write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    unsigned int chunk = bytes.size() < 65536 ? static_cast<unsigned int>(bytes.size()) : 65536;
    int written = _write(fd, bytes.data(), chunk);
    if (written <= 0) return;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}
}  // namespace

void terminal_write(std::string_view bytes) { write_all(1, bytes); }

void terminal_write_error(std::string_view bytes) { write_all(2, bytes); }

void terminal_take_keys(std::vector<std::string>& keys) {
  if (input == INVALID_HANDLE_VALUE || input == nullptr) {
    input_ended = true;
    return;
  }
  if (console_input) {
    take_console_keys(keys);
    return;
  }
  std::string bytes;
  bytes.swap(read_ahead);
  if (!input_ended) take_script_bytes(bytes);
  for (char c : bytes) keys.emplace_back(1, c);
}

bool terminal_wait_input() {
  if (console_input) {
    WaitForSingleObject(input, INFINITE);
    return true;
  }
  if (input_ended || input == INVALID_HANDLE_VALUE || input == nullptr) return false;
  // A pipe cannot be waited on; block in a one-byte read and keep the byte.
  char byte = 0;
  DWORD count = 0;
  if (!ReadFile(input, &byte, 1, &count, nullptr) || count == 0) {
    input_ended = true;
    return false;
  }
  read_ahead += byte;
  return true;
}

}  // namespace korvel
