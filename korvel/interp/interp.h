#pragma once
// The command interpreter used where there is no cmd.exe. It runs, in
// process, exactly the command lines korvel hands to cmd.exe, with cmd's
// observable behaviour: backslash paths found without regard to letter case,
// wildcards with the 8.3 rule, > and >> for standard output only, complaints
// on standard error in cmd's wording.
#include <string>
#include <string_view>

namespace korvel {

void interp_run(std::string_view line);
// Writes any output still held back for a redirection target. Whatever
// reads, removes or starts files outside the interpreter calls it first;
// it also runs at exit.
void interp_settle();

// Maps a cmd-style path (backslashes, relative to the current folder or
// absolute) onto the file system: each component that does not exist under
// its exact name is matched without regard to letter case. Components that
// match nothing are kept as written.
std::string interp_resolve(std::string_view path);

}  // namespace korvel
