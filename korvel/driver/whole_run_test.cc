// One typical run from the banner to the indexer's start: the tools beside
// the program, My Notes.txt and a.htm in txt_in, "1" at every menu and one
// key at the end. Every console line and every file left behind is checked.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "korvel/console/urls.h"
#include "korvel/testing/e2e.h"
#include "korvel/testing/transcripts.h"

namespace korvel {

namespace fs = std::filesystem;

namespace {

const char kNotes[] = "First line of my notes.\r\nSecond line <with> & marks.  \r\n";
const char kHtml[] = "<html><body>An HTML document.</body></html>\r\n";

void lay_out_typical_folder(const fs::path& folder) {
  install_tools(folder);
  fs::create_directory(folder / "txt_in");
  write_file(folder / "txt_in" / "My Notes.txt", kNotes);
  write_file(folder / "txt_in" / "a.htm", kHtml);
}

std::vector<std::string> typical_transcript() {
  std::vector<std::string> lines = banner_and_terms("korvel");
  lines = joined(lines, font_notice());
  lines = joined(lines, installation_notice());
  lines = joined(lines, tool_checks_passing());
  return joined(lines, {
                           // Input folders and normalisation print nothing; then the work folders.
                           "",
                           "----------------------------",
                           "Reformatting *.txt files to *.htm.",
                           // The conversion prints nothing; then the hand-off.
                           "----------------------------",
                           "Indexing files",
                           "",
                           " 1            a.htm",
                           " 2            My_Notes.htm",
                           "",
                           "<1> continue",
                           "<2> end",
                           "velmor_01_209.exe",
                           "        1 file(s) copied.",
                           "",
                           "============ INDEXING RESULTS ===========",
                           "",
                           "Indexing is done with a separate program velmor*.exe",
                           "Indexing takes place in a subdirectory \\velmor",
                           "",
                           "view subfolder: \\velmor\\htm_out",
                           "view files: page*.htm, index*.htm, i_*.htm, s_*.htm",
                           "You can access the index of all words by double-clicking on any word.",
                           std::string("details: ") + kMakerUrl,
                           "",
                           "<...> any key to continue and end",
                       });
}

// The interpreter's complaints: htm_out is missing (it is never made),
// htm_in exists already and is empty, and so is velmor\htm_in when it has
// just been made.
std::vector<std::string> typical_complaints(const fs::path& folder) {
  std::string root = fs::canonical(folder).string();
  return {"The system cannot find the path specified.", "The system cannot find the path specified.",
          "A subdirectory or file htm_in already exists.", "Could Not Find " + root + "/htm_in/*.*",
          "Could Not Find " + root + "/velmor/htm_in/*.*"};
}

// On a terminal the complaints stand between the program's lines.
std::vector<std::string> typical_terminal_transcript(const fs::path& folder) {
  std::vector<std::string> lines = typical_transcript();
  std::vector<std::string> complaints = typical_complaints(folder);
  auto checks_done = std::find(lines.begin(), lines.end(), "velmor_*.exe") + 1;
  checks_done = lines.insert(checks_done, complaints.begin(), complaints.begin() + 2);
  auto menu_done = std::find(checks_done, lines.end(), "<2> end") + 1;
  lines.insert(menu_done, complaints.begin() + 2, complaints.end());
  return lines;
}

const char kNotesPage[] =
    "<HTML>\r\n<head>\r\n"
    "<meta http-equiv=\"content-type\"  content=\"text/HTML; charset=utf-8\">\r\n"
    "<title>\r\nhtm_wrk\\My_Notes.htm\r\n</title>\r\n</head>\r\n<body>\r\n<pre>\r\n"
    "First line of my notes.\r\nSecond line <with> & marks.\r\n"
    "</pre>\r\n</body>\r\n</html>\r\n";

// Line for line, so that a failure names the first line that differs.
void expect_transcript(const std::string& out, const std::vector<std::string>& expected) {
  std::vector<std::string> lines = crlf_lines(out);
  for (size_t i = 0; i < std::max(lines.size(), expected.size()); ++i) {
    std::string got = i < lines.size() ? lines[i] : "(no line)";
    std::string want = i < expected.size() ? expected[i] : "(no line)";
    if (got != want) {
      ADD_FAILURE() << "line " << i + 1 << " is \"" << got << "\", expected \"" << want << "\"";
      return;
    }
  }
  EXPECT_TRUE(out.ends_with("\r\n"));
}

void expect_files_left_behind(const fs::path& folder) {
  indexer_log(folder / "velmor");
  std::map<std::string, std::string> files = snapshot(folder);
  std::set<std::string> names;
  for (const auto& [name, content] : files) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{// the tools
                                          "convertcp.exe", "wget.exe", "velmor_01_209.exe",
                                          // what the tool checks leave
                                          "check_01.txt", "check_02.txt", "out_null.txt", "exe_files.txt",
                                          // the run's lock, and what the move put into the working folder
                                          "korvel.lock", "moved_files.list",
                                          // input folders, normalisation, work folders
                                          "txt_file.txt", "dir_01.txt", "dir_cur.txt", "txt_file.list", "out_null.list",
                                          "txt_in.list", "compare_01.txt", "compare_02.txt", "My Notes.txt",
                                          "My_Notes.txt", "a.htm", "txt_in/", "txt_in/My_Notes.txt", "txt_in/a.htm",
                                          // conversion
                                          "txt_wrk/", "txt_wrk/My_Notes.txt", "txt_wrk/a.htm", "txt_wrk.list",
                                          "htm_wrk/", "htm_wrk/My_Notes.htm", "htm_wrk/a.htm",
                                          // hand-off
                                          "htm_wrk.list", "htm_in/", "htm_in/My_Notes.htm", "htm_in/a.htm", "velmor/",
                                          "velmor/htm_in/", "velmor/htm_in/My_Notes.htm", "velmor/htm_in/a.htm",
                                          "velmor/wget.exe", "velmor/velmor_01_209.exe",
                                          // what the started indexer wrote
                                          "velmor/velmor_01_209.exe.log", "velmor/fake_indexer.log"}));
  EXPECT_EQ(files["htm_wrk/My_Notes.htm"], kNotesPage);
  for (const char* copy : {"txt_in/My_Notes.txt", "txt_wrk/My_Notes.txt", "My_Notes.txt", "My Notes.txt"})
    EXPECT_EQ(files[copy], kNotes) << copy;
  for (const char* copy :
       {"txt_in/a.htm", "txt_wrk/a.htm", "htm_wrk/a.htm", "htm_in/a.htm", "velmor/htm_in/a.htm", "a.htm"})
    EXPECT_EQ(files[copy], kHtml) << copy;
  EXPECT_EQ(files["htm_in/My_Notes.htm"], kNotesPage);
  EXPECT_EQ(files["velmor/htm_in/My_Notes.htm"], kNotesPage);
  EXPECT_EQ(files["velmor/velmor_01_209.exe"], files["velmor_01_209.exe"]);
  EXPECT_EQ(files["velmor/wget.exe"], files["wget.exe"]);
  EXPECT_EQ(files["velmor/fake_indexer.log"], fs::canonical(folder / "velmor").string() + "\nMy_Notes.htm\na.htm\n");
  EXPECT_EQ(files["htm_wrk.list"], "a.htm\r\nMy_Notes.htm\r\n");
  EXPECT_EQ(files["exe_files.txt"], "velmor_01_209.exe\r\n");
}

