#include "korvel/driver/run_sequence.h"

using namespace korvel;

int main(int argc, char** argv) { run_sequence(argc, argv); }
