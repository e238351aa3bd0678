#pragma once
// Running another program to its end: its standard input a pipe this
// process writes into, its output in files. The tests of every program here
// start the program they test this way.
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace common {

struct ChildCommand {
  std::string program;             // the file run
  std::vector<std::string> argv;   // argv[0] included
  std::string folder;              // its working folder; "" = this process's
  std::string out_path, err_path;  // its standard output and error; "" = /dev/null
  // Runs in the child just before the program starts: environment, limits.
  std::function<void()> in_child;
};

class Child {
 public:
  // Starts it; throws std::runtime_error when it cannot.
  explicit Child(const ChildCommand& command);
  ~Child();  // a child still running is killed
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // Writes to its standard input; a child that stopped reading loses them.
  void type(std::string_view bytes);
  // Its standard input then ends.
  void close_input();
  // Whether it has ended, without waiting.
  bool ended();
  void kill_now();
  // Waits for its end, killing it once `timeout` has passed or as soon as
  // `kill_when` says so; the status waitpid() gave.
  int wait(std::chrono::milliseconds timeout, const std::function<bool()>& kill_when = {});
  int status() const { return status_; }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  bool ended_ = false;
  int status_ = 0;
};

// The exit code of a status waitpid() gave; -1 when the child did not exit.
int exit_code(int status);

}  // namespace common
