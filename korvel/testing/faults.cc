#include "korvel/testing/faults.h"

#include <chrono>
#include <thread>

namespace korvel {

namespace fs = std::filesystem;

namespace {
common::ChildCommand faulty_child(const fs::path& folder, const fs::path& out, const fs::path& err,
                                  const std::function<void()>& child_setup) {
  common::ChildCommand command = korvel_child(folder, out, err);
  if (child_setup)
    command.in_child = [child_setup] {
      use_test_environment();
      child_setup();
    };
  return command;
}
}  // namespace

RunResult run_korvel_faulty(const fs::path& folder, std::string_view keys, const FaultyRun& faults) {
  fs::path out = scratch_output("out"), err = scratch_output("err");
  common::Child child(faulty_child(folder, out, err, faults.child_setup));
  child.type(keys);
  child.close_input();
  return collect_run(child.wait(std::chrono::seconds(120), faults.kill_when), out, err);
}

RunningKorvel::RunningKorvel(const fs::path& folder)
    : out_(scratch_output("out")), err_(scratch_output("err")), child_(korvel_child(folder, out_, err_)) {}

RunningKorvel::~RunningKorvel() {
  child_.kill_now();
  std::error_code ec;
  fs::remove(out_, ec);
  fs::remove(err_, ec);
}

void RunningKorvel::type(std::string_view keys) { child_.type(keys); }

std::string RunningKorvel::output() const { return read_file(out_); }

bool RunningKorvel::ended() { return child_.ended(); }

bool RunningKorvel::wait_for_output(std::string_view text) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    if (output().find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

void RunningKorvel::kill_now() { child_.kill_now(); }

RunResult RunningKorvel::finish() {
  child_.close_input();
  return collect_run(child_.wait(std::chrono::hours(1)), out_, err_);
}

RunResult run_answering_every_prompt(const fs::path& folder) {
  static const std::pair<std::string_view, std::string_view> kAnswers[] = {
      {"<2> = continue and *.txt file will be recreate from *.htm\r\n", "2"},
      {"<2> no, end\r\n", "1"},
      {"<2> end\r\n", "1"},
      {"<1> = continue and end\r\n", "1"},
      {"<...> any key to continue and end\r\n", "x"},
  };
  RunningKorvel run(folder);
  size_t answered_at = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (std::chrono::steady_clock::now() < deadline && !run.ended()) {
    std::string out = run.output();
    if (out.size() != answered_at) {
      for (const auto& [prompt, key] : kAnswers) {
        if (out.ends_with(prompt)) {
          run.type(key);
          answered_at = out.size();
          break;
        }
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return run.finish();
}

size_t count_files(const fs::path& folder) {
  size_t count = 0;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec))
    if (!entry.is_directory(ec)) ++count;
  return count;
}

}  // namespace korvel
