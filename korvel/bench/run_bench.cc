// A whole korvel run against its floor (bench/floor.cc: only the file
// operations the run is made of, in the run's order), the same floor in a
// cheaper order korvel cannot take, and cp making as many copies,
// interleaved round by round (floor, floor*, korvel, cp, floor, ...),
// medians taken.
// Each contender starts from the same fresh working folder on the same file
// system, which is synced and cleaned up between runs, untimed.
//
//   bench_run [--rounds N] [--fs tmpfs,ext4] [--no-syscalls] [--no-cp]
//             [--arrival shuffled|folder|name] [--korvel NAME=PATH]... [SIZE...]
//
// SIZE: a number of documents of 1-4 KiB ("1k", "10k", "50k"), or a corpus
// size ("100M", "1G") spread over 10,000 documents. Default: 1k 10k.
// tmpfs is /dev/shm; ext4 is a fresh image with a journal, loop-mounted
// (needs root; otherwise a folder on the disk of KORVEL_BENCH_DISK, default
// /var/tmp, and the table says so). KORVEL=path runs that korvel instead of
// this build's. --korvel adds another build as a contender of its own, in
// the same rounds: builds with one speed mechanism taken out, each against
// the same floors. System calls are counted once per size
// under strace, untimed. --arrival: the order the documents are copied into
// txt_in (below).
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "korvel/bench/contender.h"
#include "korvel/bench/corpus.h"
#include "korvel/interp/pattern.h"

using namespace korvel;

namespace fs = std::filesystem;

namespace {

struct Size {
  std::string label;
  int documents;
  uintmax_t bytes;  // 0: 1-4 KiB each
};

Size parse_size(const std::string& text) {
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  switch (*end) {
    case 'k':
    case 'K': return {text, static_cast<int>(value * 1000), 0};
    case 'm':
    case 'M': return {text, 10000, static_cast<uintmax_t>(value * (1 << 20))};
    case 'g':
    case 'G': return {text, 10000, static_cast<uintmax_t>(value * (1 << 30))};
    default: return {text, static_cast<int>(value), 0};
  }
}

// KORVEL=path compares another build, e.g. one saved before a change.
std::string korvel_binary() {
  const char* chosen = std::getenv("KORVEL");
  return chosen && *chosen ? chosen : KORVEL_BIN;
}

void sync_folder(const fs::path& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) syncfs(fd);
  if (fd >= 0) close(fd);
}

// The folder the contenders run in, and how it was made.
struct Scratch {
  fs::path root;
  fs::path image;  // the ext4 image, when one is mounted at root
  std::string note;
};

Scratch make_scratch(const std::string& kind, const Size& size) {
  std::string id = "korvel-bench-" + std::to_string(getpid());
  if (kind == "tmpfs") return {fs::path("/dev/shm") / id, {}, "tmpfs"};
  const char* disk_env = std::getenv("KORVEL_BENCH_DISK");
  fs::path disk = disk_env ? disk_env : "/var/tmp";
  Scratch scratch{fs::path("/tmp") / (id + "-ext4"), disk / (id + ".img"), "ext4, journal, fresh loop image"};
  // Room for nine copies of the corpus, and inodes for nine of each document.
  uintmax_t bytes = std::max<uintmax_t>(uintmax_t{4} << 30, 12 * (size.bytes + size.documents * 8192ull));
  std::string make = "truncate -s " + std::to_string(bytes) + " '" + scratch.image.string() +
                     "' && mkfs.ext4 -q -F -N " + std::to_string(12 * size.documents + 1000) + " '" +
                     scratch.image.string() + "' && mkdir -p '" + scratch.root.string() + "' && mount -o loop '" +
                     scratch.image.string() + "' '" + scratch.root.string() + "'";
  if (std::system(make.c_str()) == 0) return scratch;
  fs::remove(scratch.image);
  std::fprintf(stderr, "loop mount refused: ext4 figures come from a folder on %s instead\n", disk.c_str());
  return {disk / id, {}, "no loop mount: folder on " + disk.string()};
}

void drop_scratch(const Scratch& scratch) {
  if (!scratch.image.empty()) {
    umount(scratch.root.c_str());
    fs::remove(scratch.root);
    fs::remove(scratch.image);
  } else {
    fs::remove_all(scratch.root);
  }
}

