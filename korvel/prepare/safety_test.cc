// No document lost and no planted program run, tried as an attacker and as
// an unlucky user would: every kind of name in one txt_in, a disk that fills,
// runs killed in the middle of the move, a FIFO, a read-only txt_in and two
// runs at once. Each test runs the real program.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "korvel/prepare/names.h"
#include "korvel/testing/e2e.h"
#include "korvel/testing/faults.h"

namespace korvel {

namespace fs = std::filesystem;

namespace {

// A stand-in for a program an attacker plants: it leaves a marker wherever
// it is started from.
void plant_program(const fs::path& path, const fs::path& marker) {
  write_file(path, "#!/bin/sh\necho planted > '" + marker.string() + "'\n");
  fs::permissions(path, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
}

// Contents of the files directly in `folder`, each as often as it occurs.
std::multiset<std::string> contents_in(const fs::path& folder) {
  std::multiset<std::string> contents;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec))
    if (entry.is_regular_file(ec)) contents.insert(read_file(entry.path()));
  return contents;
}

bool is_document(const std::string& name) { return extension_position(name) != std::string::npos; }

std::string content_of(size_t n) { return "document " + std::to_string(n) + "\r\nsecond line\r\n"; }

// Every name that has caught a program like this one out: each printable
// character in a stem and in a tail, letter case variants, the names of the
// program's own files, names the command layer cannot carry, a long one,
// bytes that are no UTF-8, blanks and dots at the ends.
std::vector<std::string> hostile_names() {
  std::vector<std::string> names;
  for (int c = 0x20; c < 0x7f; ++c) {
    if (c == '/') continue;
    names.push_back(std::string("s") + static_cast<char>(c) + "s.txt");
    names.push_back(std::string("t.txt") + static_cast<char>(c) + "t");
    names.push_back(std::string("h") + static_cast<char>(c) + "h.htm");
  }
  for (std::string name : std::vector<std::string>{"A.TXT",
                                                   "a.txt",
                                                   "KORVEL.txt",
                                                   "korvel.txt",
                                                   "Report.htm",
                                                   "report.txt",
                                                   "README.txt",
                                                   "readme.TXT",
                                                   "korvel",
                                                   "txt_in.list",
                                                   "out_null.list",
                                                   "check_01.txt",
                                                   "check_me.txt",
                                                   "compare_04.txt",
                                                   "korvel.lock",
                                                   "moved_files.list",
                                                   "txt_in_renames.list",
                                                   "find.exe",
                                                   "sort.bat",
                                                   "version.dll",
                                                   "x.txt.exe",
                                                   "wget.exe",
                                                   "convertcp.exe",
                                                   "con.txt",
                                                   "nul.htm",
                                                   "page_1.txt",
                                                   "*.txt",
                                                   "*",
                                                   "?.htm",
                                                   "*.*",
                                                   "..\\up.txt",
                                                   "sub\\x.htm",
                                                   " lead.txt",
                                                   "trail.txt ",
                                                   "dots.txt..",
                                                   ".txt",
                                                   ".htm",
                                                   "\xff\xfe.txt",
                                                   "caf\xe9.htm",
                                                   "tab\t.txt",
                                                   "nl\nx.txt",
                                                   "cr\r.txt",
                                                   "esc\x1b.txt",
                                                   "100%.txt",
                                                   "%PATH%.txt",
                                                   "bang!.txt",
                                                   "MYNOTE~1.TXT",
                                                   "My Notes.txt",
                                                   std::string(246, 'x') + ".txt",
                                                   std::string(250, 'y')})
    names.push_back(name);
  return names;
}

struct Matrix {
  WorkFolder work;
  fs::path marker;
  std::map<std::string, std::string> files;  // name in txt_in -> content
  std::string readme = "the install's own README\r\n";
};

void lay_out_matrix(Matrix& m) {
  install_tools(m.work.path);
  m.marker = m.work.path.parent_path() / ("korvel-planted-" + std::to_string(getpid()));
  fs::remove(m.marker);
  write_file(m.work.path / "README.txt", m.readme);
  fs::create_directory(m.work.path / "txt_in");
  size_t n = 0;
  for (const std::string& name : hostile_names()) {
    m.files[name] = content_of(++n);
    write_file(m.work.path / "txt_in" / name, m.files[name]);
  }
  // The planted indexer that a wildcard copy would take along.
  plant_program(m.work.path / "txt_in" / "velmor_zz.exe", m.marker);
  m.files["velmor_zz.exe"] = read_file(m.work.path / "txt_in" / "velmor_zz.exe");
}

void expect_nothing_lost_nothing_run(const Matrix& m, const RunResult& run, const std::string& which) {
  EXPECT_EQ(run.exit_status, 0) << which;
  EXPECT_TRUE(run.out.ends_with("<...> any key to continue and end\r\n")) << which << run.out;
  EXPECT_FALSE(fs::exists(m.marker)) << which << ": a planted program ran";
  EXPECT_EQ(indexer_log(m.work.path / "velmor").substr(0, 1), "/") << which << ": the indexer did not start";
  EXPECT_EQ(read_file(m.work.path / "README.txt"), m.readme) << which;
  std::multiset<std::string> txt_in = contents_in(m.work.path / "txt_in");
  std::multiset<std::string> anywhere = txt_in;
  for (const char* folder : {".", "txt_wrk", "htm_wrk", "htm_in"})
    for (const std::string& content : contents_in(m.work.path / folder)) anywhere.insert(content);
  std::multiset<std::string> working = contents_in(m.work.path);
  for (const auto& [name, content] : m.files) {
    // Every document is still in txt_in, once; every other file somewhere.
    if (is_document(name)) {
      EXPECT_EQ(txt_in.count(content), 1u) << which << ": " << shown_name(name);
    } else {
      EXPECT_GE(anywhere.count(content), 1u) << which << ": " << shown_name(name);
    }
    // No program file came into the working folder.
    if (is_program_file(name, "korvel")) {
      EXPECT_EQ(working.count(content), 0u) << which << ": " << name;
    }
  }
}

}  // namespace

