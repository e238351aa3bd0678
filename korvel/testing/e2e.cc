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

namespace korvel {

namespace fs = std::filesystem;

WorkFolder::WorkFolder() : common::WorkFolder("korvel-test") { forget_folder_indexes(); }

void use_test_environment() {
  setenv("LANG", "C.UTF-8", 1);
  unsetenv("LC_ALL");
  unsetenv("LC_CTYPE");
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
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
    if (entry.is_directory()) files[rel + "/"] = "";
    else files[rel] = read_file(entry.path());
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

RunResult run_korvel(const fs::path& folder, std::string_view keys, const std::vector<std::string>& args,
                     const std::string& invoked_as) {
  // Output goes to files outside the working folder, so listings never see
  // them and a chatty run cannot fill a pipe and stall.
  common::ChildCommand command = korvel_child(folder, scratch_output("out"), scratch_output("err"));
  command.argv = {invoked_as};
  command.argv.insert(command.argv.end(), args.begin(), args.end());
  common::Child child(command);
  child.type(keys);
  child.close_input();
  return collect_run(child.wait(std::chrono::seconds(120)), command.out_path, command.err_path);
}

fs::path scratch_output(std::string_view what) {
  static int serial = 0;
  return fs::temp_directory_path() /
         ("korvel-" + std::string(what) + "-" + std::to_string(getpid()) + "-" + std::to_string(++serial));
}

common::ChildCommand korvel_child(const fs::path& folder, const fs::path& out, const fs::path& err) {
  common::ChildCommand command;
  command.program = KORVEL_BIN;
  command.argv = {"korvel"};
  command.folder = folder.string();
  command.out_path = out.string();
  command.err_path = err.string();
  command.in_child = use_test_environment;
  return command;
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

}  // namespace korvel
