#pragma once
// Running one contender of the run benchmark (korvel, the floor, cp) in a
// working folder and measuring it: wall time to korvel's conversion header
// and to the end, peak memory, and, traced separately, its system calls.
#include <filesystem>
#include <string>
#include <vector>

namespace korvel {

struct Timing {
  double header_seconds = -1;  // when the header line was seen; -1: never
  double total_seconds = -1;
  long peak_kb = 0;  // largest resident set of the process and its children
  // Processor time, user and system, of the process and the children it
  // waited for: what a machine busy with other work changes least.
  double cpu_seconds = -1;
  bool ok = false;  // exited 0 and printed the closing line
};

// Runs argv in `folder` with `keys` on standard input, reading its standard
// output for the header and the closing line; standard error is dropped.
Timing run_contender(const std::vector<std::string>& argv, const std::filesystem::path& folder,
                     const std::string& keys);

// `bench_run --peak FILE -- argv...`: runs argv, writes its peak memory in
// KiB and its processor time in seconds into FILE, and exits as it did.
int peak_main(int argc, char** argv);

struct SyscallCount {
  long to_header = -1;
  long total = -1;
};

// The same run under `strace -f`, the trace written to `trace`: every system
// call of the process and its children, and how many came before the header.
SyscallCount count_syscalls(const std::vector<std::string>& argv, const std::filesystem::path& folder,
                            const std::string& keys, const std::filesystem::path& trace);

inline constexpr char kHeaderLine[] = "Reformatting *.txt files to *.htm.";
inline constexpr char kClosingLine[] = "INDEXING RESULTS";

}  // namespace korvel
