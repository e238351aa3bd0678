// Input preparation seen from outside: the real program in a working folder
// with the tools, documents in txt_in, keys piped in.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "korvel/testing/e2e.h"
#include "korvel/testing/faults.h"
#include "korvel/testing/transcripts.h"

namespace korvel {

namespace fs = std::filesystem;

namespace {

const std::string kPassScreens = "111";
const std::string kHeader = "Reformatting *.txt files to *.htm.";

struct Prepared {
  WorkFolder folder;
  RunResult run;
  std::vector<std::string> lines;  // console lines
};

// A working folder with the tools and these files (a name ending in "/" is a
// folder), relative to the working folder.
void fill(const fs::path& root, const std::map<std::string, std::string>& files) {
  install_tools(root);
  for (const auto& [name, content] : files) {
    if (name.ends_with("/")) fs::create_directories(root / name);
    else {
      fs::create_directories((root / name).parent_path());
      write_file(root / name, content);
    }
  }
}

std::vector<std::string> the_report(const std::string& base) {
  return {"",
          "----------------------------",
          "Compare file names *.htm and *.txt",
          "",
          base,
          "",
          "File has the same name and two extensions, *.htm, *.txt",
          "",
          "<1> = stop and rename file: " + base,
          "<2> = continue and *.txt file will be recreate from *.htm"};
}

std::set<std::string> names_in(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string() + (entry.is_directory() ? "/" : ""));
  return names;
}

// What the run leaves that is not a document: scratch files and the folders
// of this and the later stages.
bool is_run_residue(const std::string& path) {
  static const std::set<std::string> kScratch = {
      "check_01.txt",   "check_02.txt",  "out_null.txt", "exe_files.txt", "txt_file.txt",     "dir_01.txt",
      "dir_cur.txt",    "txt_file.list", "txt_in.list",  "out_null.list", "compare_01.txt",   "compare_02.txt",
      "compare_04.txt", "txt_wrk.list",  "htm_wrk.list", "korvel.lock",   "moved_files.list",
  };
  for (const char* folder : {"htm_in/", "txt_wrk/", "htm_wrk/", "velmor/"})
    if (path.starts_with(folder)) return true;
  return kScratch.count(path) > 0;
}

std::map<std::string, std::string> without_residue(std::map<std::string, std::string> files) {
  std::erase_if(files, [](const auto& entry) { return is_run_residue(entry.first); });
  return files;
}

}  // namespace

TEST(CheckInputFolders, NoDocumentStopsWithOnlyOneChoice) {
  const std::vector<std::map<std::string, std::string>> cases = {
      {{"txt_in/notes.doc", "doc"}},
      {{"txt_in/", ""}},
      {},
  };
  for (const auto& files : cases) {
    WorkFolder folder;
    fill(folder.path, files);
    auto before = snapshot(folder.path);
    RunResult run = run_korvel(folder.path, kPassScreens + "21");
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(lines_after(crlf_lines(run.out), "velmor_*.exe"),
              (std::vector<std::string>{"", "----------------------------", "Subfolder txt_in is empty", "",
                                        "<1> = continue and end"}));
    EXPECT_EQ(without_residue(snapshot(folder.path)), before);
  }
}

// The document count ignores letter case.
TEST(CheckInputFolders, UpperCaseExtensionIsADocument) {
  WorkFolder folder;
  fill(folder.path, {{"txt_in/README.TXT", "read me\r\n"}});
  RunResult run = run_korvel(folder.path, kPassScreens);
  std::vector<std::string> lines = lines_after(crlf_lines(run.out), "velmor_*.exe");
  lines.resize(std::min<size_t>(lines.size(), 3));
  EXPECT_EQ(lines, (std::vector<std::string>{"", "----------------------------", kHeader})) << run.out;
  EXPECT_EQ(read_file(folder.path / "txt_in" / "README.TXT"), "read me\r\n");
}

