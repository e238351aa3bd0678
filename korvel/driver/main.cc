#include "korvel/driver/run_sequence.h"

int main(int argc, char** argv) { run_sequence(argc, argv); }
