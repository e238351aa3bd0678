// The name index must never answer from an old reading of a folder: neither
// after the interpreter's own changes, which often land within one tick of
// the folder's clock, nor after another program's.
#include "korvel/interp/folder_changes.h"
#include "korvel/interp/folder_index.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "common/test_files.h"
#include "korvel/interp/interp.h"
#include "korvel/interp/path.h"
#include "korvel/interp/stat_memo.h"

namespace korvel {

namespace fs = std::filesystem;

namespace {
using Names = std::vector<std::string>;

class FolderIndex : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(folder_ / "sub");
    // Whole seconds, as on the coarsest file systems: the interpreter's
    // changes then land in the tick of the lookup before them, and the index
    // must learn of them without the folder's times.
    set_folder_clock_tick(1'000'000'000);
    std::ofstream("source.txt") << "text";
  }
  void TearDown() override {
    set_folder_clock_tick(1);
    interp_settle();  // output held back for out_null.list lands here, before the folder goes
  }
  // Another program's change: the folder's times are moved, by hand, to a
  // second the index has not seen, as the clock would move on.
  static void touch_folder(const char* folder) {
    static time_t second = 1'000'000'000;
    struct timespec times[2] = {{0, UTIME_OMIT}, {++second, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, folder, times, 0), 0);
  }
  common::WorkFolder work_{"folder-index-test"};
  const fs::path folder_ = work_.path;
};

TEST_F(FolderIndex, SeesACopyInAnotherCaseAtOnce) {
  for (int i = 0; i < 50; ++i) {
    std::string name = "New_" + std::to_string(i) + ".txt";
    ASSERT_EQ(interp_resolve("sub\\" + name), "sub/" + name);  // reads or checks the index first
    interp_run("copy source.txt \"sub\\" + name + "\" > out_null.list");
    EXPECT_EQ(interp_resolve("SUB\\NEW_" + std::to_string(i) + ".TXT"), "sub/" + name);
    EXPECT_EQ(names_ignoring_case("sub", "new_" + std::to_string(i) + ".TXT"), Names{name});
  }
}

TEST_F(FolderIndex, SeesADeletedFileMadeAgainInAnotherCase) {
  for (int i = 0; i < 50; ++i) {
    std::string lower = "doc_" + std::to_string(i) + ".txt";
    std::string upper = "DOC_" + std::to_string(i) + ".TXT";
    interp_run("copy source.txt sub\\" + lower + " > out_null.list");
    EXPECT_EQ(find_ignoring_case("sub", upper), lower);
    interp_run("del /q sub\\" + upper + " > out_null.list");
    EXPECT_EQ(find_ignoring_case("sub", lower), "");
    interp_run("copy source.txt sub\\" + upper + " > out_null.list");
    EXPECT_EQ(interp_resolve("sub\\" + lower), "sub/" + upper);
    EXPECT_TRUE(fs::exists("sub/" + upper));
    EXPECT_FALSE(fs::exists("sub/" + lower));
  }
}

TEST_F(FolderIndex, FoldersMadeAndRemovedAreSeenAtOnce) {
  for (int i = 0; i < 20; ++i) {
    std::string name = "Made_" + std::to_string(i);
    EXPECT_EQ(find_ignoring_case("sub", name), "");
    interp_run("md sub\\" + name + "\\inner > out_null.list");
    EXPECT_EQ(interp_resolve("sub\\made_" + std::to_string(i) + "\\INNER"), "sub/" + name + "/inner");
    interp_run("rd sub\\" + name + "\\inner > out_null.list");
    interp_run("rd sub\\" + name + " > out_null.list");
    EXPECT_EQ(find_ignoring_case("sub", name), "");
  }
}

TEST_F(FolderIndex, SeesAnotherProgramsChangesOnceTheFolderTimesMove) {
  EXPECT_EQ(find_ignoring_case("sub", "outside.txt"), "");
  int fd = open("sub/OUTSIDE.TXT", O_WRONLY | O_CREAT, 0666);
  ASSERT_GE(fd, 0);
  close(fd);
  touch_folder("sub");
  EXPECT_EQ(interp_resolve("sub\\outside.txt"), "sub/OUTSIDE.TXT");

  ASSERT_EQ(unlink("sub/OUTSIDE.TXT"), 0);
  touch_folder("sub");
  EXPECT_EQ(interp_resolve("sub\\outside.txt"), "sub/outside.txt");
}

// The interpreter's own changes are told from another program's by the
// clock: a change made after them, past their tick, must still be seen.
TEST_F(FolderIndex, SeesAnotherProgramsChangeMadeAfterItsOwn) {
  EXPECT_EQ(find_ignoring_case("sub", "x.txt"), "");
  for (int i = 0; i < 4; ++i) {
    std::string n = std::to_string(i);
    interp_run("copy source.txt sub\\own_" + n + ".txt > out_null.list");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ofstream("sub/LATER_" + n + ".TXT");
    touch_folder("sub");
    EXPECT_EQ(interp_resolve("sub\\later_" + n + ".txt"), "sub/LATER_" + n + ".TXT");
    EXPECT_EQ(interp_resolve("SUB\\OWN_" + n + ".TXT"), "sub/own_" + n + ".txt");
  }
}

TEST_F(FolderIndex, EverySpellingOfAFolderSharesItsIndex) {
  EXPECT_EQ(find_ignoring_case(folder_.string() + "/sub", "x.txt"), "");
  EXPECT_EQ(find_ignoring_case("sub/", "x.txt"), "");
  interp_run("copy source.txt sub\\X.TXT > out_null.list");
  EXPECT_EQ(find_ignoring_case(folder_.string() + "/sub", "x.txt"), "X.TXT");
  EXPECT_EQ(find_ignoring_case("sub/", "x.txt"), "X.TXT");
}

// The index keeps a filter of what a folder holds, not its names: after
// thousands of names and changes it must still find every name in any case,
// invent none, and list the names without a dot as a fresh reading does.
TEST_F(FolderIndex, ManyNamesAreFoundAsAFreshReadingFindsThem) {
  for (int i = 0; i < 3000; ++i) std::ofstream("sub/Doc_" + std::to_string(i) + ".txt");
  fs::create_directory("sub/Alpha");
  for (int pass = 0; pass < 2; ++pass) EXPECT_EQ(find_ignoring_case("sub", "doc_0.TXT"), "Doc_0.txt");  // built
  for (int i = 0; i < 300; ++i) {
    std::string n = std::to_string(i);
    interp_run("copy source.txt sub\\New_" + n + ".txt > out_null.list");
    if (i % 30 == 0) interp_run("md sub\\Folder" + n + " > out_null.list");
    if (i % 60 == 0) interp_run("rd sub\\Folder" + n + " > out_null.list");
    if (i % 7 == 0) interp_run("del /q sub\\doc_" + n + ".TXT > out_null.list");
  }
  for (int i = 0; i < 3000; i += 37) {
    std::string n = std::to_string(i);
    EXPECT_EQ(find_ignoring_case("sub", "DOC_" + n + ".TXT"), i % 7 == 0 && i < 300 ? "" : "Doc_" + n + ".txt");
    EXPECT_EQ(find_ignoring_case("sub", "doc_" + n + ".htm"), "");
  }
  EXPECT_EQ(find_ignoring_case("sub", "NEW_299.TXT"), "New_299.txt");
  interp_run("dir /b sub\\*. > kept.txt");
  forget_folder_indexes();
  interp_run("dir /b sub\\*. > fresh.txt");
  std::string a = common::read_file("kept.txt"), b = common::read_file("fresh.txt");
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, "Alpha\r\nFolder150\r\nFolder210\r\nFolder270\r\nFolder30\r\nFolder90\r\n");
}