// htm_in is renewed and txt_wrk made although folders merely holding their
// names are there.
TEST(CheckInputFolders, FoldersAreFoundByTheirOwnNameOnly) {
  WorkFolder folder;
  fill(folder.path, {{"txt_in/a.txt", "a"},
                     {"old_htm_in/keep.txt", "old"},
                     {"old_txt_wrk/keep.txt", "old"},
                     {"htm_wrk_old/keep.txt", "old"},
                     {"htm_in/stale.htm", "stale"}});
  RunResult run = run_korvel(folder.path, kPassScreens);
  EXPECT_FALSE(lines_after(crlf_lines(run.out), kHeader).empty()) << run.out;
  EXPECT_TRUE(fs::is_directory(folder.path / "txt_wrk"));
  EXPECT_TRUE(fs::is_directory(folder.path / "htm_wrk"));
  EXPECT_FALSE(fs::exists(folder.path / "htm_in" / "stale.htm"));
  for (const char* kept : {"old_htm_in/keep.txt", "old_txt_wrk/keep.txt", "htm_wrk_old/keep.txt"})
    EXPECT_EQ(read_file(folder.path / kept), "old") << kept;
}

TEST(NormaliseFileNames, DocumentsComeBackUnderCleanNames) {
  WorkFolder folder;
  fill(folder.path, {{"txt_in/My Report (2).txt", "report"},
                     {"txt_in/notes.txt", "notes"},
                     {"txt_in/page_3.htm", "page"},
                     {"txt_in/a.txt b.txt", "two"},
                     {"txt_in/readme.doc", "doc"},
                     {"txt_in/sub/inner.txt", "inner"}});
  auto before = snapshot(folder.path);
  EXPECT_EQ(run_korvel(folder.path, kPassScreens).exit_status, 0);
  auto expected = before;
  for (const char* name : {"My Report (2).txt", "notes.txt", "page_3.htm", "a.txt b.txt", "readme.doc"}) {
    expected[name] = expected[std::string("txt_in/") + name];
    expected.erase(std::string("txt_in/") + name);
  }
  for (const auto& [old_name, name] : std::map<std::string, std::string>{{"My Report (2).txt", "My_Report__2_.txt"},
                                                                         {"page_3.htm", "file_page_3.htm"},
                                                                         {"a.txt b.txt", "a.txt_b.txt"}}) {
    expected[name] = expected[old_name];
    expected["txt_in/" + name] = expected[old_name];
  }
  expected["txt_in/notes.txt"] = "notes";
  EXPECT_EQ(without_residue(snapshot(folder.path)), expected);
}

// Names that would be commands to the interpreter are only ever names, and
// a name that no command could carry exactly is renamed in txt_in itself.
TEST(NormaliseFileNames, HostileNamesAreCopiedNotRun) {
  WorkFolder folder;
  fill(folder.path, {{"txt_in/a.txt&del *.*", "one"},
                     {"txt_in/x.htm|y", "two"},
                     {"txt_in/(1)^.txt", "three"},
                     {"txt_in/keep.txt", "four"},
                     {"txt_in/q\"&del x.txt", "five"},
                     {"other.txt", "untouched"}});
  auto before = snapshot(folder.path);
  RunResult run = run_korvel(folder.path, kPassScreens);
  EXPECT_EQ(run.exit_status, 0);
  auto expected = before;
  for (const auto& [old_name, name] :
       std::map<std::string, std::string>{{"x.htm|y", "x.htm_y"}, {"(1)^.txt", "_1__.txt"}}) {
    std::string content = expected["txt_in/" + old_name];
    expected.erase("txt_in/" + old_name);
    expected[old_name] = content;
    expected[name] = content;
    expected["txt_in/" + name] = content;
  }
  for (const auto& [old_name, name] :
       std::map<std::string, std::string>{{"a.txt&del *.*", "a.txt_del__._"}, {"q\"&del x.txt", "q__del_x.txt"}}) {
    expected["txt_in/" + name] = expected["txt_in/" + old_name];
    expected.erase("txt_in/" + old_name);
    EXPECT_NE(run.err.find("txt_in\\" + old_name + " is renamed " + name + " in txt_in"), std::string::npos) << run.err;
  }
  expected["keep.txt"] = "four";
  EXPECT_EQ(without_residue(snapshot(folder.path)), expected);
  EXPECT_EQ(run.err.find("korvel does not run"), std::string::npos) << run.err;
}

