#include "korvel/testing/faults.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path scratch_path(std::string_view what) {
  static int serial = 0;
  return fs::temp_directory_path() /
         ("korvel-" + std::string(what) + "-" + std::to_string(getpid()) + "-" + std::to_string(++serial));
}

// Forks the program in `folder` with `in` as its input and its output in
// the two files.
pid_t start(const fs::path& folder, int in, const fs::path& out_path, const fs::path& err_path,
            const std::function<void()>& child_setup) {
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in, 0);
    int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    dup2(out, 1);
    dup2(err, 2);
    if (chdir(folder.c_str()) != 0) _exit(126);
    use_test_environment();
    if (child_setup) child_setup();
    execl(KORVEL_BIN, "korvel", static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

}  // namespace

RunResult run_korvel_faulty(const fs::path& folder, std::string_view keys, const FaultyRun& faults) {
  fs::path out = scratch_path("out"), err = scratch_path("err");
  int in_pipe[2];
  if (pipe(in_pipe) != 0) throw std::runtime_error("pipe failed");
  signal(SIGPIPE, SIG_IGN);
  pid_t pid = start(folder, in_pipe[0], out, err, faults.child_setup);
  close(in_pipe[0]);
  if (!keys.empty()) (void)!write(in_pipe[1], keys.data(), keys.size());
  close(in_pipe[1]);
  int status = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if ((faults.kill_when && faults.kill_when()) || std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  return collect_run(status, out, err);
}

RunningKorvel::RunningKorvel(const fs::path& folder) : out_(scratch_path("out")), err_(scratch_path("err")) {
  int in_pipe[2];
  if (pipe(in_pipe) != 0) throw std::runtime_error("pipe failed");
  signal(SIGPIPE, SIG_IGN);
  pid_ = start(folder, in_pipe[0], out_, err_, nullptr);
  close(in_pipe[0]);
  keys_ = in_pipe[1];
}

RunningKorvel::~RunningKorvel() {
  kill_now();
  if (keys_ >= 0) close(keys_);
  std::error_code ec;
  fs::remove(out_, ec);
  fs::remove(err_, ec);
}

void RunningKorvel::type(std::string_view keys) { (void)!write(keys_, keys.data(), keys.size()); }

std::string RunningKorvel::output() const { return read_file(out_); }

bool RunningKorvel::ended() {
  int status = 0;
  if (ended_ || waitpid(pid_, &status, WNOHANG) != pid_) return ended_;
  ended_ = true;
  status_ = status;
  return true;
}

bool RunningKorvel::wait_for_output(std::string_view text) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    if (output().find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

void RunningKorvel::kill_now() {
  if (!ended()) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
    ended_ = true;
  }
}

RunResult RunningKorvel::finish() {
  close(keys_);
  keys_ = -1;
  if (!ended()) {
    waitpid(pid_, &status_, 0);
    ended_ = true;
  }
  return collect_run(status_, out_, err_);
}

RunResult run_answering_every_prompt(const fs::path& folder) {
  static const std::pair<std::string_view, std::string_view> kAnswers[] = {
      {"<2> = continue and *.txt file will be recreate from *.htm\r\n", "2"},
      {"<2> no, end\r\n", "1"},
      {"<2> end\r\n", "1"},
      {"<1> = continue and end\r\n", "1"},
      {"<...> any key to continue and end\r\n", "x"},
  };
  RunningKorvel run(folder);
  size_t answered_at = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (std::chrono::steady_clock::now() < deadline && !run.ended()) {
    std::string out = run.output();
    if (out.size() != answered_at) {
      for (const auto& [prompt, key] : kAnswers) {
        if (out.ends_with(prompt)) {
          run.type(key);
          answered_at = out.size();
          break;
        }
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return run.finish();
}

size_t count_files(const fs::path& folder) {
  size_t count = 0;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec))
    if (!entry.is_directory(ec)) ++count;
  return count;
}
