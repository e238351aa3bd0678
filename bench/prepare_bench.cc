// Times korvel from its start to the conversion header, that is through the
// tool checks, the input folders, the name normalisation and the work
// folders, over 10,000 small documents whose names all need normalising. The
// baseline is one plain copy of the same files: `cp -r txt_in/. other/`.
//
//   bench_prepare [DOCUMENTS]   (default 10000)
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

void write_file(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

// Blanks, brackets, dots and hyphens in the stem, a "page_" name now and
// then, one in ten an HTML document.
std::string document_name(int i) {
  std::string number = std::to_string(i);
  if (i % 10 == 0) return "Page " + number + ".htm";
  if (i % 10 == 1) return "report-" + number + " (draft).HTM";
  if (i % 3 == 0) return "My Notes " + number + ".v2.txt";
  return "doc " + number + " [copy].txt";
}

void make_working_folder(const fs::path& folder, int documents) {
  fs::create_directories(folder / "txt_in");
  write_file(folder / "convertcp.exe", "convertcp stand-in\n");
  write_file(folder / "wget.exe", "wget stand-in\n");
  write_file(folder / "velmor_01_209.exe", "indexer stand-in\n");
  for (int i = 0; i < documents; ++i)
    write_file(folder / "txt_in" / document_name(i),
               "Line one of document " + std::to_string(i) + "\r\nA second line with some words in it.\r\n");
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs korvel in `folder` with the start-up screens passed, until it prints
// the conversion header; then ends it. Returns the seconds taken, or -1.
double korvel_to_header(const fs::path& folder) {
  int in[2], out[2];
  if (pipe(in) != 0 || pipe(out) != 0) return -1;
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    // The interpreter's complaints (htm_out is missing) are not measured.
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 2);
    close(in[0]);
    close(in[1]);
    close(out[0]);
    close(out[1]);
    if (chdir(folder.c_str()) != 0) _exit(126);
    execl(KORVEL_BIN, "korvel", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  (void)!write(in[1], "111", 3);
  close(in[1]);
  const std::string header = "Reformatting *.txt files to *.htm.\r\n";
  std::string seen;
  char buffer[4096];
  double seconds = -1;
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
    seen.append(buffer, static_cast<size_t>(n));
    if (seen.find(header) != std::string::npos) {
      seconds = seconds_since(start);
      break;
    }
    if (seen.size() > header.size()) seen.erase(0, seen.size() - header.size());
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  close(out[0]);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  int documents = argc > 1 ? std::atoi(argv[1]) : 10000;
  // TMPDIR picks the file system. Mass deletes slow down the next creates on
  // some (ext4 without a journal scans recently freed inodes), which is why
  // a memory file system gives the steadiest comparison.
  std::string pattern = (fs::temp_directory_path() / "korvel-prepare-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return 1;
  fs::path root = pattern;

  make_working_folder(root / "baseline", documents);
  auto start = std::chrono::steady_clock::now();
  std::string cp = "cd '" + (root / "baseline").string() + "' && cp -r txt_in/. other/";
  if (std::system(cp.c_str()) != 0) return 1;
  double cp_seconds = seconds_since(start);

  make_working_folder(root / "run", documents);
  double korvel_seconds = korvel_to_header(root / "run");
  size_t back = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root / "run" / "txt_in")) ++back;

  std::printf("documents:            %d (%zu in txt_in afterwards)\n", documents, back);
  std::printf("cp -r txt_in/. other/ %.3f s\n", cp_seconds);
  std::printf("korvel to the header: %.3f s\n", korvel_seconds);
  std::printf("ratio:                %.2f (target: 2.00 or less)\n", korvel_seconds / cp_seconds);
  fs::remove_all(root);
  return korvel_seconds < 0 ? 1 : 0;
}