TEST(Safety, EveryKindOfNameLosesNothingAndRunsNothing) {
  Matrix m;
  lay_out_matrix(m);
  RunResult first = run_answering_every_prompt(m.work.path);
  expect_nothing_lost_nothing_run(m, first, "first run");
  // Each name no command can carry is named once on the error stream.
  for (const char* name : {"*", "*.*", "*.txt", "?.htm", "..\\up.txt", "100%.txt", "MYNOTE~1.TXT", "con.txt"})
    EXPECT_NE(first.err.find(std::string("txt_in\\") + name + " "), std::string::npos) << name << first.err;
  EXPECT_NE(first.err.find("txt_in\\nl\\x0Ax.txt "), std::string::npos) << first.err;
  // Every page holds its own document's text, never a listing of korvel's.
  for (const std::string& page : contents_in(m.work.path / "htm_wrk")) {
    size_t body = page.find("<pre>\r\ndocument ");
    if (page.starts_with("<HTML>")) {
      EXPECT_NE(body, std::string::npos) << page;
    }
    EXPECT_EQ(page.find("out_null"), std::string::npos) << page;
  }
  // Letter case variants both stay, README beside the install's README too.
  for (const char* name : {"A.TXT", "a.txt", "KORVEL.txt", "korvel.txt", "readme.TXT"})
    EXPECT_EQ(read_file(m.work.path / "txt_in" / name), m.files[name]) << name;

  // A second run over what the first left renames nothing more and loses
  // nothing; the moved copies of the first run may be replaced.
  size_t files = count_files(m.work.path / "txt_in");
  fs::remove(m.work.path / "velmor" / "fake_indexer.log");
  RunResult second = run_answering_every_prompt(m.work.path);
  expect_nothing_lost_nothing_run(m, second, "second run");
  EXPECT_EQ(count_files(m.work.path / "txt_in"), files);
  EXPECT_EQ(second.err.find("a different file of that name"), std::string::npos) << second.err;
}

