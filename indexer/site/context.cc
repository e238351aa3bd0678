#include "indexer/site/context.h"

#include <algorithm>

namespace velmor {

namespace {

constexpr int kMaxLines = 3;  // neighbouring lines a context may reach into
constexpr uint32_t kStub = 10;  // a cut word's stub shorter than this is dropped

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }
bool starts_char(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

void append_squeezed(std::string& out, std::string_view text) {
  for (char c : text) {
    if (is_blank(c)) {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// How much squeezed text a side reads before it cuts: more than the side
// shows, so that the cut, the stub rule and the reach into neighbouring
// lines decide exactly as they would on the whole text.
struct Reach {
  size_t bytes;
  uint32_t cps;
};
Reach reach(uint32_t cps) { return {4 * size_t{cps}, cps + 2}; }

// The part of `text` just before its end that squeezes to at least
// `need` (or all of it): it starts on a character that is not blank, so it
// squeezes to the very end of what the whole text squeezes to. Steps back
// over that part only.
std::string_view tail_window(std::string_view text, Reach need, uint64_t* stepped) {
  size_t i = text.size(), bytes = 0;
  uint32_t cps = 0;
  while (i > 0) {
    char c = text[--i];
    if (is_blank(c)) {
      if (i + 1 == text.size() || !is_blank(text[i + 1])) ++bytes, ++cps;  // a run is one blank
      continue;
    }
    ++bytes;
    if (!starts_char(c)) continue;
    ++cps;
    if (bytes >= need.bytes && cps >= need.cps) break;
  }
  if (stepped) *stepped += text.size() - i;
  return text.substr(i);
}

// The part of `text` from its start that squeezes to at least `need` (or
// all of it), ending after a whole character that is not blank.
std::string_view head_window(std::string_view text, Reach need, uint64_t* stepped) {
  size_t j = 0, bytes = 0;
  uint32_t cps = 0;
  while (j < text.size()) {
    char c = text[j++];
    if (is_blank(c)) {
      if (bytes > 0 && !is_blank(text[j - 2])) ++bytes, ++cps;
      continue;
    }
    ++bytes;
    if (starts_char(c)) ++cps;
    if (bytes >= need.bytes && cps >= need.cps && (j == text.size() || starts_char(text[j]))) break;
  }
  if (stepped) *stepped += j;
  return text.substr(0, j);
}

}  // namespace

std::string_view last_code_points(std::string_view text, uint32_t cps) {
  size_t at = text.size();
  uint32_t seen = 0;
  while (at > 0 && seen < cps) {
    --at;
    if (starts_char(text[at])) ++seen;
  }
  return text.substr(at);
}

std::string_view first_code_points(std::string_view text, uint32_t cps) {
  size_t at = 0;
  uint32_t seen = 0;
  while (at < text.size()) {
    if (starts_char(text[at]) && seen++ == cps) break;
    ++at;
  }
  return text.substr(0, at);
}

Kwic kwic(const Corpus& corpus, const Occurrence& at, uint32_t cps, uint64_t* stepped) {
  Kwic k;
  const uint32_t lines = corpus.document(at.doc).lines;
  std::string_view line = corpus.line(at.doc, at.line);
  size_t begin = std::min<size_t>(at.begin, line.size());
  size_t end = std::min<size_t>(begin + at.length, line.size());
  k.word = line.substr(begin, end - begin);

  // Enough raw text first, then the cut: the squeezing only ever shortens.
  // Each piece is read outward from the word, only as far as a cut needs,
  // so a context costs the same anywhere in a line of any length.
  const Reach need = reach(cps);
  std::string left;
  append_squeezed(left, tail_window(line.substr(0, begin), need, stepped));
  for (uint32_t l = at.line, n = 0; l > 0 && n < kMaxLines && left.size() < 4 * cps; ++n) {
    std::string before;
    append_squeezed(before, tail_window(corpus.line(at.doc, --l), need, stepped));
    left = before + " " + left;
  }
  std::string right;
  append_squeezed(right, head_window(line.substr(end), need, stepped));
  for (uint32_t l = at.line, n = 0; l + 1 < lines && n < kMaxLines && right.size() < 4 * cps; ++n) {
    right += ' ';
    append_squeezed(right, head_window(corpus.line(at.doc, ++l), need, stepped));
  }
  std::string squeezed;
  append_squeezed(squeezed, left);
  left.swap(squeezed);
  squeezed.clear();
  append_squeezed(squeezed, right);
  right.swap(squeezed);

  std::string_view whole_left = trim(left), whole_right = trim(right);
  std::string_view l = last_code_points(whole_left, cps);
  if (l.size() < whole_left.size() && !l.empty() && l.front() != ' ' &&
      whole_left[whole_left.size() - l.size() - 1] != ' ') {
    size_t blank = l.find(' ');
    if (blank != std::string_view::npos && first_code_points(l, kStub).size() > blank)
      l.remove_prefix(blank);
  }
  std::string_view r = first_code_points(whole_right, cps);
  if (r.size() < whole_right.size() && whole_right[r.size()] != ' ') {
    size_t blank = r.rfind(' ');
    if (blank != std::string_view::npos && last_code_points(r, kStub).size() > r.size() - blank)
      r = r.substr(0, blank);
  }
  k.left = trim(l);
  k.right = trim(r);
  return k;
}

}  // namespace velmor