TEST(NormaliseFileNames, NoDocumentOverwritesAnother) {
  WorkFolder folder;
  fill(folder.path, {{"txt_in/a b.txt", "blank"}, {"txt_in/a-b.txt", "hyphen"}, {"txt_in/a_b.txt", "underscore"}});
  EXPECT_EQ(run_korvel(folder.path, kPassScreens).exit_status, 0);
  EXPECT_EQ(names_in(folder.path / "txt_in"), (std::set<std::string>{"a_b.txt", "a_b_2.txt", "a_b_3.txt"}));
  EXPECT_EQ(read_file(folder.path / "txt_in" / "a_b.txt"), "underscore");
  EXPECT_EQ(read_file(folder.path / "txt_in" / "a_b_2.txt"), "blank");
  EXPECT_EQ(read_file(folder.path / "txt_in" / "a_b_3.txt"), "hyphen");
  EXPECT_EQ(read_file(folder.path / "a_b.txt"), "underscore");
}

// The program and its tools are never replaced by a namesake from txt_in.
TEST(NormaliseFileNames, ProgramFilesStayInTxtIn) {
  WorkFolder folder;
  fill(folder.path, {{"txt_in/wget.exe", "user's wget"},
                     {"txt_in/CONVERTCP.EXE", "user's convertcp"},
                     {"txt_in/velmor_99.exe", "not an indexer"},
                     {"txt_in/korvel", "user's korvel"},
                     {"txt_in/doc.txt", "doc"}});
  auto tools_before = snapshot(folder.path);
  EXPECT_EQ(run_korvel(folder.path, kPassScreens).exit_status, 0);
  for (const char* name : {"wget.exe", "CONVERTCP.EXE", "velmor_99.exe", "korvel"})
    EXPECT_EQ(read_file(folder.path / "txt_in" / name), tools_before[std::string("txt_in/") + name]) << name;
  for (const char* tool : {"wget.exe", "convertcp.exe", "velmor_01_209.exe"})
    EXPECT_EQ(read_file(folder.path / tool), tools_before[tool]) << tool;
  EXPECT_FALSE(fs::exists(folder.path / "velmor_99.exe"));
  EXPECT_FALSE(fs::exists(folder.path / "korvel"));
  EXPECT_EQ(read_file(folder.path / "txt_in" / "doc.txt"), "doc");
  EXPECT_EQ(read_file(folder.path / "doc.txt"), "doc");
}

// A namesake of a file a run writes, deletes by pattern or makes a folder
// of in the working folder never goes there: the next run's "del /q
// check_*.txt" would take the only copy left, and a file txt_wrk would keep
// the folder from being made.
TEST(NormaliseFileNames, NamesTheRunUsesInTheWorkingFolderStayInTxtIn) {
  const std::string writes = "korvel writes a file of that name in the working folder";
  const std::string deletes = "korvel deletes the files named check_*.txt in the working folder";
  const std::string lists = "korvel writes files of such names in the working folder";
  const std::string folder = "korvel makes a folder of that name in the working folder";
  const std::map<std::string, std::string> stays = {
      {"check_list.txt", deletes}, {"CHECK_Notes.TXT", deletes}, {"ch eck_x.txt", deletes}, {"dir_cur.txt", writes},
      {"compare_03.txt", lists},   {"notes.list", lists},        {"txt_wrk", folder},       {"HTM_WRK.txt", folder},
      {"htm_in", folder},          {"velmor", folder},           {"htm_out.htm", folder},   {"txt wrk.htm", folder},
  };
  WorkFolder folder_;
  std::map<std::string, std::string> files = {{"txt_in/doc.txt", "doc"}};
  for (const auto& [name, reason] : stays) files["txt_in/" + name] = name;
  fill(folder_.path, files);
  RunResult run = run_korvel(folder_.path, kPassScreens + "1x");
  EXPECT_TRUE(run.out.ends_with("<...> any key to continue and end\r\n")) << run.out;
  for (const auto& [name, reason] : stays) {
    EXPECT_NE(run.err.find("txt_in\\" + name + " stays in txt_in: " + reason + ".\r\n"), std::string::npos)
        << name << "\n"
        << run.err;
    EXPECT_EQ(read_file(folder_.path / "txt_in" / name), name);
    // What the working folder holds of that name is the run's own.
    EXPECT_NE(read_file(folder_.path / name), name) << name;
  }
  EXPECT_EQ(read_file(folder_.path / "doc.txt"), "doc");
  EXPECT_TRUE(fs::exists(folder_.path / "htm_wrk" / "check_list.htm"));
}

