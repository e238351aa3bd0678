#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

#include "common/child_process.h"
#include "common/test_files.h"
#include "indexer/testing/run_velmor.h"
#include "indexer/run/arguments.h"
#include "indexer/run/lock.h"
#include "indexer/run/out_folder.h"
#include "indexer/run/pages.h"

namespace fs = std::filesystem;
using namespace velmor;

TEST(Arguments, Table) {
  struct Case {
    std::vector<std::string> args;
    bool ok;
    std::string in = "", out = "", locale = "";
    size_t memory = 0;
    std::string vertical = "";
  } cases[] = {
      {{}, true, "htm_in", "htm_out", "", 256},
      {{"pages"}, true, "pages", "htm_out", "", 256},
      {{"pages", "site"}, true, "pages", "site", "", 256},
      {{"--locale", "sl", "pages"}, true, "pages", "htm_out", "sl", 256},
      {{"--locale=de", "--memory=64"}, true, "htm_in", "htm_out", "de", 64},
      {{"--memory", "1024", "--", "-odd-"}, true, "-odd-", "htm_out", "", 1024},
      {{"a", "b", "c"}, false},
      {{"--bogus"}, false},
      {{"-x"}, false},
      {{"--locale"}, false},
      {{"--locale="}, false},
      {{"--memory", "15"}, false},
      {{"--memory", "12x"}, false},
      {{"--memory", "-5"}, false},
      {{""}, false},
      {{"--vertical", "c.vrt", "pages"}, true, "pages", "htm_out", "", 256, "c.vrt"},
      {{"--vertical=c.vrt", "--locale", "de"}, true, "htm_in", "htm_out", "de", 256, "c.vrt"},
      {{"--vertical", "c.vrt", "pages", "site"}, false},
      {{"--vertical"}, false},
      {{"--vertical="}, false},
  };
  for (const Case& c : cases) {
    Arguments a;
    std::string error;
    std::string shown;
    for (const std::string& s : c.args) shown += "[" + s + "]";
    ASSERT_EQ(parse_arguments(c.args, a, error), c.ok) << shown;
    if (!c.ok) {
      EXPECT_FALSE(error.empty()) << shown;
      continue;
    }
    EXPECT_EQ(a.in_dir, c.in) << shown;
    EXPECT_EQ(a.out_dir, c.out) << shown;
    EXPECT_EQ(a.locale, c.locale) << shown;
    EXPECT_EQ(a.memory_mb, c.memory) << shown;
    EXPECT_EQ(a.vertical_file, c.vertical) << shown;
    EXPECT_EQ(a.none, c.args.empty()) << shown;
  }
}

TEST(Arguments, EachWordRuleSwitchesOffAlone) {
  struct Case {
    std::vector<std::string> args;
    bool elision, apostrophes;
  } cases[] = {
      {{}, true, true},
      {{"--no-elision"}, false, true},
      {{"--no-apostrophes", "pages"}, true, false},
      {{"--no-apostrophes", "--no-elision"}, false, false},
  };
  for (const Case& c : cases) {
    Arguments a;
    std::string error;
    ASSERT_TRUE(parse_arguments(c.args, a, error)) << error;
    EXPECT_EQ(a.words.split_elision, c.elision);
    EXPECT_EQ(a.words.unify_apostrophes, c.apostrophes);
  }
}

TEST(Pages, OnlyHtmAndHtmlInAnyCase) {
  for (const char* yes : {"a.htm", "B.HTM", "c.Html", "x.y.htm"}) EXPECT_TRUE(is_page_name(yes)) << yes;
  for (const char* no : {"a.txt", "htm", ".htm", "a.htmx", "a.htm~", "a."}) EXPECT_FALSE(is_page_name(no)) << no;
}

