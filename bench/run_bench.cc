// Times one whole run of korvel over a generated corpus against the bare file
// copies such a run has to make, and reports korvel's peak memory.
//
//   bench_run [SIZE...]   SIZE is the corpus size, like 100M or 1G (default 1G)
//
// Each corpus holds 10,000 documents of mixed sizes, a tenth of them HTML,
// with names that need no normalising. The run copies every document six
// times over: into the working folder and back into txt_in, into txt_wrk,
// into htm_wrk (the text documents as pages), into htm_in and into
// velmor\htm_in. The baseline is `cp -r` doing those six copies.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
extern char** environ;

namespace {

constexpr int kDocuments = 10000;

struct Outcome {
  double seconds = 0;
  long peak_kb = 0;
  bool ok = false;
};

// Runs argv in `folder`, `keys` on its standard input, its output into
// `out_file`; returns the wall time and the child's own peak memory.
Outcome run(const std::vector<std::string>& argv, const fs::path& folder, const std::string& keys,
            const fs::path& out_file) {
  int in[2];
  if (pipe(in) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_addclose(&actions, in[1]);
  posix_spawn_file_actions_addopen(&actions, 1, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  if (spawned != 0) {
    close(in[1]);
    return {};
  }
  if (!keys.empty()) (void)!write(in[1], keys.data(), keys.size());
  close(in[1]);
  int status = 0;
  rusage usage = {};
  wait4(pid, &status, 0, &usage);
  Outcome outcome;
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  outcome.peak_kb = usage.ru_maxrss;
  outcome.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return outcome;
}

// Text lines of mixed length, some with trailing blanks, CR LF ended.
std::string text_block(std::mt19937_64& random) {
  static const char kWords[][12] = {"index", "word",  "page",  "korvel", "the", "of",
                                    "notes", "<tag>", "a & b", "line",   "UTF-8"};
  std::string block;
  while (block.size() < (1u << 16)) {
    std::string line;
    size_t length = 20 + random() % 100;
    while (line.size() < length) {
      line += kWords[random() % std::size(kWords)];
      line += ' ';
    }
    if (random() % 4 != 0) line.pop_back();
    block += line + "\r\n";
  }
  return block;
}

void generate_corpus(const fs::path& folder, uintmax_t total) {
  fs::create_directories(folder);
  std::mt19937_64 random(20261207);
  std::vector<double> weights(kDocuments);
  double sum = 0;
  // Log-uniform: many small documents, a few a thousand times larger.
  std::uniform_real_distribution<double> exponent(0.0, std::log(1000.0));
  for (double& w : weights) sum += (w = std::exp(exponent(random)));
  std::string block = text_block(random);
  for (int i = 0; i < kDocuments; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "doc_%05d.%s", i, i % 10 == 9 ? "htm" : "txt");
    uintmax_t size = static_cast<uintmax_t>(total * weights[i] / sum);
    std::ofstream out(folder / name, std::ios::binary);
    size_t offset = (i * 7919u) % block.size();
    while (size > 0) {
      size_t n = std::min<uintmax_t>(size, block.size() - offset);
      out.write(block.data() + offset, static_cast<std::streamsize>(n));
      size -= n;
      offset = 0;
    }
  }
}

uintmax_t parse_size(const std::string& text) {
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  switch (*end) {
    case 'k': case 'K': return static_cast<uintmax_t>(value * (1 << 10));
    case 'm': case 'M': return static_cast<uintmax_t>(value * (1 << 20));
    case 'g': case 'G': return static_cast<uintmax_t>(value * (1 << 30));
    default: return static_cast<uintmax_t>(value);
  }
}

uintmax_t folder_bytes(const fs::path& folder) {
  uintmax_t bytes = 0;
  for (const auto& entry : fs::directory_iterator(folder)) bytes += entry.file_size();
  return bytes;
}

bool bench(const fs::path& base, uintmax_t total) {
  fs::remove_all(base);
  fs::path corpus = base / "corpus";
  fs::path work = base / "work";
  generate_corpus(corpus, total);
  fs::create_directories(work);
  fs::copy(corpus, work / "txt_in");
  std::ofstream(work / "convertcp.exe") << "convertcp stand-in\n";
  std::ofstream(work / "wget.exe") << "wget stand-in\n";
  fs::copy_file(FAKE_INDEXER_BIN, work / "velmor_01_209.exe");
  sync();

  Outcome korvel = run({KORVEL_BIN}, work, "1111x", base / "korvel.out");
  std::ifstream transcript(base / "korvel.out");
  std::string text((std::istreambuf_iterator<char>(transcript)), {});
  if (!korvel.ok || text.find("INDEXING RESULTS") == std::string::npos) {
    std::fprintf(stderr, "the run did not complete; see %s\n", (base / "korvel.out").c_str());
    return false;
  }
  sync();

  fs::path copies = base / "copies";
  const char* steps[][2] = {{"corpus", "work"},     {"work", "txt_in"},   {"txt_in", "txt_wrk"},
                            {"txt_wrk", "htm_wrk"}, {"htm_wrk", "htm_in"}, {"htm_in", "velmor_in"}};
  fs::create_directories(copies);
  fs::create_symlink(corpus, copies / "corpus");
  double baseline = 0;
  for (const auto& step : steps) {
    Outcome cp = run({"cp", "-r", std::string(step[0]) + "/.", step[1]}, copies, "",
                     base / "cp.out");
    if (!cp.ok) {
      std::fprintf(stderr, "cp %s %s failed\n", step[0], step[1]);
      return false;
    }
    baseline += cp.seconds;
  }
  sync();

  std::printf("corpus %8.1f MB in %d documents: korvel %7.2f s, cp x6 %7.2f s, ratio %.2f, "
              "korvel peak memory %.1f MB\n",
              folder_bytes(corpus) / 1048576.0, kDocuments, korvel.seconds, baseline,
              korvel.seconds / baseline, korvel.peak_kb / 1024.0);
  std::fflush(stdout);
  fs::remove_all(base);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> sizes(argv + 1, argv + argc);
  if (sizes.empty()) sizes.push_back("1G");
  fs::path base = fs::temp_directory_path() / ("korvel-bench-" + std::to_string(getpid()));
  for (const std::string& size : sizes)
    if (!bench(base, parse_size(size))) return 1;
  return 0;
}