// A folder in the way of the copy makes it fail; the document must stay, and
// so must a name that del would take for a pattern.
TEST(NormaliseFileNames, FileWhoseCopyFailedStaysUnderItsName) {
  WorkFolder folder;
  fill(
      folder.path,
      {{"txt_in/my doc.txt", "precious"}, {"my doc.txt/", ""}, {"txt_in/b c.txt", "other"}, {"txt_in/m*.txt", "star"}});
  EXPECT_EQ(run_korvel(folder.path, kPassScreens).exit_status, 0);
  EXPECT_EQ(names_in(folder.path / "txt_in"), (std::set<std::string>{"my doc.txt", "b_c.txt", "m_.txt"}));
  EXPECT_EQ(read_file(folder.path / "txt_in" / "my doc.txt"), "precious");
  EXPECT_EQ(read_file(folder.path / "txt_in" / "b_c.txt"), "other");
}

// A file where a stage makes its folder, as a run before could leave one:
// the folder cannot be made, and the run stops at that stage instead of
// ending on the results text with nothing indexed.
TEST(StageFolders, AFileWhereAFolderMustBeStopsTheRun) {
  const std::string kFolderStop = "<...> any key to continue and end";
  struct Case {
    std::string file;
    std::vector<std::string> last_lines;
  };
  const std::vector<Case> cases = {
      {"htm_in", {"----------------------------", "subfolder htm_in must be created", "", kFolderStop}},
      {"txt_wrk", {"", "----------------------------", "Subfolder txt_wrk must be created.", "", kFolderStop}},
      {"HTM_WRK", {"", "----------------------------", "Subfolder htm_wrk must be created.", "", kFolderStop}},
      {"velmor",
       {"<1> continue", "<2> end", "", "----------------------------", "Subfolder velmor must be created.", "",
        kFolderStop}},
      {"velmor/htm_in",
       {"<1> continue", "<2> end", "", "----------------------------", "Subfolder velmor\\htm_in must be created.", "",
        kFolderStop}},
  };
  for (const Case& c : cases) {
    WorkFolder folder;
    fill(folder.path, {{"txt_in/a.txt", "a"}, {c.file, "a file"}});
    RunResult run = run_korvel(folder.path, kPassScreens + "1x");
    std::vector<std::string> lines = crlf_lines(run.out);
    ASSERT_GE(lines.size(), c.last_lines.size()) << c.file;
    EXPECT_EQ(std::vector<std::string>(lines.end() - static_cast<long>(c.last_lines.size()), lines.end()), c.last_lines)
        << c.file << "\n"
        << run.out;
    EXPECT_EQ(run.out.find("INDEXING RESULTS"), std::string::npos) << c.file;
    EXPECT_EQ(read_file(folder.path / c.file), "a file") << c.file;
  }
}

TEST(CheckWorkFoldersAndNames, DocumentsOfOneBaseNameAreReportedOnce) {
  struct Case {
    std::vector<std::string> documents;
    std::vector<std::string> reported;
    std::string second_list;  // after every pair was let pass
  };
  const std::vector<Case> cases = {
      {{"a.htm", "a.txt", "c.txt"}, {"a"}, "c.txt\r\n"},
      {{"a.htm", "a.html", "a.txt", "b.txt"}, {"a"}, "b.txt\r\n"},
      {{"b.htm", "b.txt", "a.htm", "a.txt"}, {"a", "b"}, ""},
      // One page name on a file system that ignores letter case.
      {{"Report.htm", "report.txt", "c.txt"}, {"Report"}, "c.txt\r\n"},
      {{".htm", ".txt"}, {""}, ""},
  };
  for (const Case& c : cases) {
    WorkFolder folder;
    std::map<std::string, std::string> files = {{"txt_in/sub/", ""}};
    for (const std::string& name : c.documents) files["txt_in/" + name] = name;
    fill(folder.path, files);
    RunResult run = run_korvel(folder.path, kPassScreens + "22");
    std::vector<std::string> lines = lines_after(crlf_lines(run.out), kHeader);
    std::vector<std::string> expected;
    for (const std::string& base : c.reported) {
      std::vector<std::string> report = the_report(base);
      expected.insert(expected.end(), report.begin(), report.end());
    }
    // Later stages print on; only the reports belong to this one.
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Compare file names *.htm and *.txt"),
              static_cast<long>(c.reported.size()))
        << c.documents[0];
    lines.resize(std::min(lines.size(), expected.size()));
    EXPECT_EQ(lines, expected) << c.documents[0];
    if (!c.reported.empty()) {
      EXPECT_EQ(read_file(folder.path / "compare_02.txt"), c.second_list + "sub\r\n") << c.documents[0];
    }
  }
}