TEST_F(FolderIndex, CaseVariantsInListingOrder) {
  for (const char* name : {"sub/b.txt", "sub/B.TXT", "sub/B.txt"}) std::ofstream{name};
  EXPECT_EQ(names_ignoring_case("sub", "b.TXT"), (Names{"B.TXT", "B.txt", "b.txt"}));
  // The exact name goes first; without one, the first variant.
  interp_run("del /q sub\\b.txt > out_null.list");
  EXPECT_EQ(names_ignoring_case("sub", "b.txt"), (Names{"B.TXT", "B.txt"}));
  interp_run("del /q sub\\b.TxT > out_null.list");
  EXPECT_EQ(names_ignoring_case("sub", "b.txt"), Names{"B.txt"});
  EXPECT_EQ(names_ignoring_case("nofolder", "b.txt"), Names{});
}
}  // namespace

// Within one command, answers about paths are kept; each change the
// interpreter makes must drop them, or a command would not see its own work.
TEST_F(FolderIndex, AnswersKeptInACommandFollowItsOwnChanges) {
  StatMemoScope command;
  EXPECT_FALSE(is_file("made.txt"));
  int fd = create_file("made.txt", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_GE(fd, 0);
  close(fd);
  EXPECT_TRUE(is_file("made.txt"));
  EXPECT_TRUE(remove_file("made.txt"));
  EXPECT_FALSE(path_exists("made.txt"));
  EXPECT_TRUE(make_folder("made"));
  EXPECT_TRUE(is_folder("made"));
  EXPECT_TRUE(remove_folder("made"));
  EXPECT_FALSE(is_folder("made"));
}

}  // namespace korvel