// Runs the program on a pseudo-terminal. Once it has started (its first line
// is out), all keys are typed at once, ahead of the prompts they answer.
RunResult run_on_terminal(const fs::path& folder, std::string_view keys) {
  RunResult result;
  int master = -1;
  winsize size = {24, 80, 0, 0};
  pid_t pid = forkpty(&master, nullptr, nullptr, &size);
  if (pid == 0) {
    if (chdir(folder.c_str()) != 0) _exit(126);
    use_test_environment();
    // Lines leave the terminal as the program wrote them.
    termios mode;
    tcgetattr(0, &mode);
    mode.c_oflag &= ~OPOST;
    tcsetattr(0, TCSANOW, &mode);
    execl(KORVEL_BIN, "korvel", static_cast<char*>(nullptr));
    _exit(127);
  }
  bool typed = false;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd output = {master, POLLIN, 0};
    if (poll(&output, 1, 100) <= 0) continue;
    char buffer[4096];
    ssize_t n = read(master, buffer, sizeof buffer);
    if (n <= 0) break;  // every end of the terminal is closed
    result.out.append(buffer, static_cast<size_t>(n));
    if (!typed && result.out.find("\r\n") != std::string::npos) {
      (void)!write(master, keys.data(), keys.size());
      typed = true;
    }
  }
  int status = 0;
  if (waitpid(pid, &status, WNOHANG) == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  close(master);
  if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

}  // namespace

TEST(WholeRun, TheTypicalRunWithKeysPiped) {
  WorkFolder work;
  lay_out_typical_folder(work.path);
  RunResult run = run_korvel(work.path, "1111x");
  EXPECT_EQ(run.exit_status, 0);
  expect_transcript(run.out, typical_transcript());
  EXPECT_EQ(crlf_lines(run.err), typical_complaints(work.path));
  expect_files_left_behind(work.path);
}

TEST(WholeRun, TheTypicalRunOnATerminalWithKeysTypedAhead) {
  WorkFolder work;
  lay_out_typical_folder(work.path);
  RunResult run = run_on_terminal(work.path, "1111x");
  EXPECT_EQ(run.exit_status, 0);
  expect_transcript(run.out, typical_terminal_transcript(work.path));
  expect_files_left_behind(work.path);
}

TEST(WholeRun, EveryEndingGivesExitStatusZero) {
  struct Case {
    const char* keys;
    const char* last_line;
  } cases[] = {
      {"2", "<2> no, end"},
      {"12", "<2> end"},
      {"112", "<2> end"},
      {"1112", "<2> end"},                                // at the hand-off menu
      {"1111", "<...> any key to continue and end"},      // input ends at the last stop
      {"1111\xff", "<...> any key to continue and end"},  // any key at all
  };
  for (const Case& c : cases) {
    WorkFolder work;
    lay_out_typical_folder(work.path);
    RunResult run = run_korvel(work.path, c.keys);
    EXPECT_EQ(run.exit_status, 0) << c.keys;
    std::vector<std::string> lines = crlf_lines(run.out);
    ASSERT_FALSE(lines.empty()) << c.keys;
    EXPECT_EQ(lines.back(), c.last_line) << c.keys;
    if (fs::exists(work.path / "velmor")) indexer_log(work.path / "velmor");
  }
}

}  // namespace korvel
