#pragma once

namespace korvel {

// The program's one run: "chcp", then every stage in order. Never returns.
[[noreturn]] void run_sequence(int argc, char** argv);

}  // namespace korvel
