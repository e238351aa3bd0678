// "start" on programs that cannot be started: cmd's complaint comes on
// standard error at once, in the background and with a window alike.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

#include "korvel/interp/interp.h"
#include "korvel/interp/start.h"
#include "korvel/testing/e2e.h"

namespace korvel {

namespace fs = std::filesystem;

namespace {
std::string standard_error_of(const std::string& line) {
  FILE* err = tmpfile();
  int saved = dup(2);
  dup2(fileno(err), 2);
  interp_run(line);
  dup2(saved, 2);
  close(saved);
  std::string text;
  rewind(err);
  for (int c; (c = fgetc(err)) != EOF;) text += char(c);
  fclose(err);
  return text;
}

// Sets an environment variable for the test's duration, or unsets it.
struct Env {
  Env(const char* name, const char* value) : name(name) {
    if (const char* old = getenv(name)) previous = old, had = true;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~Env() { had ? setenv(name, previous.c_str(), 1) : unsetenv(name); }
  const char* name;
  std::string previous;
  bool had = false;
};

const std::string kNotCompatible =
    "This version of velmor_01_209.exe is not compatible with the version of Windows you're running. Check your "
    "computer's system information and then contact the software publisher.\r\n";
}  // namespace

TEST(Start, SaysAtOnceWhenTheProgramCannotBeStarted) {
  struct Row {
    const char* content;  // nullptr: no such file
    fs::perms mode;
    std::string complaint;
  } rows[] = {
      {nullptr, fs::perms(0755), "The system cannot find the file velmor_01_209.exe.\r\n"},
      {"#!/bin/sh\necho started > started.txt\n", fs::perms(0644), "Access is denied.\r\n"},
      {"just some text, no interpreter line\n", fs::perms(0755), kNotCompatible},
      {"", fs::perms(0755), kNotCompatible},
      {"#!/no/such/interpreter\n", fs::perms(0755), "The system cannot find the file velmor_01_209.exe.\r\n"},
      {"#!/bin/sh\necho started > started.txt\n", fs::perms(0755), ""},
  };
  WorkFolder work;
  // With a display, a terminal emulator found on PATH opens the window; this
  // one runs the program in place, as a real one would in its window.
  fs::create_directory("bin");
  write_file("bin/xterm", "#!/bin/sh\nshift\nexec \"$@\"\n");
  fs::permissions("bin/xterm", fs::perms(0755));
  std::string path = (work.path / "bin").string() + ":" + getenv("PATH");
  for (bool window : {false, true}) {
    Env display("DISPLAY", window ? ":99" : nullptr);
    Env wayland("WAYLAND_DISPLAY", nullptr);
    Env search("PATH", window ? path.c_str() : getenv("PATH"));
    for (const Row& row : rows) {
      fs::remove_all("velmor");
      fs::create_directory("velmor");
      if (row.content) {
        write_file("velmor/velmor_01_209.exe", row.content);
        fs::permissions("velmor/velmor_01_209.exe", row.mode);
      }
      std::string what = std::string(window ? "window: " : "background: ") + (row.content ? row.content : "none");
      EXPECT_EQ(standard_error_of("start /D velmor velmor_01_209.exe"), row.complaint) << what;
      if (!row.complaint.empty()) continue;
      // The shell makes the file before it writes the line: wait for both.
      for (int i = 0; i < 200 && read_file("velmor/started.txt") != "started\n"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
      EXPECT_EQ(read_file("velmor/started.txt"), "started\n") << what;
    }
  }
}

}  // namespace korvel
