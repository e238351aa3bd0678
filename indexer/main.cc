// velmor_01_209.exe: indexes every word of the pages in htm_in and writes a
// browsable concordance into htm_out.
#include <cstdio>
#include <string>
#include <vector>

#include "indexer/run/arguments.h"
#include "indexer/run/console.h"
#include "indexer/run/run_indexer.h"

int main(int argc, char** argv) {
  std::vector<std::string> args = velmor::program_arguments(argc, argv);
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
  const bool terminal = velmor::prepare_console();
  int status = velmor::run_indexer(parsed, terminal);
  // Started bare it is korvel's window, which closes when we end.
  if (parsed.none && terminal && velmor::input_is_terminal()) {
    std::fputs("press Enter to close", stdout);
    std::fflush(stdout);
    for (int c = std::getchar(); c != '\n' && c != EOF;) c = std::getchar();
  }
  return status;
}
