#include "common/utf8_files.h"

#include <string>

namespace common {

std::FILE* open_file(const std::string& name, const char* mode) {
  return std::fopen(name.c_str(), (std::string(mode) + "e").c_str());  // e: close on exec
}

bool remove_file(const std::string& name) { return std::remove(name.c_str()) == 0; }

}  // namespace common