// Runs killed at many points of a 2,000-document move, picked by the count
// of the files the move has made so far; the next run finishes the job.
// Every document must be in txt_in exactly once afterwards. A pair of one
// base name ends each run at its report, right after the move.
TEST(Safety, RunsKilledDuringTheMoveLoseNothing) {
  const size_t kDocuments = 2000;
  // Files in the working folder beyond the tools: copies out (2,001), then
  // the renaming copies (1,800 more).
  const size_t kill_points[] = {1, 1000, 2002, 2600, 3200, 3795};
  int killed = 0, finished = 0;
  for (size_t point : kill_points) {
    WorkFolder work;
    install_tools(work.path);
    fs::create_directory(work.path / "txt_in");
    std::multiset<std::string> documents;
    for (size_t i = 0; i < kDocuments; ++i) {
      // Most names change; every tenth stays as it is.
      std::string name = (i % 10 ? "doc " : "doc_") + std::to_string(i) + (i ? ".txt" : ".htm");
      write_file(work.path / "txt_in" / name, content_of(i));
      documents.insert(content_of(i));
    }
    write_file(work.path / "txt_in" / "doc_0.txt", "the pair");
    documents.insert("the pair");
    size_t threshold = count_files(work.path) + point;
    FaultyRun faults;
    faults.kill_when = [&] { return count_files(work.path) >= threshold; };
    RunResult run = run_korvel_faulty(work.path, "1111", faults);
    if (run.signal == SIGKILL) ++killed;
    RunResult again = run_korvel(work.path, "1111");
    if (again.err.find("An unfinished run was completed") != std::string::npos) ++finished;
    EXPECT_TRUE(again.out.ends_with("<2> = continue and *.txt file will be recreate from *.htm\r\n"))
        << point << "\n"
        << again.out.substr(again.out.size() - std::min<size_t>(again.out.size(), 500));
    EXPECT_EQ(contents_in(work.path / "txt_in"), documents) << point << "\n" << again.err.substr(0, 2000);
  }
  // The points must really have been struck for the test to mean anything.
  EXPECT_GE(killed, 5);
  std::cout << "runs killed: " << killed << " of " << std::size(kill_points)
            << "; renames finished by the next run: " << finished << "\n";
}

// A file size limit on the run makes every write beyond it fail, as a full
// disk does. Documents too big to copy stay where they are; no copy or page
// cut short is staged; a second run with room does the rest.
TEST(Safety, WritesThatFailStageNothingCutShort) {
  WorkFolder work;
  install_tools(work.path);
  fs::create_directory(work.path / "txt_in");
  std::multiset<std::string> documents;
  for (size_t i = 0; i < 10; ++i) {
    std::string content = content_of(i) + std::string(i * 1000, 'a' + static_cast<char>(i)) + "\r\n";
    documents.insert(content);
    write_file(work.path / "txt_in" / ("doc " + std::to_string(i) + (i % 3 ? ".txt" : ".htm")), content);
  }
  FaultyRun faults;
  faults.child_setup = [] {
    struct rlimit limit = {5500, 5500};
    setrlimit(RLIMIT_FSIZE, &limit);
  };
  RunResult run = run_korvel_faulty(work.path, "1111x", faults);
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_EQ(contents_in(work.path / "txt_in"), documents);
  for (const char* folder : {"txt_wrk", "htm_in"})
    for (const std::string& content : contents_in(work.path / folder))
      EXPECT_TRUE(documents.contains(content) || content.ends_with("</html>\r\n")) << folder << ": " << content.size();
  for (const std::string& page : contents_in(work.path / "htm_wrk"))
    EXPECT_TRUE(documents.contains(page) || page.ends_with("</pre>\r\n</body>\r\n</html>\r\n")) << page.size();
  EXPECT_FALSE(run.err.empty());

  RunResult roomy = run_answering_every_prompt(work.path);
  EXPECT_EQ(roomy.exit_status, 0);
  EXPECT_EQ(contents_in(work.path / "txt_in"), documents);
  EXPECT_EQ(count_files(work.path / "htm_wrk"), documents.size()) << roomy.err;
}

