#include "korvel/bench/corpus.h"

#include <cmath>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace korvel {

namespace {

std::string document_name(int i) {
  std::string number = std::to_string(i);
  if (i % 10 == 0) return "Page " + number + ".htm";
  if (i % 3 == 0) return "My Notes " + number + ".v2.txt";
  if (i % 3 == 1) return "report-" + number + " (draft).TXT";
  return "doc " + number + " [copy].txt";
}

// 64 KiB of text to cut documents from.
std::string text_block(std::mt19937_64& random) {
  static const char kWords[][12] = {"index", "word",  "page",  "korvel", "the",  "of",
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

}  // namespace

void make_corpus(const std::filesystem::path& folder, int documents, uintmax_t total_bytes) {
  std::filesystem::create_directories(folder);
  std::mt19937_64 random(20261207);
  std::vector<uintmax_t> sizes(static_cast<size_t>(documents));
  if (total_bytes == 0) {
    for (uintmax_t& size : sizes) size = 1024 + random() % 3072;
  } else {
    // Many small documents, a few a thousand times larger.
    std::uniform_real_distribution<double> exponent(0.0, std::log(1000.0));
    std::vector<double> weights(sizes.size());
    double sum = 0;
    for (double& w : weights) sum += (w = std::exp(exponent(random)));
    for (size_t i = 0; i < sizes.size(); ++i) sizes[i] = static_cast<uintmax_t>(total_bytes * weights[i] / sum);
  }
  std::string block = text_block(random);
  for (int i = 0; i < documents; ++i) {
    std::ofstream out(folder / document_name(i), std::ios::binary);
    uintmax_t size = sizes[static_cast<size_t>(i)];
    size_t offset = (static_cast<size_t>(i) * 7919u) % block.size();
    while (size > 0) {
      size_t n = static_cast<size_t>(std::min<uintmax_t>(size, block.size() - offset));
      out.write(block.data() + offset, static_cast<std::streamsize>(n));
      size -= n;
      offset = 0;
    }
  }
}

}  // namespace korvel
