#include "indexer/site/context.h"

#include <gtest/gtest.h>

#include <random>

#include "indexer/site/memory_corpus.h"

namespace velmor {
namespace {

Document page(std::vector<std::string> lines) {
  Document d;
  d.file_name = d.title = "p.htm";
  d.lines = std::move(lines);
  return d;
}

std::string repeat(std::string_view s, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += s;
  return out;
}

// A context costs the same wherever its word stands in a long line: it reads
// outward from the word, never from the line's start or to its end.
TEST(Kwic, WorkDoesNotGrowWithTheLine) {
  const uint32_t cps = 40;
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    uint32_t line;
  } cases[] = {
      {"ASCII words", {repeat("word ", 40000)}, 0},
      {"four-byte characters", {repeat("😀😀 ", 40000)}, 0},
      {"blank runs", {repeat("ab  \t  ", 40000)}, 0},
      {"short line between long ones", {repeat("long ", 40000), "short", repeat("long ", 40000)}, 1},
  };
  for (const Case& c : cases) {
    MemoryCorpus corpus({page(c.lines)}, "");
    const std::string_view line = corpus.line(0, c.line);
    for (size_t begin : {size_t{0}, line.size() / 3, line.size() / 2, line.size() - 5}) {
      while (begin > 0 && (line[begin - 1] != ' ' || line[begin] == ' ')) --begin;
      uint64_t stepped = 0;
      kwic(corpus, {0, c.line, static_cast<uint32_t>(begin), 2, 0}, cps, &stepped);
      // Each side reads a few contexts' worth from each of at most four lines.
      EXPECT_LE(stepped, 2 * 4 * 16 * cps) << c.what << " at " << begin;
    }
  }
}

// What a context shows, the simple way: all the text before and after the
// word squeezed, then cut. The windowed reading must show the same.
Kwic reference(const std::vector<std::string>& lines, const Occurrence& at, uint32_t cps) {
  auto squeeze = [](std::string& out, std::string_view text) {
    for (char c : text) {
      if (c != ' ' && c != '\t' && c != '\r' && c != '\f' && c != '\v') out += c;
      else if (!out.empty() && out.back() != ' ') out += ' ';
    }
  };
  auto trim = [](std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
  };
  const std::string& line = lines[at.line];
  std::string left, right, squeezed;
  squeeze(left, line.substr(0, at.begin));
  for (uint32_t l = at.line, n = 0; l > 0 && n < 3 && left.size() < 4 * cps; ++n) {
    std::string before;
    squeeze(before, lines[--l]);
    left = before + " " + left;
  }
  squeeze(right, line.substr(at.begin + at.length));
  for (uint32_t l = at.line, n = 0; l + 1 < lines.size() && n < 3 && right.size() < 4 * cps; ++n) {
    right += ' ';
    squeeze(right, lines[++l]);
  }
  squeeze(squeezed, left);
  left.swap(squeezed);
  squeezed.clear();
  squeeze(squeezed, right);
  right.swap(squeezed);
  std::string_view whole_left = trim(left), whole_right = trim(right);
  std::string_view l = last_code_points(whole_left, cps), r = first_code_points(whole_right, cps);
  if (l.size() < whole_left.size() && !l.empty() && l.front() != ' ' &&
      whole_left[whole_left.size() - l.size() - 1] != ' ') {
    size_t blank = l.find(' ');
    if (blank != std::string_view::npos && first_code_points(l, 10).size() > blank) l.remove_prefix(blank);
  }
  if (r.size() < whole_right.size() && whole_right[r.size()] != ' ') {
    size_t blank = r.rfind(' ');
    if (blank != std::string_view::npos && last_code_points(r, 10).size() > r.size() - blank)
      r = r.substr(0, blank);
  }
  return {std::string(trim(l)), line.substr(at.begin, at.length), std::string(trim(r))};
}

TEST(Kwic, WindowsShowWhatTheWholeLinesWould) {
  // Mixed text, and four-byte characters alone, where a side's bytes run
  // out long after its code points.
  const std::vector<std::string> texts[] = {{"a", "bc", "é", "😀", " ", "  ", "\t", "Ἀρχὴ"},
                                            {"😀", "😀😀", " ", "\t "}};
  std::mt19937 random(22);
  for (int round = 0; round < 600; ++round) {
    const std::vector<std::string>& pieces = texts[round % 2];
    std::vector<std::string> lines(1 + random() % 5);
    for (std::string& l : lines)
      for (size_t n = random() % 60; n > 0; --n) l += pieces[random() % pieces.size()];
    const uint32_t at_line = random() % lines.size();
    std::string& line = lines[at_line];
    const uint32_t begin = static_cast<uint32_t>(line.size());
    line += "WORD";
    for (size_t n = random() % 60; n > 0; --n) line += pieces[random() % pieces.size()];
    MemoryCorpus corpus({page(lines)}, "");
    const Occurrence at{0, at_line, begin, 4, 0};
    for (uint32_t cps : {0u, 1u, 3u, 7u, 12u, 40u}) {
      Kwic got = kwic(corpus, at, cps), want = reference(lines, at, cps);
      EXPECT_EQ(got.left, want.left) << round << " " << cps;
      EXPECT_EQ(got.right, want.right) << round << " " << cps;
    }
  }
}

}  // namespace
}  // namespace velmor