// A small file system that fills during the move and the conversion: only
// where mounting works (as root).
TEST(Safety, AFullFileSystemLosesNothing) {
  WorkFolder work;
  fs::path small = work.path / "small";
  fs::create_directory(small);
  // Room for the tools, the documents and about half of their copies.
  size_t tools = fs::file_size(FAKE_INDEXER_BIN) / 4096 * 4096 + 3 * 4096;
  std::string options = "size=" + std::to_string((tools + 12 * 8192 + 96 * 1024) / 1024) + "k";
  if (mount("tmpfs", small.c_str(), "tmpfs", 0, options.c_str()) != 0) GTEST_SKIP() << "cannot mount a tmpfs here";
  install_tools(small);
  fs::create_directory(small / "txt_in");
  std::multiset<std::string> documents;
  for (size_t i = 0; i < 12; ++i) {
    std::string content = content_of(i) + std::string(7000, 'a' + static_cast<char>(i % 26)) + "\r\n";
    documents.insert(content);
    write_file(small / "txt_in" / ("doc " + std::to_string(i) + ".txt"), content);
  }
  RunResult run = run_korvel_faulty(small, "1111x", {});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_FALSE(run.err.empty());
  EXPECT_EQ(contents_in(small / "txt_in"), documents);
  for (const std::string& page : contents_in(small / "htm_wrk"))
    EXPECT_TRUE(page.ends_with("</pre>\r\n</body>\r\n</html>\r\n")) << page.size();
  for (const std::string& copy : contents_in(small / "txt_wrk")) EXPECT_TRUE(documents.contains(copy));

  // Room again: everything comes through.
  std::string more = "size=" + std::to_string((tools + 2048 * 1024) / 1024) + "k";
  ASSERT_EQ(mount("tmpfs", small.c_str(), "tmpfs", MS_REMOUNT, more.c_str()), 0);
  RunResult roomy = run_answering_every_prompt(small);
  EXPECT_EQ(roomy.exit_status, 0);
  EXPECT_EQ(contents_in(small / "txt_in"), documents);
  EXPECT_EQ(count_files(small / "htm_wrk"), documents.size());
  umount2(small.c_str(), MNT_DETACH);
}

TEST(Safety, AFifoNamedLikeADocumentIsNeverOpened) {
  WorkFolder work;
  install_tools(work.path);
  fs::create_directory(work.path / "txt_in");
  ASSERT_EQ(mkfifo((work.path / "txt_in" / "a.txt").c_str(), 0644), 0);
  write_file(work.path / "txt_in" / "b c.txt", "bc\r\n");
  auto started = std::chrono::steady_clock::now();
  FaultyRun faults;
  faults.kill_when = [&] { return std::chrono::steady_clock::now() - started > std::chrono::seconds(30); };
  RunResult run = run_korvel_faulty(work.path, "1111x", faults);
  EXPECT_EQ(run.signal, 0) << "the run hung";
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(fs::is_fifo(work.path / "txt_in" / "a.txt"));
  EXPECT_EQ(read_file(work.path / "txt_in" / "b_c.txt"), "bc\r\n");
  EXPECT_TRUE(fs::exists(work.path / "htm_wrk" / "b_c.htm"));
  EXPECT_NE(run.err.find("txt_in\\a.txt stays in txt_in: it is no regular file."), std::string::npos) << run.err;
}

// txt_in that cannot be written: nothing can be renamed or leave it, and
// nothing is lost trying. Root may write anywhere, so the run then goes on
// as another user.
TEST(Safety, AReadOnlyTxtInKeepsEveryDocument) {
  WorkFolder work;
  install_tools(work.path);
  fs::create_directory(work.path / "txt_in");
  std::map<std::string, std::string> documents = {{"a b.txt", "ab\r\n"}, {"c.txt", "c\r\n"}, {"d-e.htm", "de"}};
  for (const auto& [name, content] : documents) write_file(work.path / "txt_in" / name, content);
  FaultyRun faults;
  if (geteuid() == 0) {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(work.path))
      (void)!chown(entry.path().c_str(), 65534, 65534);
    (void)!chown(work.path.c_str(), 65534, 65534);
    faults.child_setup = [] {
      (void)!setgid(65534);
      (void)!setuid(65534);
    };
  }
  fs::permissions(work.path / "txt_in", fs::perms::owner_read | fs::perms::owner_exec);
  RunResult run = run_korvel_faulty(work.path, "1111x", faults);
  fs::permissions(work.path / "txt_in", fs::perms::owner_all);
  EXPECT_EQ(run.exit_status, 0) << run.out;
  std::map<std::string, std::string> left;
  for (const fs::directory_entry& entry : fs::directory_iterator(work.path / "txt_in"))
    left[entry.path().filename().string()] = read_file(entry.path());
  EXPECT_EQ(left, documents) << run.err;
}

