#pragma once
// Splitting a command line the way cmd does for the commands korvel runs.
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

struct Word {
  std::string text;  // double quotes removed
  bool quoted;       // held a double quote: never a switch
  size_t begin;      // byte range of the word in the line
  size_t end;
};

// Words separated by blanks or tabs; double quotes group blanks.
std::vector<Word> split_words(std::string_view line);

// The first of & | < ^ outside double quotes, or 0.
char refused_char(std::string_view line);

struct Redirection {
  std::string target;  // empty: none
  bool append = false;
};

// Cuts every "> file" and ">> file" outside quotes out of `line`; the last one
// wins. False when a ">" has no file after it.
bool cut_redirections(std::string_view line, std::string& command, Redirection& redirection);

bool is_switch(const Word& word);

}  // namespace korvel
