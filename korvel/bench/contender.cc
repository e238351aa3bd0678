#include "korvel/bench/contender.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

// The process environment, declared by POSIX at global scope.
extern char** environ;

namespace korvel {

namespace {

double since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

Timing run_contender(const std::vector<std::string>& argv, const std::filesystem::path& folder,
                     const std::string& keys) {
  Timing timing;
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return timing;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  // Through a small process of this program's own: a child's peak memory
  // counts that of whoever started it, and this one's is far larger.
  std::filesystem::path peak_file = folder.parent_path() / "peak_kb";
  std::vector<std::string> measured = {"/proc/self/exe", "--peak", peak_file.string(), "--"};
  measured.insert(measured.end(), argv.begin(), argv.end());
  std::vector<char*> args;
  for (const std::string& a : measured) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  if (spawned == 0 && !keys.empty()) (void)!write(in[1], keys.data(), keys.size());
  close(in[1]);
  std::string tail;  // enough of the output to find a line split across reads
  bool closed = false;
  char buffer[1 << 16];
  for (ssize_t n; spawned == 0 && (n = read(out[0], buffer, sizeof buffer)) > 0;) {
    tail.append(buffer, static_cast<size_t>(n));
    if (timing.header_seconds < 0 && tail.find(kHeaderLine) != std::string::npos) timing.header_seconds = since(start);
    if (tail.find(kClosingLine) != std::string::npos) closed = true;
    if (tail.size() > 64) tail.erase(0, tail.size() - 64);
  }
  close(out[0]);
  if (spawned != 0) return timing;
  int status = 0;
  waitpid(pid, &status, 0);
  timing.total_seconds = since(start);
  std::ifstream(peak_file) >> timing.peak_kb >> timing.cpu_seconds;
  std::filesystem::remove(peak_file);
  timing.ok = closed && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return timing;
}

int peak_main(int argc, char** argv) {
  if (argc < 5) return 2;
  pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[4], argv + 4);
    _exit(127);
  }
  int status = 0;
  rusage usage = {};
  if (pid < 0 || wait4(pid, &status, 0, &usage) < 0) return 127;
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  std::ofstream(argv[2]) << usage.ru_maxrss << " " << seconds(usage.ru_utime) + seconds(usage.ru_stime) << "\n";
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

SyscallCount count_syscalls(const std::vector<std::string>& argv, const std::filesystem::path& folder,
                            const std::string& keys, const std::filesystem::path& trace) {
  std::vector<std::string> traced = {"strace", "-f", "-s", "128", "-o", trace.string(), "--"};
  traced.insert(traced.end(), argv.begin(), argv.end());
  SyscallCount count;
  if (!run_contender(traced, folder, keys).ok) return count;
  std::ifstream lines(trace);
  long calls = 0;
  for (std::string line; std::getline(lines, line);) {
    // "PID call(...) = result"; a call split by another process's shows
    // twice, once "<unfinished ...>" and once "<... call resumed>".
    size_t space = line.find(' ');
    size_t call = line.find_first_not_of(' ', space);
    if (space == std::string::npos || call == std::string::npos) continue;
    std::string_view rest = std::string_view(line).substr(call);
    if (rest.starts_with("+++") || rest.starts_with("---") || rest.starts_with("<...")) continue;
    ++calls;
    if (count.to_header < 0 && rest.starts_with("write(1,") && rest.find("Reformatting") != std::string::npos)
      count.to_header = calls;
  }
  count.total = calls;
  std::filesystem::remove(trace);
  return count;
}

}  // namespace korvel
