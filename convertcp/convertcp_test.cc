// Runs the real convertcp program on files and checks its output bytes, its
// messages and what it leaves on disk.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "korvel/testing/e2e.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {
struct Ran {
  int status = -1;
  std::string err;
};

Ran convertcp(const std::vector<std::string>& args) {
  fs::path err_path = fs::temp_directory_path() / ("convertcp-err-" + std::to_string(getpid()));
  pid_t pid = fork();
  if (pid == 0) {
    int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err, 2);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    std::vector<char*> argv{const_cast<char*>(CONVERTCP_BIN)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(CONVERTCP_BIN, argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  Ran ran{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(err_path)};
  fs::remove(err_path);
  return ran;
}

std::set<std::string> names_in(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// Long enough for the detector to be sure of the language and its encoding.
constexpr char kSlovenian[] =
    "Na vrtu raste češnja, ki jo je posadil še moj ded. Ko pride poletje, otroci plezajo po vejah in "
    "žvečijo sladke češnje. Šolarji se po pouku ustavijo pri ograji in prosijo za pest sadežev. "
    "Čeprav je drevo staro, vsako leto obrodi. čšž ČŠŽ\r\n";
constexpr char kRussian[] =
    "Съешь же ещё этих мягких французских булок, да выпей чаю. Вечером мы гуляли по набережной, "
    "смотрели на реку и разговаривали о книгах, которые прочитали за лето.\r\n";
}  // namespace

TEST(Convertcp, ConvertsByteExactly) {
  using namespace std::literals;
  struct Row {
    const char* from;
    const char* to;
    std::string_view in;
    std::string_view out;
  } rows[] = {
      {"1250", "65001", "\xE8\x9A\x9E \xC8\x8A\x8E"sv, "čšž ČŠŽ"sv},
      {"windows-1250", "utf-8", "\xE8\x9A\x9E \xC8\x8A\x8E\r\n"sv, "čšž ČŠŽ\r\n"sv},
      {"CP1251", "UTF8", "\xD1\xFA\xE5\xF8\xFC \xE6\xE5 \xE5\xF9\xB8"sv, "Съешь же ещё"sv},
      {"65001", "1251", "Съешь же ещё"sv, "\xD1\xFA\xE5\xF8\xFC \xE6\xE5 \xE5\xF9\xB8"sv},
      {"koi8-r", "65001", "\xF3\xDF\xC5\xDB\xD8"sv, "Съешь"sv},
      {"866", "65001", "\x91\xEA\xA5\xE8\xEC"sv, "Съешь"sv},
      {"852", "65001", "\x9F\xE7\xA7"sv, "čšž"sv},
      {"28592", "65001", "\xE8\xB9\xBE"sv, "čšž"sv},
      {"65001", "1200", "čA"sv, "\x0D\x01\x41\x00"sv},
      {"1200", "1250", "\xFF\xFE\x0D\x01\x41\x00"sv, "\xE8\x41"sv},  // the mark has no place in 1250
      {"65001", "65001", "\xEF\xBB\xBFkeep"sv, "\xEF\xBB\xBFkeep"sv},  // but is kept between Unicode forms
      {"65001", "1252", "\xEF\xBB\xBF" "caf\xC3\xA9"sv, "caf\xE9"sv},
      {"1252", "65001", ""sv, ""sv},
  };
  WorkFolder work;
  for (const Row& row : rows) {
    write_file("in.txt", row.in);
    fs::remove("out.txt");
    Ran ran = convertcp({row.from, row.to, "in.txt", "out.txt"});
    EXPECT_EQ(ran.status, 0) << row.from << " " << row.to << ": " << ran.err;
    EXPECT_EQ(read_file("out.txt"), row.out) << row.from << " " << row.to;
    EXPECT_EQ(names_in("."), (std::set<std::string>{"in.txt", "out.txt"}));
  }
}

TEST(Convertcp, AutoDetectsTheEncodingAndSaysWhichItFound) {
  struct Row {
    const char* text;
    const char* encoding;  // as iconv names it, to make the input
    const char* found;
  } rows[] = {
      {kSlovenian, "CP1250", "found windows-1250 (1250)"},
      {kRussian, "CP1251", "found windows-1251 (1251)"},
      {kRussian, "KOI8-R", "found koi8-r (20866)"},
      {kRussian, "UTF-8", "found utf-8 (65001)"},
      {kRussian, "UTF-16LE", "found utf-16le (1200) by a byte-order mark"},
  };
  WorkFolder work;
  for (const Row& row : rows) {
    std::string bom = std::string(row.encoding) == "UTF-16LE" ? "\xFF\xFE" : "";
    write_file("utf8.txt", bom.empty() ? row.text : "\xEF\xBB\xBF" + std::string(row.text));
    ASSERT_EQ(std::system((std::string("iconv -f UTF-8 -t ") + row.encoding + " utf8.txt > in.txt").c_str()), 0);
    Ran ran = convertcp({"auto", "65001", "in.txt", "out.txt"});
    EXPECT_EQ(ran.status, 0) << row.encoding << ": " << ran.err;
    EXPECT_THAT(ran.err, HasSubstr("in.txt: " + std::string(row.found))) << row.encoding;
    EXPECT_EQ(read_file("out.txt"), (bom.empty() ? "" : "\xEF\xBB\xBF") + std::string(row.text)) << row.encoding;
  }
}

TEST(Convertcp, RefusesBadInputAndLeavesNoOutput) {
  struct Row {
    std::vector<std::string> args;
    std::string input;  // written to in.txt
    int status;
    std::string message;
  } rows[] = {
      {{"9999", "65001", "in.txt", "out.txt"}, "a", 2, "unknown code page 9999"},
      {{"1250", "cp-nothing", "in.txt", "out.txt"}, "a", 2, "unknown code page cp-nothing"},
      {{"1250", "65001", "in.txt"}, "a", 2, "give FROM TO INFILE OUTFILE"},
      {{"--fast", "1250", "65001", "in.txt", "out.txt"}, "a", 2, "unknown option --fast"},
      {{"1250", "65001", "missing.txt", "out.txt"}, "a", 3, "cannot find missing.txt"},
      {{"1250", "65001", ".", "out.txt"}, "a", 3, ". is a folder"},
      {{"65001", "1250", "in.txt", "out.txt"}, "abcde\xFFz", 1, "in.txt: offset 5: byte FF is not utf-8 (65001) text"},
      {{"65001", "1250", "in.txt", "out.txt"}, "ab\xC4", 1, "offset 2: the text ends inside a utf-8 (65001) character (C4)"},
      {{"65001", "1251", "in.txt", "out.txt"}, "abc \xC4\x85", 1,
       "offset 4: character U+0105 (C4 85) has no place in windows-1251 (1251)"},
      {{"1251", "65001", "in.txt", "out.txt"}, "ok\x98", 1, "offset 2: byte 98 is not windows-1251 (1251) text"},
      {{"1200", "65001", "in.txt", "out.txt"}, std::string("a\0\x00\xDC", 4), 1, "offset 2: byte 00 is not utf-16le (1200) text"},
      {{"1250", "65001", "in.txt", "in.txt"}, "a", 4, "in.txt is in.txt; give --in-place"},
      {{"1250", "65001", "in.txt", "./IN.txt/../in.txt"}, "a", 4, "give --in-place"},
      {{"1250", "65001", "in.txt", "no-such-folder/out.txt"}, "a", 4, "cannot write no-such-folder/out.txt"},
      {{"auto", "65001", "in.txt", "out.txt"}, "\x80\x81\x82\x83\x84\x85", 5, "cannot tell the encoding"},
  };
  WorkFolder work;
  for (const Row& row : rows) {
    write_file("in.txt", row.input);
    fs::create_directory("IN.txt");
    Ran ran = convertcp(row.args);
    std::string what = row.args[0] + " " + row.args[1];
    EXPECT_EQ(ran.status, row.status) << what << ": " << ran.err;
    EXPECT_THAT(ran.err, HasSubstr(row.message)) << what;
    EXPECT_EQ(names_in("."), (std::set<std::string>{"in.txt", "IN.txt"})) << what;
    EXPECT_EQ(read_file("in.txt"), row.input) << what;
  }
}

TEST(Convertcp, AFailedConversionLeavesAnOldOutputAsItWas) {
  WorkFolder work;
  write_file("in.txt", "bad \xFF");
  write_file("out.txt", "old");
  EXPECT_EQ(convertcp({"65001", "1250", "in.txt", "out.txt"}).status, 1);
  EXPECT_EQ(read_file("out.txt"), "old");
  EXPECT_EQ(names_in("."), (std::set<std::string>{"in.txt", "out.txt"}));
}

TEST(Convertcp, InPlaceReplacesTheInputOnlyWhenAsked) {
  WorkFolder work;
  write_file("notes.txt", "\xE8\x9A\x9E");
  fs::permissions("notes.txt", fs::perms(0640));
  fs::create_symlink("notes.txt", "link.txt");
  EXPECT_EQ(convertcp({"1250", "65001", "notes.txt", "link.txt"}).status, 4);
  EXPECT_EQ(convertcp({"--in-place", "1250", "65001", "notes.txt"}).status, 0);
  EXPECT_EQ(read_file("notes.txt"), "čšž");
  EXPECT_EQ(fs::status("notes.txt").permissions(), fs::perms(0640));
  // Through the link the file it points at is replaced; the link stays a link.
  EXPECT_EQ(convertcp({"--in-place", "65001", "1250", "notes.txt", "link.txt"}).status, 0);
  EXPECT_EQ(read_file("notes.txt"), "\xE8\x9A\x9E");
  EXPECT_TRUE(fs::is_symlink("link.txt"));
  EXPECT_EQ(names_in("."), (std::set<std::string>{"notes.txt", "link.txt"}));
}