TEST(CheckWorkFoldersAndNames, KeyOneEndsTheRunAndKeepsBothDocuments) {
  WorkFolder folder;
  fill(folder.path, {{"txt_in/a.htm", "page"}, {"txt_in/a.txt", "text"}});
  RunResult run = run_korvel(folder.path, kPassScreens + "1");
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(lines_after(crlf_lines(run.out), kHeader), the_report("a"));
  EXPECT_EQ(names_in(folder.path / "txt_in"), (std::set<std::string>{"a.htm", "a.txt"}));
  EXPECT_TRUE(fs::is_directory(folder.path / "txt_wrk"));
}

// Names that differ only in letter case both stay in txt_in, as the run says
// of each, and neither gets a page: one page name would hold either text.
// The other documents go on as ever, and a base-name pair is still reported.
TEST(CheckWorkFoldersAndNames, LetterCaseVariantsStayAndGetNoPage) {
  struct Case {
    std::map<std::string, std::string> documents;
    std::vector<std::string> staying;          // in txt_in, untouched, no page
    std::vector<std::string> reported;         // base names of the same-name report
    std::map<std::string, std::string> pages;  // in htm_wrk, with the text each must hold
  };
  const std::vector<Case> cases = {
      {{{"A.txt", "upper"}, {"a.txt", "lower"}, {"b.txt", "bee"}}, {"A.txt", "a.txt"}, {}, {{"b.htm", "bee"}}},
      {{{"X.htm", "upper"}, {"x.htm", "lower"}, {"b.txt", "bee"}}, {"X.htm", "x.htm"}, {}, {{"b.htm", "bee"}}},
      {{{"A.txt", "upper"}, {"a.txt", "lower"}, {"a.htm", "page"}}, {"A.txt", "a.txt"}, {}, {{"a.htm", "page"}}},
      {{{"Report.htm", "page"}, {"report.txt", "text"}, {"b.txt", "bee"}}, {}, {"Report"}, {{"b.htm", "bee"}}},
  };
  for (const Case& c : cases) {
    WorkFolder folder;
    std::map<std::string, std::string> files;
    for (const auto& [name, text] : c.documents) files["txt_in/" + name] = text;
    fill(folder.path, files);
    RunResult run = run_answering_every_prompt(folder.path);
    std::string what = c.documents.begin()->first;
    EXPECT_EQ(run.exit_status, 0) << what;
    EXPECT_TRUE(run.out.ends_with("<...> any key to continue and end\r\n")) << what << run.out;
    for (const std::string& name : c.staying) {
      EXPECT_EQ(read_file(folder.path / "txt_in" / name), c.documents.at(name)) << name;
      EXPECT_NE(run.err.find("txt_in\\" + name +
                             " stays in txt_in: another file of txt_in has that name in another "
                             "letter case."),
                std::string::npos)
          << name << run.err;
    }
    std::vector<std::string> lines = crlf_lines(run.out);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Compare file names *.htm and *.txt"),
              static_cast<long>(c.reported.size()))
        << what << run.out;
    for (const std::string& base : c.reported) EXPECT_NE(std::find(lines.begin(), lines.end(), base), lines.end());
    // Every page holds its own document's text, and no other page is made.
    if (c.reported.empty()) {
      EXPECT_EQ(names_in(folder.path / "htm_wrk").size(), c.pages.size()) << what;
    }
    for (const auto& [page, text] : c.pages) {
      std::string held = read_file(folder.path / "htm_wrk" / page);
      EXPECT_TRUE(held == text || held.find("<pre>\r\n" + text + "\r\n</pre>") != std::string::npos)
          << page << ": " << held;
    }
    EXPECT_EQ(names_in(folder.path / "htm_in"), names_in(folder.path / "htm_wrk")) << what;
  }
}

}  // namespace korvel
