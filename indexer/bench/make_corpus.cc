// Writes a corpus of pages for the indexer benchmark: words drawn with a Zipf
// distribution from made-up vocabularies in Latin with diacritics, Cyrillic,
// Greek and CJK; nine pages in ten in korvel's text-to-page frame, the tenth
// as ordinary HTML with markup, entities, a script and a style.
//
//   make_corpus OUT_DIR MEGABYTES [SEED]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

std::string utf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
  return out;
}

struct Script {
  std::vector<std::string> consonants, vowels;
  bool spaced = true;
  std::vector<std::string> words;
  std::vector<double> cdf;
};

std::vector<std::string> split(const std::string& text) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < text.size()) {
    size_t j = text.find(' ', i);
    if (j == std::string::npos) j = text.size();
    out.push_back(text.substr(i, j - i));
    i = j + 1;
  }
  return out;
}

// Frequent words are short, as in any language.
void make_words(Script& s, size_t count, std::mt19937_64& random) {
  for (size_t rank = 0; rank < count; ++rank) {
    std::string w;
    if (!s.spaced) {
      int chars = 1 + int(random() % (rank < 500 ? 2 : 3));
      for (int i = 0; i < chars; ++i) w += utf8(char32_t(0x4E00 + random() % 0x5000));
    } else {
      int syllables = 1 + int(std::log10(rank + 10)) - 1 + int(random() % 2);
      for (int i = 0; i < syllables; ++i)
        w += s.consonants[random() % s.consonants.size()] + s.vowels[random() % s.vowels.size()];
      if (random() % 3 == 0) w += s.consonants[random() % s.consonants.size()];
    }
    s.words.push_back(w);
  }
  double sum = 0;
  for (size_t rank = 1; rank <= count; ++rank) s.cdf.push_back(sum += 1.0 / std::pow(double(rank), 1.05));
  for (double& c : s.cdf) c /= sum;
}

const std::string& draw(const Script& s, std::mt19937_64& random) {
  double u = std::uniform_real_distribution<double>(0, 1)(random);
  size_t i = std::lower_bound(s.cdf.begin(), s.cdf.end(), u) - s.cdf.begin();
  return s.words[std::min(i, s.words.size() - 1)];
}

std::string capitalised(const std::string& w) {
  // ASCII initials only; the indexer folds the rest the same way.
  if (!w.empty() && w[0] >= 'a' && w[0] <= 'z') return char(w[0] - 32) + w.substr(1);
  return w;
}

std::string text_line(const Script& s, std::mt19937_64& random, bool& sentence_start) {
  std::string line;
  size_t width = 50 + random() % 30;
  while (line.size() < width) {
    std::string w = draw(s, random);
    if (sentence_start) w = capitalised(w);
    sentence_start = false;
    if (s.spaced && !line.empty()) line += ' ';
    line += w;
    unsigned r = random() % 16;
    if (r == 0) {
      line += s.spaced ? "." : "\xE3\x80\x82";
      sentence_start = true;
    } else if (r == 1) {
      line += s.spaced ? "," : "\xEF\xBC\x8C";
    }
  }
  return line;
}

std::string escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '<') out += "&lt;";
    else if (c == '&') out += "&amp;";
    else out += c;
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_corpus OUT_DIR MEGABYTES [SEED]\n");
    return 2;
  }
  std::filesystem::path out = argv[1];
  uint64_t target = uint64_t(std::atof(argv[2]) * 1e6);
  std::mt19937_64 random(argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1);
  std::filesystem::create_directories(out);

  std::vector<Script> scripts(5);
  scripts[0].consonants = split("b c č d f g h j k l m n p r s š t v z ž st kr pr");
  scripts[0].vowels = split("a e i o u a e i o ä ö ü é");
  scripts[1].consonants = split("б в г д ж з к л м н п р с т ф х ц ч ш");
  scripts[1].vowels = split("а е и о у ы я ю э");
  scripts[2].consonants = split("β γ δ ζ θ κ λ μ ν ξ π ρ σ τ φ χ");
  scripts[2].vowels = split("α ε η ι ο υ ω ά έ ί ό");
  scripts[3].consonants = split("b c d f g h k l m n p r s t w th sh");
  scripts[3].vowels = split("a e i o u ea ou");
  scripts[4].spaced = false;
  const size_t sizes[] = {150000, 100000, 80000, 120000, 40000};
  for (size_t i = 0; i < scripts.size(); ++i) make_words(scripts[i], sizes[i], random);
  // Shares of pages: Latin with diacritics, Cyrillic, Greek, English-like, CJK.
  const unsigned shares[] = {40, 20, 15, 20, 5};

  uint64_t written = 0;
  for (int page = 1; written < target; ++page) {
    unsigned pick = random() % 100, script = 0;
    for (unsigned acc = 0; script < 5 && pick >= (acc += shares[script]); ++script) {
    }
    const Script& s = scripts[std::min(script, 4u)];
    bool html = page % 10 == 0;
    char name[32];
    std::snprintf(name, sizeof name, "doc_%05d.htm", page);
    std::string body;
    size_t lines = 100 + random() % 500;
    bool start = true;
    if (html) {
      body = "<!DOCTYPE html>\n<html lang=\"x\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
             escape(text_line(s, random, start)) +
             "</title>\n<style>p { margin: 0 } .n { color: #555 }</style>\n"
             "<script>var seen = 1 < 2 && \"no words here\";</script>\n</head>\n<body>\n<h1>" +
             escape(draw(s, random)) + "</h1>\n";
      for (size_t i = 0; i < lines; ++i) {
        std::string line = escape(text_line(s, random, start));
        if (i % 7 == 0) body += "<p class=\"n\">";
        if (i % 11 == 3) line += " <a href=\"#x" + std::to_string(i) + "\">" + escape(draw(s, random)) + "</a>";
        if (i % 13 == 5) line += " &amp; &eacute;t&eacute; &#8212;";
        body += line + "\n";
        if (i % 7 == 6) body += "</p>\n";
      }
      body += "<!-- a comment with words that are not indexed -->\n</body>\n</html>\n";
    } else {
      body =
          "<HTML>\r\n<head>\r\n<meta http-equiv=\"content-type\"  content=\"text/HTML; charset=utf-8\">\r\n"
          "<title>\r\nhtm_wrk\\" +
          std::string(name) + "\r\n</title>\r\n</head>\r\n<body>\r\n<pre>\r\n";
      for (size_t i = 0; i < lines; ++i) {
        std::string line = text_line(s, random, start);
        // What real text files hold and a naive HTML reading would lose.
        if (i % 40 == 17) line += " <https://example.org/x?a=1&b=2> a < b & c";
        body += line + "\r\n";
      }
      body += "</pre>\r\n</body>\r\n</html>\r\n";
    }
    std::ofstream(out / name, std::ios::binary) << body;
    written += body.size();
  }
  return 0;
}