// The order in which the documents arrive in txt_in. On ext4 it decides the
// order of their inodes, and a run that meets them in that order touches
// far fewer inode-table and directory blocks: floor*, reading the folder as
// it comes, meets them so when they are copied in the folder's own order
// from a corpus on the same file system, and korvel and the floor, going
// by name, do not. tmpfs lists a folder in the order it was filled, so
// there floor* always walks the arrival order, and the others gain only
// where names and arrival agree. A user's folder is filled in no order any
// of them knows of, so all meet the same shuffle by default.
enum class Arrival { kShuffled, kFolder, kName };
Arrival arrival = Arrival::kShuffled;

void copy_documents(const fs::path& corpus, const fs::path& txt_in) {
  fs::create_directories(txt_in);
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(corpus))
    names.push_back(entry.path().filename().string());
  if (arrival != Arrival::kFolder) std::sort(names.begin(), names.end(), listing_before);  // korvel's order
  if (arrival == Arrival::kShuffled) std::shuffle(names.begin(), names.end(), std::mt19937(20261208));
  for (const std::string& name : names) fs::copy_file(corpus / name, txt_in / name);
}

void make_working_folder(const fs::path& work, const fs::path& corpus) {
  fs::create_directories(work);
  copy_documents(corpus, work / "txt_in");
  for (const char* tool : {"convertcp.exe", "wget.exe"}) std::ofstream(work / tool) << "stand-in\n";
  fs::copy_file("/bin/true", work / "velmor_01_209.exe");
  sync_folder(work);
}

// The names and sizes the run leaves in its document folders, to show that
// the floor did the same work as korvel.
std::map<std::string, uintmax_t> result_files(const fs::path& work) {
  std::map<std::string, uintmax_t> files;
  for (const char* folder : {"txt_in", "txt_wrk", "htm_wrk", "htm_in", "velmor/htm_in"}) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(work / folder, ec))
      files[std::string(folder) + "/" + entry.path().filename().string()] = entry.file_size();
  }
  return files;
}

struct Contender {
  std::string name;
  std::vector<std::string> argv;
  std::string keys;
  std::vector<double> header, total;
  long peak_kb = 0;
  SyscallCount calls;
  std::vector<double> cpu;
};

double median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Builds of korvel compared beside this one (--korvel NAME=PATH).
std::vector<std::pair<std::string, std::string>> other_builds;
bool with_cp = true;  // --no-cp: a run that compares builds of korvel needs no cp

