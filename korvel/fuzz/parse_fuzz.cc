// The command-line splitter and the redirection parser: on any line they
// stay within it and agree with each other, and a name korvel quotes comes
// back out of its command line byte for byte, whatever it holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/fuzz_check.h"
#include "korvel/interp/parse.h"
#include "korvel/prepare/names.h"

using namespace korvel;

namespace {
bool is_blank(char c) { return c == ' ' || c == '\t'; }

void check_words(std::string_view line) {
  size_t last_end = 0;
  for (const Word& word : split_words(line)) {
    FUZZ_CHECK(word.begin >= last_end && word.begin < word.end && word.end <= line.size());
    for (size_t i = last_end; i < word.begin; ++i) FUZZ_CHECK(is_blank(line[i]));
    std::string_view range = line.substr(word.begin, word.end - word.begin);
    std::string without_quotes;
    for (char c : range)
      if (c != '"') without_quotes.push_back(c);
    FUZZ_CHECK(word.text == without_quotes);
    FUZZ_CHECK(word.quoted == (range.find('"') != std::string_view::npos));
    // Outside quotes a blank ends a word.
    if (!word.quoted) FUZZ_CHECK(range.find_first_of(" \t") == std::string_view::npos);
    last_end = word.end;
  }
  for (size_t i = last_end; i < line.size(); ++i) FUZZ_CHECK(is_blank(line[i]));
}

void check_refused(std::string_view line) {
  char refused = refused_char(line);
  FUZZ_CHECK(refused == 0 || std::string_view("&|<^").find(refused) != std::string_view::npos);
  if (refused == 0) {
    // Every & | < ^ left stands between quotes, where it is a name's byte.
    bool in_quotes = false;
    for (char c : line) {
      if (c == '"') in_quotes = !in_quotes;
      else if (std::string_view("&|<^").find(c) != std::string_view::npos) FUZZ_CHECK(in_quotes);
    }
  }
}

void check_redirections(std::string_view line) {
  std::string command;
  Redirection redirection;
  if (!cut_redirections(line, command, redirection)) return;
  // What is left holds no redirection, and cutting again finds none.
  bool in_quotes = false;
  for (char c : command) {
    if (c == '"') in_quotes = !in_quotes;
    else FUZZ_CHECK(in_quotes || c != '>');
  }
  FUZZ_CHECK(command.size() <= line.size());
  std::string again;
  Redirection none;
  FUZZ_CHECK(cut_redirections(command, again, none) && none.target.empty() && again == command);
  FUZZ_CHECK(redirection.target.find('"') == std::string::npos);
}

// How korvel's stages put a name into a command line.
void check_quoted_name(std::string_view name) {
  if (!is_addressable(name)) return;
  std::string line = "copy /y \"txt_in\\" + std::string(name) + "\" > out_null.list";
  FUZZ_CHECK(refused_char(line) == 0);
  std::string command;
  Redirection redirection;
  FUZZ_CHECK(cut_redirections(line, command, redirection));
  FUZZ_CHECK(redirection.target == "out_null.list" && !redirection.append);
  std::vector<Word> words = split_words(command);
  FUZZ_CHECK(words.size() == 3);
  FUZZ_CHECK(words[0].text == "copy" && words[1].text == "/y" && is_switch(words[1]));
  FUZZ_CHECK(words[2].text == "txt_in\\" + std::string(name) && !is_switch(words[2]));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  check_words(line);
  check_refused(line);
  check_redirections(line);
  check_quoted_name(line);
  return 0;
}
