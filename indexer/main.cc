// velmor_01_209.exe: indexes every word of the pages in htm_in and writes a
// browsable concordance into htm_out.
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "indexer/run/arguments.h"
#include "indexer/run/run_indexer.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  velmor::Arguments parsed;
  std::string error;
  if (!velmor::parse_arguments(args, parsed, error)) {
    std::fprintf(stderr, "velmor: %s\n%s\n", error.c_str(), velmor::kUsage);
    return velmor::kBadUsage;
  }
  if (parsed.help) {
    std::fputs(velmor::kHelp, stdout);
    return 0;
  }
  if (parsed.version) {
    std::puts("velmor_01_209.exe " VELMOR_VERSION);
    return 0;
  }
  int status = velmor::run_indexer(parsed);
  // Started bare it is korvel's window, which closes when we end.
  if (parsed.none && isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) {
    std::fputs("press Enter to close", stdout);
    std::fflush(stdout);
    for (int c = std::getchar(); c != '\n' && c != EOF;) c = std::getchar();
  }
  return status;
}
