#include "common/child_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace common {
namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

TEST(Child, GetsItsInputFolderAndSetupAndEndsOrIsEnded) {
  fs::path out = fs::temp_directory_path() / ("common-child-" + std::to_string(getpid()));
  struct Case {
    std::string script, input;
    std::chrono::milliseconds timeout;
    bool killed_when_asked;
    int exit_code;
    std::string printed;
  } cases[] = {
      {"cat; pwd; echo \"$MARK\"; exit 3", "keys\n", std::chrono::seconds(20), false, 3, "keys\n/\nset in the child\n"},
      {"sleep 20", "", std::chrono::milliseconds(50), false, -1, ""},
      {"sleep 20", "", std::chrono::seconds(20), true, -1, ""},
  };
  for (const Case& c : cases) {
    ChildCommand command{
        "/bin/sh", {"sh", "-c", c.script}, "/", out.string(), "", [] { setenv("MARK", "set in the child", 1); }};
    Child child(command);
    child.type(c.input);
    child.close_input();
    int status = child.wait(c.timeout, [&] { return c.killed_when_asked; });
    EXPECT_EQ(exit_code(status), c.exit_code) << c.script;
    EXPECT_EQ(WIFSIGNALED(status) ? WTERMSIG(status) : 0, c.exit_code < 0 ? SIGKILL : 0) << c.script;
    EXPECT_EQ(read(out), c.printed) << c.script;
  }
  fs::remove(out);
}

}  // namespace
}  // namespace common
