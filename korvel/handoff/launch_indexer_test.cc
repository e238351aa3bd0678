// The hand-off, end to end: the real program in a working folder with its
// tools, keys piped in. The last stage is the only one that lists pages and
// starts a program, so what is seen here is its work.
#include "korvel/handoff/launch_indexer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "korvel/handoff/indexer_identity.h"
#include "korvel/testing/e2e.h"
#include "korvel/testing/transcripts.h"

namespace korvel {

namespace fs = std::filesystem;

namespace {

// Every menu answered "1", then one key at the results text.
constexpr std::string_view kWholeRun = "1111x";

// Lines that follow `line` in the transcript, `count` of them.
std::vector<std::string> after(const std::string& out, const std::string& line, size_t count) {
  std::vector<std::string> lines = lines_after(crlf_lines(out), line);
  if (lines.size() > count) lines.resize(count);
  return lines;
}

}  // namespace

TEST(LaunchIndexer, ListsThePagesWithTheirNamesFromColumnFifteen) {
  WorkFolder work;
  install_tools(work.path);
  fs::create_directory("txt_in");
  write_file("txt_in/c.txt", "c\r\n");
  write_file("txt_in/a.txt", "a\r\n");
  write_file("txt_in/b.htm", "<p>b</p>\r\n");
  RunResult run = run_korvel(work.path, kWholeRun);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(after(run.out, "Indexing files", 7),
            (std::vector<std::string>{"", " 1            a.htm", " 2            b.htm", " 3            c.htm", "",
                                      "<1> continue", "<2> end"}));
}

TEST(LaunchIndexer, TwoAtTheMenuStagesNothing) {
  WorkFolder work;
  install_tools(work.path);
  fs::create_directories("txt_in");
  write_file("txt_in/a.txt", "a\r\n");
  fs::create_directories("velmor/htm_in");
  write_file("velmor/htm_in/old.htm", "old");
  RunResult run = run_korvel(work.path, "1112");
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(run.out.ends_with("<1> continue\r\n<2> end\r\n"));
  EXPECT_EQ(snapshot("velmor"), (std::map<std::string, std::string>{{"htm_in/", ""}, {"htm_in/old.htm", "old"}}));
  EXPECT_TRUE(fs::is_empty("htm_in"));
}

TEST(LaunchIndexer, StartsTheIndexerWhoseNameSortsLastInVelmor) {
  struct Case {
    std::vector<const char*> executables;
    const char* chosen;  // as printed and as copied into velmor
  } cases[] = {
      {{"velmor_01_209.exe", "velmor_01_210.exe"}, "velmor_01_210.exe"},
      {{"velmor_01_200.exe", "velmor_01_209.exe"}, "velmor_01_209.exe"},
      {{"velmor_10.exe", "velmor_9.exe"}, "velmor_9.exe"},
      {{"VELMOR_X.EXE"}, "velmor_x.exe"},
      // Quoted in the copy and the start: the name runs no command.
      {{"velmor_1.exe", "velmor_a&b c.exe"}, "velmor_a&b c.exe"},
  };
  for (const Case& c : cases) {
    WorkFolder work;
    for (const char* name : c.executables) install_tools(work.path, name);
    fs::create_directory("txt_in");
    write_file("txt_in/a.txt", "a\r\n");
    write_file("txt_in/b.htm", "b\r\n");
    RunResult run = run_korvel(work.path, kWholeRun);
    EXPECT_EQ(run.exit_status, 0) << c.chosen;
    std::vector<std::string> lines = crlf_lines(run.out);
    auto copied = std::find(lines.begin(), lines.end(), "        1 file(s) copied.");
    ASSERT_NE(copied, lines.end()) << c.chosen;
    EXPECT_EQ(*(copied - 1), c.chosen);

    // Staged and really started, in velmor, after the staging.
    std::vector<std::string> in_velmor;
    for (const auto& entry : fs::directory_iterator("velmor"))
      if (entry.path().extension() == ".exe" || entry.path().extension() == ".EXE")
        in_velmor.push_back(entry.path().filename().string());
    std::sort(in_velmor.begin(), in_velmor.end());
    EXPECT_EQ(in_velmor, (std::vector<std::string>{c.chosen, "wget.exe"}));
    EXPECT_EQ(indexer_log(work.path / "velmor"), fs::canonical(work.path / "velmor").string() + "\na.htm\nb.htm\n")
        << c.chosen;
  }
}

TEST(LaunchIndexer, ASecondRunRenewsTheInputAndKeepsTheResults) {
  WorkFolder work;
  install_tools(work.path);
  fs::create_directory("txt_in");
  write_file("txt_in/first.txt", "1\r\n");
  ASSERT_EQ(run_korvel(work.path, kWholeRun).exit_status, 0);
  indexer_log(work.path / "velmor");
  fs::create_directory("velmor/htm_out");
  write_file("velmor/htm_out/page1.htm", "results");

  fs::remove("txt_in/first.txt");
  write_file("txt_in/second.txt", "2\r\n");
  fs::remove("velmor/fake_indexer.log");
  ASSERT_EQ(run_korvel(work.path, kWholeRun).exit_status, 0);
  indexer_log(work.path / "velmor");
  EXPECT_EQ(snapshot("velmor/htm_in").size(), 1u);
  EXPECT_TRUE(fs::exists("velmor/htm_in/second.htm"));
  EXPECT_EQ(read_file("velmor/htm_out/page1.htm"), "results");
}

// With no indexer left at the hand-off there is nothing to copy or start:
// the stage says so and stops. The tool check at the start of a run makes
// sure of one, so this runs the stage on its own, in a child process.
TEST(LaunchIndexer, NoIndexerLeftStopsWithTheToolMessage) {
  WorkFolder work;
  fs::create_directory("htm_wrk");
  write_file("htm_wrk/a.htm", "a");
  write_file("wget.exe", "wget");
  write_file("keys", "1x1");
  pid_t child = fork();
  if (child == 0) {
    int keys = open("keys", O_RDONLY);
    int out = open("../korvel-handoff-out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open("/dev/null", O_WRONLY);
    dup2(keys, 0);
    dup2(out, 1);
    dup2(err, 2);
    launch_indexer();
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  fs::path out_path = work.path.parent_path() / "korvel-handoff-out";
  std::string out = read_file(out_path);
  fs::remove(out_path);
  std::vector<std::string> lines = crlf_lines(out);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
            (std::vector<std::string>{"---------------------", "Checking for velmor*.exe",
                                      "Check the contents of the velmor.7z file.", "<1> = continue and end"}));
  EXPECT_EQ(std::vector<std::string>(lines.end() - 7, lines.end() - 4),
            (std::vector<std::string>{"", "<1> continue", "<2> end"}));
  // Staged, but nothing copied or started.
  EXPECT_TRUE(fs::exists("velmor/htm_in/a.htm"));
  EXPECT_EQ(snapshot("velmor").size(), 3u);  // htm_in/, htm_in/a.htm, wget.exe
}

// Only an indexer that the tool check saw, unchanged, may be started: one
// that came into the working folder later, or was replaced, never is.
TEST(IndexerIdentity, OnlyTheIndexersSeenAtTheCheckUnchanged) {
  WorkFolder work;
  install_tools(work.path);
  write_file("velmor_01_100.exe", "older indexer");
  write_file("exe_files.txt", "velmor_01_100.exe\r\nvelmor_01_209.exe\r\n");
  remember_indexers();
  EXPECT_TRUE(is_remembered_indexer("velmor_01_209.exe"));
  EXPECT_TRUE(is_remembered_indexer("VELMOR_01_100.EXE"));
  write_file("velmor_zz.exe", "planted");
  EXPECT_FALSE(is_remembered_indexer("velmor_zz.exe"));
  fs::remove("velmor_01_100.exe");
  write_file("velmor_01_100.exe", "older indexer");  // same bytes, another file
  EXPECT_FALSE(is_remembered_indexer("velmor_01_100.exe"));
  write_file("velmor_01_209.exe", "changed in place");
  EXPECT_FALSE(is_remembered_indexer("velmor_01_209.exe"));
}

}  // namespace korvel