namespace {

// A work folder with an empty input folder in it.
struct Folder : common::WorkFolder {
  Folder() : WorkFolder("velmor_run") { fs::create_directories(path / "htm_in"); }
};

void put(const fs::path& p, const std::string& text) { common::write_file(p, text); }
std::string get(const fs::path& p) { return common::read_file(p); }

using velmor::testing::Outcome;
using velmor::testing::run_velmor;

// An index an earlier run wrote into htm_out, as far as a later run can tell.
void earlier_index(const fs::path& dir) {
  fs::create_directory(dir / "htm_out");
  put(dir / "htm_out" / "index.htm", "earlier index");
  put(dir / "htm_out" / std::string(kIndexMarkerName), index_marker_text("htm_out"));
}

// What a folder holds, name by name, besides the logs.
std::vector<std::string> names(const fs::path& dir) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

TEST(Program, ExitStatusTable) {
  struct Case {
    std::vector<std::string> args;
    int status = 0;
    std::string err = "";
  } cases[] = {
      {{"--help"}, 0, ""},
      {{"--version"}, 0, ""},
      {{"--bogus"}, 2, "usage: velmor_01_209.exe"},
      {{"a", "b", "c"}, 2, "usage: velmor_01_209.exe"},
      {{"--memory", "8"}, 2, "usage: velmor_01_209.exe"},
      {{"--locale", "klingon"}, 2, "klingon"},
      {{"missing_folder"}, 3, "missing_folder"},
      {{"htm_in", "htm_in"}, 2, "would hold the input"},
      {{"htm_in/sub", "htm_in"}, 2, "would hold the input"},
  };
  for (const Case& c : cases) {
    Folder f;
    Outcome r = run_velmor(f.path, c.args);
    EXPECT_EQ(r.status, c.status) << c.args[0] << "\n" << r.err;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << c.args[0] << "\n" << r.err;
    EXPECT_TRUE(fs::is_directory(f.path / "htm_in"));
  }
}

TEST(Program, BadPagesAreNamedAndTheOthersIndexed) {
  Folder f;
  put(f.path / "htm_in" / "good.htm", "alpha beta\ngamma\n");
  put(f.path / "htm_in" / "other.HTML", "delta\n");
  put(f.path / "htm_in" / "empty.htm", "");
  put(f.path / "htm_in" / "binary.htm", std::string("\x7f"
                                                    "ELF\0\0\0\x01\x02",
                                                    9));
  put(f.path / "htm_in" / "notes.txt", "not a page");
  // A link is not followed: it could publish any file the user may read.
  put(f.path / "secret.txt", "password\n");
  fs::create_symlink(f.path / "secret.txt", f.path / "htm_in" / "link.htm");
  Outcome r = run_velmor(f.path, {});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("empty.htm"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("binary.htm"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("link.htm cannot be read (a symbolic link, not followed)"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("good.htm"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("indexed 2 pages, 4 words, 4 distinct words, skipped 3 pages"), std::string::npos) << r.out;
  EXPECT_TRUE(fs::exists(f.path / "htm_out" / "index.htm"));
  for (const auto& e : fs::recursive_directory_iterator(f.path / "htm_out"))
    EXPECT_EQ(get(e.path()).find("password"), std::string::npos) << e.path();
  EXPECT_EQ(names(f.path), (std::vector<std::string>{"htm_in", "htm_out", "secret.txt"}));
}

// Pages none of which can be read make no index: the earlier one stays
// rather than an empty one taking its place.
TEST(Program, OnlyUnreadablePagesLeaveTheEarlierIndex) {
  Folder f;
  put(f.path / "htm_in" / "empty.htm", "");
  put(f.path / "htm_in" / "binary.htm", std::string("\x7f"
                                                    "ELF\0\0\0\x01\x02",
                                                    9));
  earlier_index(f.path);
  Outcome r = run_velmor(f.path, {});
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_NE(r.err.find("none of the 2 pages of htm_in could be read"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("no index was made; htm_out is as it was"), std::string::npos) << r.err;
  EXPECT_EQ(get(f.path / "htm_out" / "index.htm"), "earlier index");
  EXPECT_EQ(names(f.path), (std::vector<std::string>{"htm_in", "htm_out"}));
}

// Nesting that would take the parser minutes or overflow its stack when
// freed: each such page is refused by name, quickly, and the rest indexed.
TEST(Program, DeeplyNestedPagesAreRefusedAndTheOthersIndexed) {
  Folder f;
  auto repeat = [](std::string_view s, size_t n) {
    std::string out;
    for (size_t i = 0; i < n; ++i) out += s;
    return out;
  };
  put(f.path / "htm_in" / "bold.htm", repeat("<b>", 400000) + "x");
  put(f.path / "htm_in" / "divs.htm", repeat("<div>", 1000000) + "x");
  put(f.path / "htm_in" / "good.htm", "<p>alpha <b>beta</b></p>");
  Outcome r = run_velmor(f.path, {});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("bold.htm nests its elements too deep to be read; it is not indexed."), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("divs.htm nests"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("indexed 1 page, 2 words, 2 distinct words, skipped 2 pages"), std::string::npos) << r.out;
}

TEST(Program, ANewIndexReplacesTheEarlierOneWhole) {
  Folder f;
  put(f.path / "htm_in" / "a.htm", "words\n");
  earlier_index(f.path);
  put(f.path / "htm_out" / "stale.htm", "earlier");
  // Left by a run that was killed: it made these and marked them.
  const std::string out = (f.path / "htm_out").string();
  put(fs::path(make_fresh_folder(out, ".new-")) / "i_0.htm", "half");
  make_fresh_folder(out, ".work-");
  Outcome r = run_velmor(f.path, {});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(fs::exists(f.path / "htm_out" / "stale.htm"));
  EXPECT_TRUE(fs::exists(f.path / "htm_out" / "index.htm"));
  EXPECT_EQ(names(f.path), (std::vector<std::string>{"htm_in", "htm_out"}));
}

// Folders the indexer did not make, or that are no longer work folders of
// a run, are the user's: the output folder named when it holds their
// files, copies of an index or of a work folder beside it, the input
// itself, a link. Only a work folder that names itself, or one a kill left
// empty, goes.
TEST(Program, FoldersTheIndexerDidNotMakeStay) {
  enum Kind { notes, index_copy, work_copy, link, killed_empty };
  struct Case {
    std::string in, out;
    std::vector<std::pair<std::string, Kind>> folders;
    int status = 0;
  } cases[] = {
      {"htm_in", "mydocs", {{"mydocs", notes}}, 3},
      {"htm_in", "htm_out", {{"htm_out", notes}}, 3},
      {"htm_in", "htm_out", {{"htm_out.old-backup", index_copy}, {"htm_out.new-mycopy", index_copy}}},
      {"htm_out.old-pages", "htm_out", {{"htm_out.old-pages", index_copy}}},
      {"htm_in", "htm_out", {{"htm_out.new-mycopy", work_copy}, {"htm_out.work-2", notes}}},
      {"site.work-notes", "site", {{"site.work-notes", notes}}},
      {"htm_in", "htm_out", {{"htm_out.old-link", link}}},
      {"htm_in", "htm_out", {{"htm_out.new-77", killed_empty}, {"htm_out.work-77", killed_empty}}},
  };
  // A real index to copy, and a real work folder, made by the program.
  Folder source;
  put(source.path / "htm_in" / "a.htm", "words\n");
  ASSERT_EQ(run_velmor(source.path, {}).status, 0);
  const std::string work = make_fresh_folder((source.path / "htm_out").string(), ".new-");
  for (const Case& c : cases) {
    Folder f;
    const std::string shown = c.in + " " + c.out;
    fs::create_directories(f.path / c.in);
    put(f.path / c.in / "a.htm", "words\n");
    std::vector<std::string> expected{"htm_in", c.in};
    for (const auto& [name, kind] : c.folders) {
      const fs::path dir = f.path / name;
      if (kind == link) fs::create_directory_symlink(f.path / "htm_in", dir);
      if (kind == index_copy) fs::copy(source.path / "htm_out", dir, fs::copy_options::recursive);
      if (kind == work_copy) fs::copy(work, dir, fs::copy_options::recursive);
      fs::create_directories(dir);
      if (kind == notes || kind == index_copy || kind == work_copy) put(dir / "mine.txt", "the only copy");
      if (kind != killed_empty) expected.push_back(name);
    }
    if (c.status == 0) expected.push_back(c.out);
    std::sort(expected.begin(), expected.end());
    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
    Outcome r = run_velmor(f.path, {c.in, c.out});
    EXPECT_EQ(r.status, c.status) << shown << "\n" << r.err;
    if (c.status) {
      EXPECT_NE(r.err.find("is a folder velmor did not write an index into"), std::string::npos) << r.err;
    }
    EXPECT_EQ(names(f.path), expected) << shown;
    for (const auto& [name, kind] : c.folders) {
      if (kind != link && kind != killed_empty) {
        EXPECT_EQ(get(f.path / name / "mine.txt"), "the only copy") << name;
      }
    }
    if (c.status == 0) {
      EXPECT_TRUE(fs::exists(f.path / c.out / "index.htm")) << shown;
    }
  }
}

// What each index keeps: the marker that names it, no trace of the work
// folder it was. An index of an earlier version, which kept its work
// marker, is replaced too.
TEST(Program, AnIndexNamesOnlyItselfAndEarlierVersionsIndexesAreReplaced) {
  Folder f;
  put(f.path / "htm_in" / "a.htm", "words\n");
  fs::create_directory(f.path / "htm_out");
  put(f.path / "htm_out" / "index.htm", "earlier");
  put(f.path / "htm_out" / std::string(kWorkMarkerName), "velmor made this folder for ./htm_out, pid 5, token 1f\n");
  Outcome r = run_velmor(f.path, {});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(get(f.path / "htm_out" / "index.htm"), "earlier");
  EXPECT_EQ(get(f.path / "htm_out" / std::string(kIndexMarkerName)), index_marker_text("htm_out"));
  EXPECT_FALSE(fs::exists(f.path / "htm_out" / std::string(kWorkMarkerName)));
  EXPECT_EQ(run_velmor(f.path, {}).status, 0) << "its own index is replaced again";
}

TEST(Program, AFailedBuildLeavesTheEarlierIndexUntouched) {
  Folder f;
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "a line of the page\n";
  put(f.path / "htm_in" / "a.htm", text);
  earlier_index(f.path);
  Outcome r = run_velmor(f.path, {}, 4096);
  EXPECT_EQ(r.status, 3) << r.err;
  // The cause is named: on a full disk, that the disk is full.
  EXPECT_NE(r.err.find(": File too large"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("no index was made"), std::string::npos) << r.err;
  EXPECT_EQ(get(f.path / "htm_out" / "index.htm"), "earlier index");
  EXPECT_EQ(names(f.path / "htm_out"), (std::vector<std::string>{std::string(kIndexMarkerName), "index.htm"}));
  EXPECT_EQ(names(f.path), (std::vector<std::string>{"htm_in", "htm_out"}));
}

TEST(Program, ASecondIndexerIsRefusedWhileTheLockIsHeld) {
  Folder f;
  put(f.path / "htm_in" / "a.htm", "words\n");
  {
    FolderLock held;
    std::string error;
    ASSERT_EQ(held.take((f.path / "htm_out.lock").string(), error), LockOutcome::taken);
    Outcome r = run_velmor(f.path, {});
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("another velmor is indexing"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(f.path / "htm_out"));
  }
  // Released with its holder, and gone with it.
  EXPECT_FALSE(fs::exists(f.path / "htm_out.lock"));
  // One a crashed run left behind holds no lock and goes too.
  put(f.path / "htm_out.lock", "");
  EXPECT_EQ(run_velmor(f.path, {}).status, 0);
  EXPECT_EQ(names(f.path), (std::vector<std::string>{"htm_in", "htm_out"}));
}
