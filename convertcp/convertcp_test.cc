// Runs the real convertcp program on files and checks its output bytes, its
// messages and what it leaves on disk.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <set>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/test_files.h"

namespace fs = std::filesystem;
using common::read_file;
using common::write_file;
using ::testing::HasSubstr;

namespace {
struct Ran {
  int status = -1;  // -1 when killed by a signal
  std::string err;
  std::string out;
};

// Runs convertcp with `in` as its standard input; killed after 60 s, so that
// a run waiting for a writer that never comes fails instead of hanging.
Ran convertcp(const std::vector<std::string>& args, const fs::path& in = "/dev/null") {
  std::string id = std::to_string(getpid());
  fs::path err_path = fs::temp_directory_path() / ("convertcp-err-" + id);
  fs::path out_path = fs::temp_directory_path() / ("convertcp-out-" + id);
  pid_t pid = fork();
  if (pid == 0) {
    int input = open(in.c_str(), O_RDONLY);
    dup2(input, 0);
    int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err, 2);
    alarm(60);
    std::vector<char*> argv{const_cast<char*>(CONVERTCP_BIN)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(CONVERTCP_BIN, argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  Ran ran{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(err_path), read_file(out_path)};
  fs::remove(err_path);
  fs::remove(out_path);
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
      {"1200", "1250", "\xFF\xFE\x0D\x01\x41\x00"sv, "\xE8\x41"sv},    // the mark has no place in 1250
      {"65001", "65001", "\xEF\xBB\xBFkeep"sv, "\xEF\xBB\xBFkeep"sv},  // but is kept between Unicode forms
      {"65001", "1252",
       "\xEF\xBB\xBF"
       "caf\xC3\xA9"sv,
       "caf\xE9"sv},
      {"1252", "65001", ""sv, ""sv},
  };
  common::WorkFolder work{"convertcp-test"};
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
    bool mark;             // the input starts with a byte-order mark
    const char* found;
  } rows[] = {
      {kSlovenian, "CP1250", false, "found windows-1250 (1250)"},
      {kRussian, "CP1251", false, "found windows-1251 (1251)"},
      {kRussian, "KOI8-R", false, "found koi8-r (20866)"},
      {kRussian, "UTF-8", false, "found utf-8 (65001)"},
      {kRussian, "UTF-16LE", true, "found utf-16le (1200) by a byte-order mark"},
      {kRussian, "UTF-16LE", false, "found utf-16le (1200) by its zero bytes"},
      {kSlovenian, "UTF-16BE", false, "found utf-16be (1201) by its zero bytes"},
      {kSlovenian, "UTF-32LE", false, "found utf-32le (12000) by its zero bytes"},
  };
  common::WorkFolder work{"convertcp-test"};
  for (const Row& row : rows) {
    std::string mark = row.mark ? "\xEF\xBB\xBF" : "";
    write_file("utf8.txt", mark + row.text);
    ASSERT_EQ(std::system((std::string("iconv -f UTF-8 -t ") + row.encoding + " utf8.txt > in.txt").c_str()), 0);
    Ran ran = convertcp({"auto", "65001", "in.txt", "out.txt"});
    EXPECT_EQ(ran.status, 0) << row.encoding << ": " << ran.err;
    EXPECT_THAT(ran.err, HasSubstr("in.txt: " + std::string(row.found))) << row.encoding;
    EXPECT_EQ(read_file("out.txt"), mark + row.text) << row.encoding;
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
      // The system makes it as it is read: its size says nothing of its text.
      {{"1252", "65001", "/proc/self/status", "out.txt"}, "a", 3, "holds more than the 0 bytes its size said"},
      {{"65001", "1250", "in.txt", "out.txt"}, "abcde\xFFz", 1, "in.txt: offset 5: byte FF is not utf-8 (65001) text"},
      {{"65001", "1250", "in.txt", "out.txt"},
       "ab\xC4",
       1,
       "offset 2: the text ends inside a utf-8 (65001) character (C4)"},
      {{"65001", "1251", "in.txt", "out.txt"},
       "abc \xC4\x85",
       1,
       "offset 4: character U+0105 (C4 85) has no place in windows-1251 (1251)"},
      {{"1251", "65001", "in.txt", "out.txt"}, "ok\x98", 1, "offset 2: byte 98 is not windows-1251 (1251) text"},
      // The Vietnamese decoder holds a letter back until it sees whether an accent follows.
      {{"1258", "1253", "in.txt", "out.txt"},
       "ab\xC2\x17",
       1,
       "offset 2: character U+00C2 (C2) has no place in windows-1253 (1253)"},
      {{"1200", "65001", "in.txt", "out.txt"},
       std::string("a\0\x00\xDC", 4),
       1,
       "offset 2: byte 00 is not utf-16le (1200) text"},
      {{"1250", "65001", "in.txt", "in.txt"}, "a", 4, "in.txt is in.txt; give --in-place"},
      {{"1250", "65001", "in.txt", "./IN.txt/../in.txt"}, "a", 4, "give --in-place"},
      {{"1250", "65001", "in.txt", "no-such-folder/out.txt"}, "a", 4, "cannot write no-such-folder/out.txt"},
      {{"auto", "65001", "in.txt", "out.txt"}, "\x80\x81\x82\x83\x84\x85", 5, "cannot tell the encoding"},
      {{"auto", "65001", "in.txt", "out.txt"},
       read_file(CONVERTCP_BIN),
       5,
       "in.txt does not look like text (it holds NUL bytes); give FROM"},
      {{"auto", "65001", "in.txt", "out.txt"},
       "text\x01\x02\x03 more",
       5,
       "in.txt does not look like text (25% of its bytes are control characters)"},
  };
  common::WorkFolder work{"convertcp-test"};
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
  common::WorkFolder work{"convertcp-test"};
  write_file("in.txt", "bad \xFF");
  write_file("out.txt", "old");
  EXPECT_EQ(convertcp({"65001", "1250", "in.txt", "out.txt"}).status, 1);
  EXPECT_EQ(read_file("out.txt"), "old");
  EXPECT_EQ(names_in("."), (std::set<std::string>{"in.txt", "out.txt"}));
}

TEST(Convertcp, InPlaceReplacesTheInputOnlyWhenAsked) {
  common::WorkFolder work{"convertcp-test"};
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

// A FIFO, a character device and standard output get the text written into
// them, all of it or, after a bad character, none; none is ever replaced by
// a file. A socket, a block device and a folder are refused.
TEST(Convertcp, WritesThroughStreamsAndRefusesOtherSpecialFiles) {
  common::WorkFolder work{"convertcp-test"};
  write_file("in.txt", "\xE8\x9A\x9E");
  write_file("bad.txt", "ok \x98");
  ASSERT_EQ(mkfifo("fifo", 0644), 0);
  // Open for reading before convertcp opens it for writing, which then does
  // not wait; what it wrote is read when it has ended.
  int fifo = open("fifo", O_RDONLY | O_NONBLOCK);
  ASSERT_GE(fifo, 0);
  // Where device nodes can be made (as root), one of our own, so that a fault
  // could only ever replace that; elsewhere /dev/null, which is not ours to replace.
  bool own_nodes = mknod("null", S_IFCHR | 0666, makedev(1, 3)) == 0;
  std::string null_device = own_nodes ? "null" : "/dev/null";
  if (own_nodes) {
    ASSERT_EQ(mknod("disk", S_IFBLK | 0600, makedev(7, 255)), 0);
  }
  int listening = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, "socket");
  ASSERT_EQ(bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

  struct Row {
    std::string in, out;
    int status;
    std::string message, printed;
  } rows[] = {
      {"in.txt", "fifo", 0, "", ""},
      {"bad.txt", "fifo", 1, "fifo was not written", ""},
      {"in.txt", null_device, 0, "", ""},
      {"in.txt", "-", 0, "", "čšž"},
      {"in.txt", "/dev/stdout", 0, "", "čšž"},
      {"bad.txt", "-", 1, "offset 3: byte 98 is not windows-1251", ""},
      {"in.txt", "socket", 4, "cannot write socket: it is a socket", ""},
      {"in.txt", "disk", 4, "cannot write disk: it is a block device", ""},
      {"in.txt", ".", 4, "cannot write .: it is a folder", ""},
  };
  for (const Row& row : rows) {
    if (row.out == "disk" && !own_nodes) continue;
    Ran ran = convertcp({row.in == "bad.txt" ? "1251" : "1250", "65001", row.in, row.out});
    EXPECT_EQ(ran.status, row.status) << row.in << " to " << row.out << ": " << ran.err;
    EXPECT_THAT(ran.err, HasSubstr(row.message)) << row.in << " to " << row.out;
    EXPECT_EQ(ran.out, row.printed) << row.in << " to " << row.out;
  }
  char got[64] = {};
  EXPECT_EQ(read(fifo, got, sizeof got), ssize_t(std::strlen("čšž")));
  EXPECT_STREQ(got, "čšž");
  close(fifo);
  close(listening);
  EXPECT_EQ(fs::status("fifo").type(), fs::file_type::fifo);
  EXPECT_EQ(fs::status(null_device).type(), fs::file_type::character);
  EXPECT_EQ(fs::status("socket").type(), fs::file_type::socket);
  std::set<std::string> names{"in.txt", "bad.txt", "fifo", "socket"};
  if (own_nodes) names.insert({"null", "disk"});
  EXPECT_EQ(names_in("."), names);
  if (own_nodes) {
    EXPECT_EQ(fs::status("disk").type(), fs::file_type::block);
  }
}

// INFILE is a regular file or standard input: a device or a FIFO might never
// end or never begin.
TEST(Convertcp, ReadsAFileOrStandardInputAndNothingElse) {
  common::WorkFolder work{"convertcp-test"};
  write_file("in.txt", "\xE8\x9A\x9E");
  write_file("utf16.txt", std::string("H\0i\0 \0\x0D\x01!\0", 10));
  write_file("-", "a file named like standard input and output, which - does not name");
  ASSERT_EQ(mkfifo("fifo", 0644), 0);
  struct Row {
    std::vector<std::string> args;
    std::string stdin_file;
    int status;
    std::string message, printed;
  } rows[] = {
      {{"1250", "65001", "/dev/zero", "out.txt"}, "in.txt", 3, "/dev/zero is a device, not a file", ""},
      {{"1250", "65001", "fifo", "out.txt"}, "in.txt", 3, "fifo is a FIFO, not a file", ""},
      {{"1250", "65001", "-", "-"}, "in.txt", 0, "", "čšž"},
      {{"auto", "65001", "-", "-"}, "utf16.txt", 0, "-: found utf-16le (1200) by its zero bytes", "Hi č!"},
  };
  for (const Row& row : rows) {
    Ran ran = convertcp(row.args, row.stdin_file);
    EXPECT_EQ(ran.status, row.status) << row.args[2] << ": " << ran.err;
    EXPECT_THAT(ran.err, HasSubstr(row.message)) << row.args[2];
    EXPECT_EQ(ran.out, row.printed) << row.args[2];
    EXPECT_EQ(names_in("."), (std::set<std::string>{"in.txt", "utf16.txt", "-", "fifo"})) << row.args[2];
  }
  EXPECT_EQ(read_file("-"), "a file named like standard input and output, which - does not name");
}

// The input is converted a piece at a time: a character cut by a piece's end
// converts as a whole, and a message gives its offset in the whole input.
TEST(Convertcp, ConvertsPieceByPieceAsTheWhole) {
  const size_t piece = size_t(1) << 20;  // convertcp's
  std::string as(piece - 1, 'a');
  std::string pair = std::string(piece - 2, '\0');
  for (size_t i = 0; i < pair.size(); i += 2) pair[i] = 'a';
  struct Row {
    const char* from;
    const char* to;
    std::string in;
    int status;
    std::string out_or_message;
  } rows[] = {
      {"65001", "1250", as + "č" + as + "šž", 0, as + "\xE8" + as + "\x9A\x9E"},
      {"1200", "65001", pair + std::string("\x3D\xD8\x00\xDE", 4), 0,
       std::string(piece / 2 - 1, 'a') + "\xF0\x9F\x98\x80"},
      {"1200", "1250", "\xFF\xFE" + pair + "\x0D\x01", 0, std::string(piece / 2 - 1, 'a') + "\xE8"},
      {"65001", "1250", as + "č" + "bb\xFF", 1, "offset 1048579: byte FF is not utf-8"},
      {"65001", "1251", as + "ą", 1, "offset 1048575: character U+0105 (C4 85) has no place in windows-1251"},
      {"65001", "1250", as + as + "\xC4", 1, "offset 2097150: the text ends inside a utf-8 (65001) character (C4)"},
      {"1200", "1250", "\xFF\xFE" + pair + "\x3D\xD8", 1, "offset 1048576: the text ends inside a utf-16le"},
  };
  common::WorkFolder work{"convertcp-test"};
  for (const Row& row : rows) {
    write_file("in.txt", row.in);
    fs::remove("out.txt");
    Ran ran = convertcp({row.from, row.to, "in.txt", "out.txt"});
    EXPECT_EQ(ran.status, row.status) << row.from << " " << row.to << ": " << ran.err;
    if (row.status == 0) {
      EXPECT_TRUE(read_file("out.txt") == row.out_or_message) << row.from << " " << row.to;
    } else {
      EXPECT_THAT(ran.err, HasSubstr(row.out_or_message));
    }
  }
}
