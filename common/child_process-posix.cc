#include "common/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

namespace common {

namespace {
void redirect(int fd, const std::string& path) {
  int file = path.empty() ? open("/dev/null", O_WRONLY) : open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (file >= 0 && file != fd) {
    dup2(file, fd);
    close(file);
  }
}
}  // namespace

Child::Child(const ChildCommand& command) {
  int in_pipe[2];
  if (pipe(in_pipe) != 0) throw std::runtime_error("pipe failed");
  // A child may end before reading all it is given: a closed pipe is no error.
  signal(SIGPIPE, SIG_IGN);
  std::vector<char*> argv;
  for (const std::string& arg : command.argv) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_ = fork();
  if (pid_ < 0) {
    close(in_pipe[0]);
    close(in_pipe[1]);
    throw std::runtime_error("fork failed");
  }
  if (pid_ == 0) {
    dup2(in_pipe[0], 0);
    close(in_pipe[0]);
    close(in_pipe[1]);
    redirect(1, command.out_path);
    redirect(2, command.err_path);
    if (!command.folder.empty() && chdir(command.folder.c_str()) != 0) _exit(126);
    if (command.in_child) command.in_child();
    execv(command.program.c_str(), argv.data());
    _exit(127);
  }
  close(in_pipe[0]);
  input_ = in_pipe[1];
}

Child::~Child() {
  kill_now();
  close_input();
}

void Child::type(std::string_view bytes) {
  if (input_ >= 0) (void)!write(input_, bytes.data(), bytes.size());
}

void Child::close_input() {
  if (input_ >= 0) close(input_);
  input_ = -1;
}

bool Child::ended() {
  if (!ended_ && waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
  return ended_;
}

void Child::kill_now() {
  if (ended()) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, &status_, 0);
  ended_ = true;
}

int Child::wait(std::chrono::milliseconds timeout, const std::function<bool()>& kill_when) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!ended()) {
    if ((kill_when && kill_when()) || std::chrono::steady_clock::now() > deadline) {
      kill_now();
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  return status_;
}

int exit_code(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

}  // namespace common
