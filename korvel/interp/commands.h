#pragma once
// The built-in commands. Each gets the words after its name; their output
// goes through interp/output.h.
#include <span>
#include <string_view>
#include <vector>

#include "korvel/interp/parse.h"

namespace korvel {

// Runs one command line whose redirections have been taken off already.
using CommandRunner = void (*)(std::string_view line);

void dir_command(std::span<const Word> args);
void del_command(std::span<const Word> args);
void copy_command(std::span<const Word> args);
void md_command(std::span<const Word> args);
void rd_command(std::span<const Word> args);
void find_command(std::span<const Word> args);
void findstr_command(std::span<const Word> args);
void sort_command(std::span<const Word> args);
void chcp_command(std::span<const Word> args);
void start_command(std::span<const Word> args);
// The loop needs the line itself: its command is run again for every name,
// by `run`.
void for_command(std::string_view line, const std::vector<Word>& words, CommandRunner run);

// Messages more than one command prints.
inline constexpr std::string_view kSyntaxError = "The syntax of the command is incorrect.";
inline constexpr std::string_view kFileNotFound = "The system cannot find the file specified.";
inline constexpr std::string_view kPathNotFound = "The system cannot find the path specified.";
void invalid_switch(const Word& word);

}  // namespace korvel