TEST(Safety, ASecondRunInTheSameFolderStopsAtOnce) {
  WorkFolder work;
  install_tools(work.path);
  fs::create_directory(work.path / "txt_in");
  write_file(work.path / "txt_in" / "a b.txt", "ab\r\n");
  {
    RunningKorvel first(work.path);
    first.type("111");
    ASSERT_TRUE(first.wait_for_output("a_b.htm\r\n\r\n<1> continue\r\n<2> end\r\n")) << first.output();
    RunResult second = run_korvel(work.path, "1111");
    EXPECT_EQ(second.exit_status, 0);
    EXPECT_TRUE(
        second.out.ends_with("----------------------------\r\nAnother run of korvel is working in this folder.\r\n\r\n"
                             "<1> = continue and end\r\n"))
        << second.out;
    first.type("1x");
    RunResult done = first.finish();
    EXPECT_EQ(done.exit_status, 0);
    EXPECT_TRUE(done.out.ends_with("<...> any key to continue and end\r\n"));
  }
  // The lock goes with its process, however it ends.
  {
    RunningKorvel killed(work.path);
    killed.type("111");
    ASSERT_TRUE(killed.wait_for_output("a_b.htm\r\n\r\n<1> continue\r\n<2> end\r\n")) << killed.output();
    killed.kill_now();
  }
  RunResult after = run_korvel(work.path, "1111x");
  EXPECT_TRUE(after.out.ends_with("<...> any key to continue and end\r\n")) << after.out;
  EXPECT_EQ(read_file(work.path / "txt_in" / "a_b.txt"), "ab\r\n");
}

// What a killed run can leave, laid out by hand: the next run puts back a
// document found only in the working folder, never over a file now in
// txt_in, finishes a rename left half done, and ignores a journal cut short.
TEST(Safety, TheNextRunFinishesWhatAKilledRunLeft) {
  WorkFolder work;
  install_tools(work.path);
  fs::create_directory(work.path / "txt_in");
  write_file(work.path / "lost one.txt", "only in the working folder");
  write_file(work.path / "taken.txt", "older copy");
  write_file(work.path / "txt_in" / "TAKEN.TXT", "the user's newer file");
  write_file(work.path / "txt_in" / "half done.txt", "both names");
  write_file(work.path / "txt_in" / "half_done.txt", "both names");
  write_file(
      work.path / "txt_in_renames.list",
      "lost one.txt\tlost_one.txt\t26\r\ntaken.txt\ttaken.txt\t10\r\nhalf done.txt\thalf_done.txt\t10\r\nend\r\n");
  RunResult run = run_korvel(work.path, "1111x");
  EXPECT_NE(run.err.find("An unfinished run was completed: 2 document(s) put back into txt_in, 1 rename(s) finished."),
            std::string::npos)
      << run.err;
  EXPECT_EQ(read_file(work.path / "txt_in" / "lost_one.txt"), "only in the working folder");
  EXPECT_EQ(read_file(work.path / "txt_in" / "TAKEN.TXT"), "the user's newer file");
  EXPECT_EQ(read_file(work.path / "txt_in" / "taken_2.txt"), "older copy");
  EXPECT_EQ(read_file(work.path / "txt_in" / "half_done.txt"), "both names");
  EXPECT_EQ(count_files(work.path / "txt_in"), 4u);
  EXPECT_FALSE(fs::exists(work.path / "txt_in_renames.list"));

  // A journal without its end line was cut short before anything moved.
  write_file(work.path / "txt_in_renames.list", "lost one.txt\tlost_one.txt\t26\r\n");
  fs::remove(work.path / "txt_in" / "lost_one.txt");
  RunResult cut = run_korvel(work.path, "1111x");
  EXPECT_EQ(cut.err.find("An unfinished run"), std::string::npos) << cut.err;
  EXPECT_FALSE(fs::exists(work.path / "txt_in" / "lost_one.txt"));
}

}  // namespace korvel
