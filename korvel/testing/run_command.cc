// Runs argv[1] as one command line through the in-process interpreter, so
// tests and benchmarks can drive it from outside.
#include "korvel/interp/interp.h"

using namespace korvel;

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  interp_run(argv[1]);
  return 0;
}
