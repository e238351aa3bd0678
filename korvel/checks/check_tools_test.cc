// The tool checks seen from outside: the real program in a working folder
// that lacks one tool or another, keys piped in.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <unistd.h>
#include <string>
#include <vector>

#include "korvel/console/urls.h"
#include "korvel/testing/e2e.h"
#include "korvel/testing/faults.h"
#include "korvel/testing/transcripts.h"

namespace korvel {

namespace fs = std::filesystem;

namespace {

// The console lines from the stage heading on; the start-up screens before it
// are not this stage's business.
std::vector<std::string> from_stage_heading(const std::string& out) {
  std::vector<std::string> lines = crlf_lines(out);
  for (size_t i = 0; i + 1 < lines.size(); ++i)
    if (lines[i] == "----------------------------" &&
        lines[i + 1] == "Checking the accessibility of some urgently needed programs:")
      return {lines.begin() + static_cast<long>(i), lines.end()};
  return {};
}

// The passing checks' lines up to and including `last`.
std::vector<std::string> checks_through(const std::string& last) {
  std::vector<std::string> lines = tool_checks_passing();
  lines.erase(std::find(lines.begin(), lines.end(), last) + 1, lines.end());
  return lines;
}

const std::vector<std::string> kUpToCmd = checks_through("cmd");
const std::vector<std::string> kUpToFind = checks_through("find");
const std::vector<std::string> kUpToFindstr = checks_through("findstr");
const std::vector<std::string> kUpToConvertcp = checks_through(std::string("info: ") + kConvertcpUrl);
const std::vector<std::string> kUpToVelmor = tool_checks_passing();
const std::string kPathAdvice = "The system path to the program is most likely to be configured.";

}  // namespace

// find must see a heading and one ".exe" line, findstr two ".exe" lines;
// convertcp.exe and an indexer must lie in the working folder itself.
TEST(CheckTools, EachFailedCheckShowsItsMessageAndOnlyOneChoice) {
  struct Case {
    std::vector<std::string> exe_files;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {{}, joined(kUpToFind, {"---------------------", "Checking for find.exe!", kPathAdvice})},
      {{"convertcp.exe"}, joined(kUpToFindstr, {"---------------------", "Checking for findstr.exe!", kPathAdvice})},
      {{"wget.exe", "velmor_01_209.exe"},
       joined(kUpToConvertcp,
              {"---------------------", "Checking for convertcp.exe!", "Check the contents of the korvel.7z file."})},
      {{"wget.exe", "convertcp.exe"},
       joined(kUpToVelmor,
              {"---------------------", "Checking for velmor*.exe", "Check the contents of the velmor.7z file."})},
  };
  for (const Case& c : cases) {
    WorkFolder folder;
    for (const std::string& name : c.exe_files) write_file(folder.path / name, "tool stand-in\n");
    fs::create_directory(folder.path / "txt_in");
    write_file(folder.path / "txt_in" / "a.txt", "text\r\n");
    // "2" does nothing at the stop; "1" ends the run.
    RunResult run = run_korvel(folder.path, "11121");
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(from_stage_heading(run.out), joined(c.expected, {"<1> = continue and end"}))
        << c.expected[c.expected.size() - 2];
    // Nothing of the input has been touched.
    EXPECT_TRUE(fs::exists(folder.path / "txt_in" / "a.txt"));
    EXPECT_FALSE(fs::exists(folder.path / "htm_in"));
  }
}

TEST(CheckTools, AllToolsPresentPassesOnToTheInputFolders) {
  WorkFolder folder;
  install_tools(folder.path);
  write_file(folder.path / "velmor_02.exe", "second indexer\n");
  RunResult run = run_korvel(folder.path, "111");
  std::vector<std::string> lines = from_stage_heading(run.out);
  ASSERT_GT(lines.size(), kUpToVelmor.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(kUpToVelmor.size())),
            kUpToVelmor);
  EXPECT_EQ(lines[kUpToVelmor.size() + 2], "Subfolder txt_in is empty");
  EXPECT_EQ(read_file(folder.path / "exe_files.txt"), "velmor_01_209.exe\r\nvelmor_02.exe\r\n");
}

// A working folder that cannot be written leaves every scratch file empty:
// the stop names that, not a missing cmd.exe. Root writes anywhere, so the
// run then goes on as another user.
TEST(CheckTools, AReadOnlyWorkingFolderIsNamedAsTheCause) {
  WorkFolder folder;
  install_tools(folder.path);
  fs::create_directory(folder.path / "txt_in");
  write_file(folder.path / "txt_in" / "a.txt", "text\r\n");
  FaultyRun faults;
  if (geteuid() == 0) {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder.path))
      (void)!chown(entry.path().c_str(), 65534, 65534);
    (void)!chown(folder.path.c_str(), 65534, 65534);
    faults.child_setup = [] {
      (void)!setgid(65534);
      (void)!setuid(65534);
    };
  }
  fs::permissions(folder.path, fs::perms::owner_read | fs::perms::owner_exec);
  RunResult run = run_korvel_faulty(folder.path, "11121", faults);
  fs::permissions(folder.path, fs::perms::owner_all);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(from_stage_heading(run.out),
            joined(kUpToCmd, {"---------------------", "Checking for a writable working folder!",
                              "korvel cannot write its file check_01.txt there.", "<1> = continue and end"}))
      << run.err;
}

}  // namespace korvel
