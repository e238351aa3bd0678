// Runs command lines the way korvel sends them, each case in a fresh folder,
// and checks standard output, standard error and the files left behind.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "common/test_files.h"
#include "korvel/interp/folder_index.h"
#include "korvel/interp/interp.h"
#include "korvel/testing/file_size_limit.h"

namespace korvel {

namespace fs = std::filesystem;

namespace {
struct Output {
  std::string out, err;
};

using common::read_file;

// "name" makes an empty file, "name=text" a file holding text, "name/" a folder.
void make(const std::string& entry) {
  size_t equals = entry.find('=');
  std::string path = entry.substr(0, equals);
  if (path.back() == '/') return fs::create_directories(path), void();
  if (fs::path(path).has_parent_path()) fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << (equals == std::string::npos ? "" : entry.substr(equals + 1));
}

// Every path below the current folder, with file contents, to see that nothing changed.
std::string snapshot() {
  std::string all;
  for (const auto& entry : fs::recursive_directory_iterator("."))
    all += entry.path().string() + (entry.is_directory() ? "/\n" : "=" + read_file(entry.path()) + "\n");
  return all;
}

Output capture_of(const std::function<void()>& body) {
  FILE* out = tmpfile();
  FILE* err = tmpfile();
  int saved_out = dup(1), saved_err = dup(2);
  dup2(fileno(out), 1);
  dup2(fileno(err), 2);
  body();
  dup2(saved_out, 1);
  dup2(saved_err, 2);
  close(saved_out);
  close(saved_err);
  Output result;
  for (auto [file, text] : {std::pair{out, &result.out}, std::pair{err, &result.err}}) {
    rewind(file);
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) text->append(buffer, n);
    fclose(file);
  }
  return result;
}

Output capture(const std::string& line) {
  return capture_of([&] {
    interp_run(line);
    interp_settle();  // as korvel's file layer does before it looks at any file
  });
}

class Interp : public ::testing::Test {
 protected:
  void SetUp() override {
    forget_folder_indexes();  // the last test's folder may have left its inode to this one
  }
  Output run_all(const std::vector<std::string>& lines) {
    Output all;
    for (const std::string& line : lines) {
      Output one = capture(line);
      all.out += one.out;
      all.err += one.err;
    }
    return all;
  }
  common::WorkFolder work_{"interp-test"};
  const fs::path folder_ = work_.path;
};

struct Case {
  const char* name;
  std::vector<std::string> files;  // made before, see make()
  std::vector<std::string> lines;  // run in order
  std::string out, err;            // of all lines together
  std::vector<std::string> after;  // "path=text": file holds text; "path/": folder; "!path": absent
};

const std::string kNotFound = "The system cannot find the file specified.\r\n";
const std::string kNoPath = "The system cannot find the path specified.\r\n";

const Case kCases[] = {
    {"MixedCaseIndexer",
     {"VELMOR_X.EXE", "velmor_a.exe", "other.exe"},
     {"dir /b /o  velmor_*.exe > exe_files.txt"},
     "",
     "",
     {"exe_files.txt=velmor_a.exe\r\nVELMOR_X.EXE\r\n"}},
    {"MixedCaseFolder",
     {"TXT_IN/A.TXT", "TXT_IN/b.htm"},
     {"dir /b txt_in\\*.txt  > txt_file.list"},
     "",
     "",
     {"txt_file.list=A.TXT\r\n"}},
    {"ListingOrder",
     {"_x.txt", "b.txt", "Z.TXT", "a1.txt", "A.txt"},
     {"dir /b"},
     "A.txt\r\na1.txt\r\nb.txt\r\nZ.TXT\r\n_x.txt\r\n",
     "",
     {}},
    {"NamesWithoutDot", {"htm_in/", "README", "a.txt"}, {"dir /b *."}, "htm_in\r\nREADME\r\n", "", {}},
    {"ShortNameRule",
     {"index.html", "notes.txt_old", "notes.txt.bak", "a.htm"},
     {"dir /b *.htm", "dir /b *.txt"},
     "a.htm\r\nindex.html\r\nnotes.txt_old\r\n",
     "",
     {}},
    {"FolderContent",
     {"txt_in/sub/", "txt_in/a.txt"},
     {"dir /b txt_in\\ > txt_in.list", "dir /B TXT_IN"},
     "a.txt\r\nsub\r\n",
     "",
     {"txt_in.list=a.txt\r\nsub\r\n"}},
    {"NothingMatches", {"list.txt=old"}, {"dir /b *.xyz > list.txt"}, "", "File Not Found\r\n", {"list.txt="}},
    {"AppendCreates",
     {"a.htm", "b.txt"},
     {"dir /b  txt_in\\*.txt > t.lst", "dir /b *.htm >> list.lst", "dir /b *.txt >> list.lst"},
     "",
     kNoPath,
     {"list.lst=a.htm\r\nb.txt\r\n", "t.lst="}},
    {"MissingFolder", {}, {"dir /b nofolder\\", "dir /b nofolder"}, "", kNotFound + "File Not Found\r\n", {}},
    // Commands that cannot read their target write over it and cut it to
    // length; the others get it empty, and a listing shows it so.
    {"RedirectOverLongerOldContent",
     {"a.txt=x", "c.txt=" + std::string(300, 'z'), "d.txt=" + std::string(300, 'z'), "m.txt=" + std::string(300, 'z'),
      "l.txt=" + std::string(300, 'z')},
     {"copy a.txt b.txt > c.txt", "del /q b.txt > d.txt", "md sub > m.txt", "dir /b l.txt > l.txt",
      "copy a.txt e.txt >> d.txt"},
     "",
     "",
     {"c.txt=        1 file(s) copied.\r\n", "d.txt=        1 file(s) copied.\r\n", "m.txt=", "l.txt=l.txt\r\n"}},
    // The target kept open from one command to the next is the file its
    // name leads to now, not one a command replaced.
    {"RedirectFollowsAReplacedTarget",
     {"a.txt=x", "b.txt=yy"},
     {"copy a.txt c.txt > out.txt", "copy b.txt out.txt > out.txt", "del /q c.txt > out.txt"},
     "",
     "",
     {"out.txt=", "!c.txt"}},
    {"RedirectIntoMissingFolder", {"a.txt"}, {"dir /b > nofolder\\x.txt"}, "", kNoPath, {"!nofolder"}},
    {"NestedCmdRedirect",
     {"a.htm"},
     {"cmd /c dir /b *.htm > check_01.txt", "CMD /C \"dir /b > inner.txt\""},
     "",
     "",
     {"check_01.txt=a.htm\r\n", "inner.txt=a.htm\r\ncheck_01.txt\r\ninner.txt\r\n"}},
    {"DeleteLoop",
     {"check_01.txt", "check_02.txt", "keep.txt", "check_d/"},
     {"cmd /c for %i in (check_*.txt) do del /q %i >> out_null.txt", "for %i in (none_*.txt) do del /q %i"},
     "",
     "",
     {"!check_01.txt", "!check_02.txt", "keep.txt=", "check_d/", "out_null.txt="}},
    {"LoopKeepsFolderPart",
     {"sub/a.txt", "sub/b.txt", "a.txt"},
     {"for %i in (sub\\*.txt) do del /q %i"},
     "",
     "",
     {"!sub/a.txt", "!sub/b.txt", "a.txt="}},
    {"QuotedNames",
     {"My Report (2).txt=abc"},
     {"copy \"My Report (2).txt\" My_Report__2_.txt > out_null.list", "md \"a & b\""},
     "",
     "",
     {"My_Report__2_.txt=abc", "a & b/"}},
    {"MakeFolders",
     {"htm_in/x"},
     {"md htm_in > out_null.list", "md velmor\\htm_in", "md HTM_IN"},
     "",
     "A subdirectory or file htm_in already exists.\r\nA subdirectory or file HTM_IN already exists.\r\n",
     {"htm_in/x=", "velmor/htm_in/"}},
    {"RemoveFolders",
     {"full/x", "empty/"},
     {"rd full > out_null.list", "rd empty", "rd empty"},
     "",
     "The directory is not empty.\r\n" + kNotFound,
     {"full/x=", "!empty"}},
    {"DeleteFilesOnly",
     {"htm_in/a.htm", "htm_in/B.HTM", "htm_in/sub/c.htm"},
     {"del /q htm_in\\*.* > out_null.list"},
     "",
     "",
     {"!htm_in/a.htm", "!htm_in/B.HTM", "htm_in/sub/c.htm="}},
    {"DeleteFolderMissing", {}, {"DEL /Q nofolder\\*.*"}, "", kNoPath, {}},
    // A plain name is the file of exactly that name; only without one the
    // first of its case variants, never all of them.
    {"DeletePlainNameExactFirst",
     {"sub/a.txt", "sub/A.TXT", "sub/a.txt.bak", "sub/b.txt", "sub/B.TXT", "sub/c.txt"},
     {"del /q sub\\a.txt", "del /q sub\\b.Txt", "del /q sub\\C.TXT"},
     "",
     "",
     {"!sub/a.txt", "sub/A.TXT=", "sub/a.txt.bak=", "sub/b.txt=", "!sub/B.TXT", "!sub/c.txt"}},
    {"CaseVariantsOneByOne",
     {"txt_in/A.TXT=upper", "txt_in/a.txt=lower"},
     {"copy /y \"txt_in\\A.TXT\" > out_null.list", "copy /y \"txt_in\\a.txt\" > out_null.list",
      "del /q \"txt_in\\a.txt\"", "dir /b txt_in\\a.txt", "dir /b A.TXT"},
     "A.TXT\r\nA.TXT\r\n",
     "",
     {"A.TXT=upper", "a.txt=lower", "txt_in/A.TXT=upper", "!txt_in/a.txt"}},
    {"CopyTargetNameIsExact",
     {"src.txt=new", "a.txt=keep", "SUB/A.TXT=keep"},
     {"copy src.txt A.TXT", "copy src.txt sub\\a.txt"},
     "        1 file(s) copied.\r\n        1 file(s) copied.\r\n",
     "",
     {"a.txt=keep", "A.TXT=new", "SUB/A.TXT=keep", "SUB/a.txt=new"}},
    {"PartialCopiesNeverMatched",
     {"d/~korvel_partial_1.part=frag", "d/a.txt=1", "e/"},
     {"dir /b d", "copy /y d\\*.* e\\ > out_null.list", "del /q d\\*.*"},
     "a.txt\r\n",
     "",
     {"d/~korvel_partial_1.part=frag", "!d/a.txt", "e/a.txt=1", "!e/~korvel_partial_1.part"}},
    {"DeleteShortAndDottedNames",
     {"My Notes.txt", "README", "keep.txt"},
     {"del /q mynote~1.txt", "del /q readme."},
     "",
     "",
     {"!My Notes.txt", "!README", "keep.txt="}},
    {"DeletePlainNameSkipsFolders", {"sub/x/", "sub/X"}, {"del /q sub\\X"}, "", "", {"sub/x/", "!sub/X"}},
    {"CopyCaseVariantsNewToTheFolder",
     {"src/a.txt=1", "src/A.txt=2", "dst/"},
     {"copy /y src\\*.* dst\\ > out_null.list"},
     "",
     "",
     {"dst/a.txt=1", "dst/A.txt=2"}},
    {"CopyPatternIntoFolder",
     {"txt_in/a.txt=1", "txt_in/b.htm=2", "txt_in/sub/", "txt_wrk/A.TXT=old"},
     {"copy /y txt_in\\*.* txt_wrk\\"},
     "txt_in\\a.txt\r\ntxt_in\\b.htm\r\n        2 file(s) copied.\r\n",
     "",
     {"txt_wrk/A.TXT=old", "txt_wrk/a.txt=1", "txt_wrk/b.htm=2", "!txt_wrk/sub"}},
    {"CopyWithoutTarget",
     {"txt_in/a.txt=1", "a.txt=old"},
     {"copy /y txt_in\\*.* > out_null.list"},
     "",
     "",
     {"a.txt=1", "out_null.list=txt_in\\a.txt\r\n        1 file(s) copied.\r\n"}},
    {"CopySingleFile",
     {"a.txt=new", "b.txt=old", "velmor/"},
     {"copy a.txt b.txt", "copy /y a.txt velmor"},
     "        1 file(s) copied.\r\n        1 file(s) copied.\r\n",
     "",
     {"b.txt=new", "velmor/a.txt=new"}},
    {"CopyOntoItself",
     {"a.txt=x"},
     {"copy a.txt a.txt", "copy a.txt"},
     "        0 file(s) copied.\r\n        0 file(s) copied.\r\n",
     "The file cannot be copied onto itself.\r\nThe file cannot be copied onto itself.\r\n",
     {"a.txt=x"}},
    {"CopyMissingSource",
     {},
     {"copy nothere.txt x.txt", "copy /y none\\*.* x\\"},
     "        0 file(s) copied.\r\n        0 file(s) copied.\r\n",
     kNotFound + kNoPath,
     {"!x.txt"}},
    {"CopyIntoMissingFolder",
     {"a.txt"},
     {"copy a.txt nofolder\\"},
     "        0 file(s) copied.\r\n",
     kNoPath,
     {"!nofolder"}},
    {"CopyFindsIndexerIgnoringCase",
     {"VELMOR_01_209.EXE=bin", "velmor/"},
     {"copy /y velmor_01_209.exe velmor\\velmor_01_209.exe"},
     "        1 file(s) copied.\r\n",
     "",
     {"velmor/velmor_01_209.exe=bin"}},
    {"Find",
     {"check_01.txt=a.EXE line\r\nother\r\nfoo.exe\n"},
     {"cmd /c find /i \".exe\" check_01.txt >  check_02.txt"},
     "",
     "",
     {"check_02.txt=\r\n---------- CHECK_01.TXT\r\na.EXE line\r\nfoo.exe\r\n"}},
    {"FindMissingFile", {}, {"find /i \"x\" nope.txt"}, "", "File not found - NOPE.TXT\r\n", {}},
    {"Findstr",
     {"f.txt=abc.exe\r\nxexe\r\nexe\r\nTEST\r\n"},
     {"cmd /c findstr /i \".exe\" f.txt >  out.txt", "findstr \"tes abc\" f.txt"},
     "abc.exe\r\n",
     "",
     {"out.txt=abc.exe\r\nxexe\r\n"}},
    {"FindstrMissingFile", {}, {"findstr /i \"x\" nope.txt"}, "", "FINDSTR: Cannot open nope.txt\r\n", {}},
    {"Sort",
     {"check_01.txt=b\nA\nc\r\na\n"},
     {"sort check_01.txt /o check_02.txt"},
     "",
     "",
     {"check_02.txt=A\r\na\r\nb\r\nc\r\n"}},
    {"UnknownCommand",
     {},
     {"wget.exe -q x > out.txt"},
     "",
     "'wget.exe' is not recognized as an internal or external command,\r\noperable program or batch file.\r\n",
     {"out.txt="}},
    {"MissingArgument",
     {},
     {"md", "del /q", "copy /y"},
     "",
     "The syntax of the command is incorrect.\r\n"
     "The syntax of the command is incorrect.\r\nThe syntax of the command is incorrect.\r\n",
     {}},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class InterpCase : public Interp, public ::testing::WithParamInterface<Case> {};

TEST_P(InterpCase, Runs) {
  const Case& c = GetParam();
  for (const std::string& file : c.files) make(file);
  Output got = run_all(c.lines);
  EXPECT_EQ(got.out, c.out);
  EXPECT_EQ(got.err, c.err);
  for (const std::string& check : c.after) {
    if (check[0] == '!') {
      EXPECT_FALSE(fs::exists(check.substr(1))) << check;
    } else if (check.back() == '/') {
      EXPECT_TRUE(fs::is_directory(check)) << check;
    } else {
      size_t equals = check.find('=');
      EXPECT_TRUE(fs::is_regular_file(check.substr(0, equals))) << check;
      EXPECT_EQ(read_file(check.substr(0, equals)), check.substr(equals + 1)) << check;
    }
  }
  // A finished copy leaves no partial file behind.
  bool planted = std::string(c.name).starts_with("PartialCopies");
  for (const auto& entry : fs::recursive_directory_iterator(".")) {
    bool partial = entry.path().filename().string().starts_with("~korvel_partial_");
    EXPECT_TRUE(!partial || planted) << entry.path();
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, InterpCase, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Interp, RefusedLinesRunNothing) {
  make("a.txt=x");
  std::string before = snapshot();
  for (const char* line : {"md x & md y", "dir /b | sort > s.txt", "sort < a.txt > s.txt", "del /q a.txt ^"}) {
    Output got = capture(line);
    EXPECT_EQ(got.out, "");
    EXPECT_EQ(got.err, "The command line holds & | < or ^, which korvel does not run: " + std::string(line) + "\r\n");
  }
  EXPECT_EQ(snapshot(), before);
}

TEST_F(Interp, FullListing) {
  make("check_d/");
  make("big.exe=" + std::string(1234, 'x'));
  Output got = run_all({"cmd /c dir > check_01.txt", "dir *.nothing"});
  std::string listing = read_file("check_01.txt");
  EXPECT_NE(listing.find(" Directory of " + fs::canonical(".").string() + "\r\n\r\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("    <DIR>          .\r\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("    <DIR>          ..\r\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("    <DIR>          check_d\r\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("             1,234 big.exe\r\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find(" check_01.txt\r\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("               2 File(s)          1,234 bytes\r\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("               3 Dir(s) "), std::string::npos) << listing;
  EXPECT_EQ(got.out, " Directory of " + fs::canonical(".").string() + "\r\n\r\n");
  EXPECT_EQ(got.err, "File Not Found\r\n");
}

TEST_F(Interp, DeleteReportsMissingMatch) {
  Output got = capture("del /q check_*.txt");
  EXPECT_EQ(got.err, "Could Not Find " + fs::canonical(".").string() + "/check_*.txt\r\n");
}

TEST_F(Interp, CopyKeepsPermissionBits) {
  make("velmor/");
  make("velmor_1.exe=#!/bin/sh\n");
  fs::permissions("velmor_1.exe", fs::perms(0755));
  capture("copy /y velmor_1.exe velmor\\velmor_1.exe");
  EXPECT_EQ(fs::status("velmor/velmor_1.exe").permissions(), fs::perms(0755));
}

TEST_F(Interp, CopyNotWrittenWholeLeavesTargetAsItWas) {
  const std::string big(256 * 1024, 'x');
  make("txt_in/big.txt=" + big);
  make("txt_in/small.txt=s");
  make("big.txt=old");
  Output all, one;
  {
    FileSizeLimit limit(64 * 1024);
    all = capture("copy /y txt_in\\*.*");
    one = capture("copy txt_in\\big.txt new.txt");
  }
  const std::string full_disk = "txt_in\\big.txt: There is not enough space on the disk.\r\n";
  EXPECT_EQ(all.out, "txt_in\\big.txt\r\ntxt_in\\small.txt\r\n        1 file(s) copied.\r\n");
  EXPECT_EQ(all.err, full_disk);
  EXPECT_EQ(one.out, "        0 file(s) copied.\r\n");
  EXPECT_EQ(one.err, full_disk);
  EXPECT_EQ(read_file("big.txt"), "old");
  EXPECT_EQ(read_file("small.txt"), "s");
  EXPECT_EQ(read_file("txt_in/big.txt"), big);
  EXPECT_FALSE(fs::exists("new.txt"));
  EXPECT_FALSE(fs::exists("~korvel_partial_" + std::to_string(getpid()) + ".part"));
}

// A listing cut short would be read back as if it were whole.
TEST_F(Interp, RedirectionNotWrittenWholeKeepsNothingOfIt) {
  for (int i = 0; i < 200; ++i) make("d/document_with_a_long_name_" + std::to_string(i) + ".txt");
  make("list.txt=old\r\n");
  make("more.txt=kept\r\n");
  Output got;
  {
    FileSizeLimit limit(4096);
    got = run_all({"dir /b d > list.txt", "dir /b d >> more.txt"});
  }
  EXPECT_EQ(got.err,
            "list.txt: There is not enough space on the disk.\r\n"
            "more.txt: There is not enough space on the disk.\r\n");
  EXPECT_EQ(read_file("list.txt"), "");
  EXPECT_EQ(read_file("more.txt"), "kept\r\n");
}

// What the interpreter keeps from one command to the next must never hide a
// change made by another program, even one that lands after the folder held
// still for a while.
TEST_F(Interp, ListingShowsEveryLaterChange) {
  struct Change {
    const char* name;
    std::function<void()> apply;
    std::string listed;
  };
  const Change changes[] = {
      {"added", [] { make("d/c.txt"); }, "a.txt\r\nb.txt\r\nc.txt\r\n"},
      {"removed", [] { fs::remove("d/a.txt"); }, "b.txt\r\n"},
      {"renamed", [] { fs::rename("d/a.txt", "d/A2.txt"); }, "A2.txt\r\nb.txt\r\n"},
      {"made a folder", [] { fs::remove("d/a.txt"), fs::create_directory("d/a.txt"); }, "a.txt\r\nb.txt\r\n"},
  };
  for (const Change& change : changes) {
    fs::remove_all("d");
    make("d/a.txt");
    make("d/b.txt");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(capture("dir /b d").out, "a.txt\r\nb.txt\r\n");
    EXPECT_EQ(capture("dir /b d\\*.txt").out, "a.txt\r\nb.txt\r\n");
    change.apply();
    EXPECT_EQ(capture("dir /b d").out, change.listed) << change.name;
  }
}

// Output held back while the next line writes over the same target must end
// as if each line had written it at once: the same files, the same messages.
TEST_F(Interp, HeldBackOutputEndsAsIfWrittenAtOnce) {
  const std::vector<std::vector<std::string>> scripts = {
      {"copy a.txt b.txt > out.txt", "copy b.txt sub\\b.txt > out.txt", "del /q a.txt > out.txt"},
      {"copy a.txt b.txt > out.txt", "copy nothere.txt c.txt > out.txt", "md sub > out.txt"},
      {"copy a.txt b.txt > out.txt", "copy a.txt c.txt > other.txt", "del /q nothere.txt > out.txt"},
      {"copy a.txt b.txt > out.txt", "copy a.txt out.txt > out.txt", "copy b.txt c.txt > out.txt"},
      {"copy a.txt b.txt > out.txt", "del /q out.txt > out.txt", "copy b.txt c.txt > out.txt"},
      {"copy a.txt b.txt > out.txt", "copy b.txt c.txt > out.txt", "dir /b *.txt >> out.txt"},
      {"del /q nothere.txt > out.txt", "copy a.txt b.txt > OUT.TXT", "copy a.txt c.txt > out.txt"},
  };
  for (const auto& script : scripts) {
    std::string settled_files, held_files;
    Output settled, held;
    for (bool settle_each : {true, false}) {
      fs::remove_all(folder_);
      fs::create_directories(folder_ / "sub");
      fs::current_path(folder_);
      forget_folder_indexes();
      make("a.txt=a");
      if (settle_each) {
        settled = run_all(script);
        settled_files = snapshot();
      } else {
        held = capture_of([&] {
          for (const std::string& line : script) interp_run(line);
          interp_settle();
        });
        held_files = snapshot();
      }
    }
    EXPECT_EQ(held_files, settled_files) << script[1];
    EXPECT_EQ(held.out + held.err, settled.out + settled.err) << script[1];
  }
}

// Also where the folder was listed just before: listings leave partial
// copies out, and must not stand for the folder's every name.
TEST_F(Interp, CopyRemovesWhatKilledCopiesLeft) {
  const std::string gone = "~korvel_partial_999999999.part";  // above any pid_max
  const std::string alive = "~korvel_partial_" + std::to_string(getppid()) + ".part";
  for (const std::string folder : {"swept_by_copy", "listed_then_swept"}) {
    make("a.txt=a");
    make(folder + "/" + gone + "=fragment");
    make(folder + "/" + alive + "=in progress");
    if (folder == "listed_then_swept") {
      std::this_thread::sleep_for(std::chrono::milliseconds(30));  // the folder settles
      EXPECT_EQ(capture("dir /b " + folder).out, "");
    }
    Output got = capture("copy a.txt " + folder + "\\");
    EXPECT_EQ(got.err, "");
    EXPECT_FALSE(fs::exists(folder + "/" + gone)) << folder;
    EXPECT_EQ(read_file(folder + "/" + alive), "in progress");
    EXPECT_EQ(read_file(folder + "/a.txt"), "a");
  }
}

TEST_F(Interp, FifoIsNeverOpened) {
  alarm(30);  // were it opened, the test would wait for a writer for ever
  make("txt_in/b.txt=b");
  make("x/");
  ASSERT_EQ(mkfifo("txt_in/a.txt", 0644), 0);
  Output all = capture("copy /y txt_in\\*.* x\\");
  Output one = capture("copy txt_in\\a.txt y.txt");
  Output listed = capture("dir /b txt_in");
  Output found = capture("find /i \"x\" txt_in\\a.txt");
  Output deleted = capture("del /q txt_in\\a.txt");
  alarm(0);
  const std::string skipped = "txt_in\\a.txt: This is not a regular file; it is skipped.\r\n";
  EXPECT_EQ(all.out, "txt_in\\a.txt\r\ntxt_in\\b.txt\r\n        1 file(s) copied.\r\n");
  EXPECT_EQ(all.err, skipped);
  EXPECT_EQ(one.out, "        0 file(s) copied.\r\n");
  EXPECT_EQ(one.err, skipped);
  EXPECT_EQ(listed.out, "a.txt\r\nb.txt\r\n");
  EXPECT_EQ(found.err, "File not found - TXT_IN\\A.TXT\r\n");
  EXPECT_EQ(deleted.err, "");
  EXPECT_FALSE(fs::exists(fs::symlink_status("txt_in/a.txt")));
  EXPECT_EQ(read_file("x/b.txt"), "b");
  EXPECT_FALSE(fs::exists("x/a.txt"));
}

TEST_F(Interp, ChcpNamesACodePage) {
  Output got = capture("chcp");
  EXPECT_TRUE(got.out.starts_with("Active code page: ")) << got.out;
  EXPECT_TRUE(got.out.ends_with("\r\n"));
}

TEST_F(Interp, ResolveIgnoresCaseWhereNeeded) {
  make("TXT_IN/A.TXT");
  make("txt_in2/a.txt");
  make("txt_in2/A.txt");
  EXPECT_EQ(interp_resolve("txt_in\\a.txt"), "TXT_IN/A.TXT");
  EXPECT_EQ(interp_resolve("txt_in2\\a.txt"), "txt_in2/a.txt");
  EXPECT_EQ(interp_resolve("txt_in\\new.txt"), "TXT_IN/new.txt");
  EXPECT_EQ(interp_resolve("nofolder\\a.txt"), "nofolder/a.txt");
  EXPECT_EQ(interp_resolve("txt_in\\"), "TXT_IN/");
  EXPECT_EQ(interp_resolve(folder_.string() + "/TXT_IN/a.txt"), folder_.string() + "/TXT_IN/A.TXT");
}

TEST_F(Interp, StartRunsDetachedWithLog) {
  // Without a graphical session the program runs in the background.
  std::string display = getenv("DISPLAY") ? getenv("DISPLAY") : "";
  std::string wayland = getenv("WAYLAND_DISPLAY") ? getenv("WAYLAND_DISPLAY") : "";
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  make("velmor/VELMOR_01_209.EXE=#!/bin/sh\npwd > started.txt\necho hello\n");
  fs::permissions("velmor/VELMOR_01_209.EXE", fs::perms(0755));
  Output got = capture("start /D velmor velmor_01_209.exe");
  Output missing = capture("start /D velmor nope.exe");
  if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
  if (!wayland.empty()) setenv("WAYLAND_DISPLAY", wayland.c_str(), 1);
  EXPECT_EQ(got.out + got.err, "");
  EXPECT_EQ(missing.err, "The system cannot find the file nope.exe.\r\n");
  for (int i = 0; i < 100 && read_file("velmor/velmor_01_209.exe.log").empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(read_file("velmor/started.txt"), fs::canonical("velmor").string() + "\n");
  EXPECT_EQ(read_file("velmor/velmor_01_209.exe.log"), "hello\n");
}
}  // namespace

}  // namespace korvel
