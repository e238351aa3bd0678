#include "korvel/testing/e2e.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "korvel/interp/folder_index.h"

namespace fs = std::filesystem;

WorkFolder::WorkFolder() {
  std::string pattern = (fs::temp_directory_path() / "korvel-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path = pattern;
  previous = fs::current_path();
  fs::current_path(path);
  // A new folder may reuse a removed one's inode; in-process commands must
  // not take an old folder's names for its own.
  forget_folder_indexes();
}

WorkFolder::~WorkFolder() {
  std::error_code ec;
  fs::current_path(previous, ec);
  fs::remove_all(path, ec);
}

void use_test_environment() {
  setenv("LANG", "C.UTF-8", 1);
  unsetenv("LC_ALL");
  unsetenv("LC_CTYPE");
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
}

void write_file(const fs::path& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> crlf_lines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::map<std::string, std::string> snapshot(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string rel = fs::relative(entry.path(), root).string();
    if (entry.is_directory())
      files[rel + "/"] = "";
    else
      files[rel] = read_file(entry.path());
  }
  return files;
}

void install_tools(const fs::path& folder, std::string_view indexer_name) {
  write_file(folder / "convertcp.exe", "convertcp stand-in\n");
  write_file(folder / "wget.exe", "wget stand-in\n");
  fs::copy_file(FAKE_INDEXER_BIN, folder / indexer_name, fs::copy_options::overwrite_existing);
}

std::string indexer_log(const fs::path& velmor) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!fs::exists(velmor / "fake_indexer.log") && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return read_file(velmor / "fake_indexer.log");
}

RunResult run_korvel(const fs::path& folder, std::string_view keys,
                     const std::vector<std::string>& args, const std::string& invoked_as) {
  // Output goes to files outside the working folder, so listings never see
  // them and a chatty run cannot fill a pipe and stall.
  fs::path out_path = fs::temp_directory_path() / ("korvel-out-" + std::to_string(getpid()));
  fs::path err_path = fs::temp_directory_path() / ("korvel-err-" + std::to_string(getpid()));
  int in_pipe[2];
  if (pipe(in_pipe) != 0) throw std::runtime_error("pipe failed");
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in_pipe[0], 0);
    close(in_pipe[0]);
    close(in_pipe[1]);
    int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(err, 2);
    if (chdir(folder.c_str()) != 0) _exit(126);
    use_test_environment();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(invoked_as.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(KORVEL_BIN, argv.data());
    _exit(127);
  }
  close(in_pipe[0]);
  // The program may end before reading every key; a closed pipe is fine.
  signal(SIGPIPE, SIG_IGN);
  if (!keys.empty()) (void)!write(in_pipe[1], keys.data(), keys.size());
  close(in_pipe[1]);

  int status = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return collect_run(status, out_path, err_path);
}

RunResult collect_run(int status, const fs::path& out, const fs::path& err) {
  RunResult result;
  if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.out = read_file(out);
  result.err = read_file(err);
  fs::remove(out);
  fs::remove(err);
  return result;
}
