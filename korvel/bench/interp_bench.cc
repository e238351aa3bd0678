// The interpreter's dir and copy against ls and cp on the same folders.
// Each pair runs on identical data; compare the times of the two rows.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "korvel/interp/interp.h"

using namespace korvel;

extern char** environ;
namespace fs = std::filesystem;

namespace {
// One folder for the whole run: 10,000 empty files to list, 1,000 files of
// 4 KiB to copy.
void prepare_folder() {
  static bool done = false;
  if (done) return;
  done = true;
  fs::path base = fs::temp_directory_path() / ("interp_bench_" + std::to_string(getpid()));
  fs::create_directories(base / "listed");
  fs::create_directories(base / "source");
  fs::create_directories(base / "target");
  char name[32];
  for (int i = 0; i < 10000; ++i) {
    snprintf(name, sizeof name, "file_%05d.txt", i);
    std::ofstream(base / "listed" / name);
  }
  std::string block(4096, 'x');
  for (int i = 0; i < 1000; ++i) {
    snprintf(name, sizeof name, "page_%04d.htm", i);
    std::ofstream(base / "source" / name, std::ios::binary) << block;
  }
  fs::current_path(base);
  std::atexit([] {
    fs::path folder = fs::current_path();
    fs::current_path("/");
    fs::remove_all(folder);
  });
}

// Runs argv with standard output into `output`, and waits.
void spawn(std::vector<const char*> argv, const char* output) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output, O_WRONLY | O_CREAT | O_TRUNC, 0666);
  argv.push_back(nullptr);
  pid_t pid;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, const_cast<char**>(argv.data()), environ) == 0)
    waitpid(pid, nullptr, 0);
  posix_spawn_file_actions_destroy(&actions);
}

void BM_DirBare10000(benchmark::State& state) {
  prepare_folder();
  for (auto _ : state) interp_run("dir /b listed\\ > dir_list.txt");
}

void BM_Ls10000(benchmark::State& state) {
  prepare_folder();
  for (auto _ : state) spawn({"ls", "-1", "listed"}, "ls_list.txt");
}

void BM_CopyPattern1000(benchmark::State& state) {
  prepare_folder();
  for (auto _ : state) interp_run("copy /y source\\*.* target\\ > copy_out.txt");
}

void BM_Cp1000(benchmark::State& state) {
  prepare_folder();
  for (auto _ : state) spawn({"sh", "-c", "cp source/* target/"}, "cp_out.txt");
}
}  // namespace

BENCHMARK(BM_DirBare10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ls10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyPattern1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cp1000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
