// Writes formats.js, as the indexer writes it into a site, to the file
// named, for the scripts' tests in node (site_scripts.mjs).
#include <cstdio>
#include <string>

#include "indexer/site/format_script.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velmor_format_script FILE\n");
    return 2;
  }
  const std::string text = velmor::format_script();
  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out || std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fclose(out) != 0) {
    std::fprintf(stderr, "velmor_format_script: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
