// The indexer's word splitter against ICU's break iterator alone on the same
// lines, and the page reader on one text as korvel's frame and as HTML.
// Compare the bytes per second of the rows of one pair.
#include <benchmark/benchmark.h>
#include <unicode/ubrk.h>
#include <unicode/utext.h>

#include <random>
#include <string>
#include <vector>

#include "indexer/read/read_page.h"
#include "indexer/words/words.h"

namespace {

// 4 MB of lines of the kind of words a corpus of one language holds.
const std::vector<std::string>& lines_of(int language) {
  static std::vector<std::string> cache[3];
  static const std::vector<const char*> vocabulary[3] = {
      {"the", "of", "and", "to", "teacher", "Translator's", "index", "3.14", "2026", "well-known", "It"},
      {"in", "je", "čas", "žaba", "skače", "ker", "Šola", "na", "zlato", "ključ", "2026", "se"},
      {"και", "το", "οδός", "ΟΔΟΣ", "λόγος", "είναι", "της", "ώρα", "2026", "με", "Αθήνα"}};
  std::vector<std::string>& lines = cache[language];
  if (!lines.empty()) return lines;
  std::mt19937 random(7);
  size_t total = 0;
  while (total < (4u << 20)) {
    std::string line;
    for (int n = 6 + random() % 10; n > 0; --n) {
      const auto& words = vocabulary[language];
      line += words[std::min(random() % words.size(), random() % words.size())];  // skewed
      line += random() % 8 ? " " : ", ";
    }
    total += line.size();
    lines.push_back(std::move(line));
  }
  return lines;
}

int64_t bytes_of(const std::vector<std::string>& lines) {
  int64_t n = 0;
  for (const std::string& line : lines) n += static_cast<int64_t>(line.size());
  return n;
}

void BM_SplitWordSplitter(benchmark::State& state) {
  const auto& lines = lines_of(static_cast<int>(state.range(0)));
  velmor::WordSplitter splitter;
  std::vector<velmor::WordSpan> spans;
  for (auto _ : state)
    for (const std::string& line : lines) {
      splitter.split(line, spans);
      benchmark::DoNotOptimize(spans.data());
    }
  state.SetBytesProcessed(state.iterations() * bytes_of(lines));
}

// The baseline: every line through ICU, every segment's rule status read.
void BM_SplitIcuOnly(benchmark::State& state) {
  const auto& lines = lines_of(static_cast<int>(state.range(0)));
  UErrorCode status = U_ZERO_ERROR;
  UBreakIterator* breaks = ubrk_open(UBRK_WORD, "", nullptr, 0, &status);
  UText* text = nullptr;
  for (auto _ : state)
    for (const std::string& line : lines) {
      text = utext_openUTF8(text, line.data(), static_cast<int64_t>(line.size()), &status);
      ubrk_setUText(breaks, text, &status);
      int32_t words = 0;
      for (int32_t end = ubrk_first(breaks); (end = ubrk_next(breaks)) != UBRK_DONE;)
        words += ubrk_getRuleStatus(breaks) >= UBRK_WORD_NONE_LIMIT;
      benchmark::DoNotOptimize(words);
    }
  state.SetBytesProcessed(state.iterations() * bytes_of(lines));
  ubrk_close(breaks);
  utext_close(text);
}

void BM_FoldKey(benchmark::State& state) {
  const auto& lines = lines_of(static_cast<int>(state.range(0)));
  velmor::WordSplitter splitter;
  std::vector<velmor::WordSpan> spans;
  std::vector<std::string> words;
  for (const std::string& line : lines) {
    splitter.split(line, spans);
    for (velmor::WordSpan s : spans) words.push_back(line.substr(s.begin, s.length));
  }
  std::string key;
  int64_t bytes = 0;
  for (const std::string& w : words) bytes += static_cast<int64_t>(w.size());
  for (auto _ : state)
    for (const std::string& w : words) {
      velmor::fold_key(w, key);
      benchmark::DoNotOptimize(key.data());
    }
  state.SetBytesProcessed(state.iterations() * bytes);
}

// Arg 0: korvel's frame, read as lines; arg 1: the same text in <p> elements.
void BM_ReadPage(benchmark::State& state) {
  const auto& lines = lines_of(1);
  std::string page;
  if (state.range(0) == 0) {
    page =
        "<HTML>\r\n<head>\r\n<meta http-equiv=\"content-type\"  content=\"text/HTML; "
        "charset=utf-8\">\r\n<title>\r\nhtm_wrk\\b.htm\r\n</title>\r\n</head>\r\n<body>\r\n<pre>\r\n";
    for (const std::string& line : lines) page += line + "\r\n";
    page += "</pre>\r\n</body>\r\n</html>\r\n";
  } else {
    page = "<html><head><title>b</title></head><body>\n";
    for (const std::string& line : lines) page += "<p>" + line + "</p>\n";
    page += "</body></html>\n";
  }
  for (auto _ : state) benchmark::DoNotOptimize(velmor::read_page(page, "b.htm").lines.size());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.size()));
}

}  // namespace

// 0: English, 1: Slovenian, 2: Greek.
BENCHMARK(BM_SplitWordSplitter)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitIcuOnly)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FoldKey)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPage)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
