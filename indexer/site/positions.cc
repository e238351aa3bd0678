#include "indexer/site/positions.h"

#include <cstdio>

#include "indexer/site/formats.h"
#include "indexer/site/out_file.h"

namespace velmor {

namespace {

// About 120 KB of positions a file on the bench corpus (2.5 store digits
// an occurrence): a rare word's file loads in a few milliseconds, and the
// 100 MB corpus's 17.6 million occurrences make a few hundred files.
constexpr uint64_t kPositionsPerFile = 50000;

}  // namespace

std::vector<uint64_t> document_starts(const Corpus& corpus) {
  std::vector<uint64_t> starts(corpus.document_count() + 1, 0);
  for (uint32_t d = 0; d < corpus.document_count(); ++d) starts[d + 1] = starts[d] + corpus.document(d).tokens;
  return starts;
}

void append_positions(std::string& out, const std::vector<Occurrence>& occurrences,
                      const std::vector<uint64_t>& document_starts) {
  uint64_t next = 0;  // the least place the next occurrence may have
  for (const Occurrence& o : occurrences) {
    const uint64_t place = document_starts[o.doc] + o.ordinal;
    append_store_number(out, place - next);
    next = place + 1;
  }
}

std::vector<uint32_t> plan_position_files(const std::vector<uint64_t>& counts, uint64_t per_file) {
  std::vector<uint32_t> firsts;
  uint64_t held = per_file;  // a file is opened at the first word
  for (size_t r = 0; r < counts.size(); ++r) {
    if (held >= per_file) {
      firsts.push_back(static_cast<uint32_t>(r));
      held = 0;
    }
    held += counts[r];
  }
  return firsts;
}

uint64_t positions_per_file(uint64_t total, uint32_t most_files) {
  // Every file but the last holds `per_file` or more, so there are at most
  // total / per_file + 1 of them: per_file past total / most_files keeps
  // them to most_files.
  const uint64_t needed = total / (most_files > 0 ? most_files : 1) + 1;
  return needed > kPositionsPerFile ? needed : kPositionsPerFile;
}

std::string positions_file(uint32_t file) { return site_file(kPositionFile, file); }

uint64_t write_position_starts(const std::vector<uint32_t>& firsts, const std::filesystem::path& dir) {
  std::string s = data_file_start(kPositionStarts) + "[";
  for (size_t i = 0; i < firsts.size(); ++i) s += (i ? "," : "") + std::to_string(firsts[i]);
  s += "]);\n";
  return write_file(dir / kPositionStarts.start, s);
}

uint64_t write_position_file(const Corpus& corpus, const std::vector<uint64_t>& document_starts, uint32_t file,
                             size_t begin, size_t end, const std::filesystem::path& dir) {
  OutFile out(dir / positions_file(file));
  std::string& s = out.text();
  s += data_file_start(kPositionFile) + std::to_string(file) + ",[";
  std::vector<Occurrence> occurrences;
  for (size_t r = begin; r < end; ++r) {
    occurrences.clear();
    corpus.occurrences(r, occurrences);
    s += r > begin ? ",\"" : "\"";
    append_positions(s, occurrences, document_starts);
    s += '"';
    out.spill();
  }
  s += "]);\n";
  out.close();
  return out.bytes();
}

}  // namespace velmor
