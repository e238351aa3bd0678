#include "shell/native_path.h"

std::string native_path(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

FILE* open_native(const std::string& native, bool writing) {
  return std::fopen(native.c_str(), writing ? "wb" : "rb");
}

bool remove_native(const std::string& native) { return std::remove(native.c_str()) == 0; }
