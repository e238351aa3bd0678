#pragma once
#include <string>

// The program's one run: "chcp", then every stage in order. Never returns.
[[noreturn]] void run_sequence(int argc, char** argv);

// The first word of the command line, as received; shown on the banner.
const std::string& invocation_path();
