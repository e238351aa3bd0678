// velmor_site_demo OUT_DIR [--locale NAME] FILE...
// Writes the site for plain UTF-8 text files (one document each, titled by
// file name) without the rest of the indexer, and prints how big it came out
// against the input.
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "indexer/site/memory_corpus.h"
#include "indexer/site/site.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: velmor_site_demo OUT_DIR [--locale NAME] FILE...\n");
    return 2;
  }
  velmor::SiteOptions options;
  std::vector<velmor::Document> docs;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--locale") == 0 && i + 1 < argc) {
      options.locale_name = argv[++i];
      continue;
    }
    std::ifstream in(argv[i], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "cannot read %s\n", argv[i]);
      return 1;
    }
    velmor::Document doc;
    doc.file_name = fs::path(argv[i]).filename().string();
    doc.title = fs::path(argv[i]).stem().string();
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      doc.lines.push_back(line);
    }
    doc.bytes = fs::file_size(argv[i]);
    docs.push_back(std::move(doc));
  }
  try {
    velmor::MemoryCorpus corpus(docs, options.locale_name);
    velmor::write_site(corpus, argv[1], options);
    uint64_t in = 0, out = 0;
    for (const auto& d : docs) in += d.bytes;
    for (const auto& e : fs::recursive_directory_iterator(argv[1]))
      if (e.is_regular_file()) out += e.file_size();
    std::printf("%llu bytes in, %llu bytes out, %.2fx\n", static_cast<unsigned long long>(in),
                static_cast<unsigned long long>(out), in ? double(out) / double(in) : 0.0);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