bool bench(const std::string& kind, const Size& size, int rounds, bool syscalls) {
  Scratch scratch = make_scratch(kind, size);
  fs::create_directories(scratch.root);
  fs::path corpus = scratch.root / "corpus";
  make_corpus(corpus, size.documents, size.bytes);
  const std::string cp_script =
      "cp -r txt_in c1 && cp -r c1 c2 && cp -r c2 c3 && printf 'Reformatting *.txt files to *.htm.\\r\\n' && "
      "cp -r c3 c4 && cp -r c4 c5 && cp -r c5 c6 && cp -r c6 c7 && echo 'INDEXING RESULTS'";
  std::vector<Contender> contenders = {{"floor", {FLOOR_BIN}, "", {}, {}, 0, {}, {}},
                                       {"floor*", {FLOOR_BIN, "--folder-order"}, "", {}, {}, 0, {}, {}},
                                       {"korvel", {korvel_binary()}, "1111x", {}, {}, 0, {}, {}},
                                       {"cp x3/x7", {"sh", "-c", cp_script}, "", {}, {}, 0, {}, {}}};
  if (!with_cp) contenders.pop_back();
  for (const auto& [name, path] : other_builds) contenders.push_back({name, {path}, "1111x", {}, {}, 0, {}, {}});
  std::map<std::string, uintmax_t> floor_files;
  bool ok = true;
  for (int round = 0; round < rounds && ok; ++round) {
    for (Contender& c : contenders) {
      fs::path work = scratch.root / "work";
      make_working_folder(work, corpus);
      Timing t = run_contender(c.argv, work, c.keys);
      if (!t.ok) {
        std::fprintf(stderr, "%s did not complete in %s\n", c.name.c_str(), work.c_str());
        ok = false;
        break;
      }
      c.header.push_back(t.header_seconds);
      c.total.push_back(t.total_seconds);
      c.cpu.push_back(t.cpu_seconds);
      c.peak_kb = std::max(c.peak_kb, t.peak_kb);
      if (round == 0 && c.name == "floor") floor_files = result_files(work);
      if (round == 0 && c.name != "floor" && c.argv[0] != "sh" && result_files(work) != floor_files)
        std::fprintf(stderr, "warning: the floor and %s leave different document files\n", c.name.c_str());
      fs::remove_all(work);
      sync_folder(scratch.root);
    }
  }
  if (ok && syscalls) {
    for (Contender& c : contenders) {
      fs::path work = scratch.root / "work";
      make_working_folder(work, corpus);
      c.calls = count_syscalls(c.argv, work, c.keys, scratch.root / "trace");
      fs::remove_all(work);
    }
  }
  drop_scratch(scratch);
  if (!ok) return false;

  double floor_header = median(contenders[0].header), floor_total = median(contenders[0].total),
         floor_cpu = median(contenders[0].cpu);
  const char* arrived = arrival == Arrival::kFolder ? "folder" : arrival == Arrival::kName ? "name" : "shuffled";
  std::printf("\n%s, %d documents%s, %s, %s order; medians of %d interleaved rounds\n", size.label.c_str(),
              size.documents, size.bytes ? (", " + std::to_string(size.bytes >> 20) + " MiB").c_str() : " of 1-4 KiB",
              scratch.note.c_str(), arrived, rounds);
  std::printf("%-16s %9s %6s %9s %6s %7s %6s %9s %13s %13s\n", "", "header s", "/floor", "whole s", "/floor", "cpu s",
              "/floor", "peak MB", "calls/doc hdr", "calls/doc all");
  for (const Contender& c : contenders) {
    double h = median(c.header), w = median(c.total);
    double cpu = median(c.cpu);
    std::printf("%-16s %9.3f %6.2f %9.3f %6.2f %7.3f %6.2f %9.1f", c.name.c_str(), h, h / floor_header, w,
                w / floor_total, cpu, cpu / floor_cpu, c.peak_kb / 1024.0);
    if (c.calls.total >= 0)
      std::printf(" %13.1f %13.1f", double(c.calls.to_header) / size.documents, double(c.calls.total) / size.documents);
    std::printf("\n");
  }
  auto named = [&](std::string_view name) -> const Contender& {
    return *std::find_if(contenders.begin(), contenders.end(), [&](const Contender& c) { return c.name == name; });
  };
  const Contender &cheaper = named("floor*"), &korvel = named("korvel");
  std::printf(
      "floor*: the floor's file operations in an order korvel cannot take, which is cheaper: txt_in as it\n"
      "lists, every source deleted there before the first copy goes back; korvel / floor*: header %.2f, whole %.2f\n",
      median(korvel.header) / median(cheaper.header), median(korvel.total) / median(cheaper.total));
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--peak") return peak_main(argc, argv);
  int rounds = 3;
  bool syscalls = true;
  std::vector<std::string> kinds = {"tmpfs", "ext4"};
  std::vector<Size> sizes;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--rounds" && i + 1 < argc) rounds = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--no-syscalls") syscalls = false;
    else if (arg == "--no-cp") with_cp = false;
    else if (arg == "--korvel" && i + 1 < argc && std::string(argv[i + 1]).find('=') != std::string::npos) {
      std::string named = argv[++i];
      other_builds.emplace_back(named.substr(0, named.find('=')), named.substr(named.find('=') + 1));
    } else if (arg == "--arrival" && i + 1 < argc) {
      std::string order = argv[++i];
      if (order == "folder") arrival = Arrival::kFolder;
      else if (order == "name") arrival = Arrival::kName;
      else if (order != "shuffled") return std::fprintf(stderr, "--arrival: shuffled, folder or name\n"), 2;
    } else if (arg == "--fs" && i + 1 < argc) {
      kinds.clear();
      std::string list = argv[++i];
      for (size_t at = 0; at <= list.size();) {
        size_t comma = std::min(list.find(',', at), list.size());
        kinds.push_back(list.substr(at, comma - at));
        at = comma + 1;
      }
    } else sizes.push_back(parse_size(arg));
  }
  if (sizes.empty()) sizes = {parse_size("1k"), parse_size("10k")};
  if (std::system("strace -V > /dev/null 2>&1") != 0) syscalls = false;
  double load[3] = {};
  if (getloadavg(load, 3) > 0) std::printf("load average at start: %.2f %.2f %.2f\n", load[0], load[1], load[2]);
  for (const Size& size : sizes)
    for (const std::string& kind : kinds)
      if (!bench(kind, size, rounds, syscalls && kind == kinds.front())) return 1;
  if (getloadavg(load, 3) > 0) std::printf("load average at end: %.2f %.2f %.2f\n", load[0], load[1], load[2]);
  return 0;
}
