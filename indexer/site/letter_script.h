#pragma once
// The writing system of an alphabet tile: Greek Μ and Latin M look alike,
// and so do Cyrillic А and Latin A, so a mixed corpus's alphabet names
// the script of each run of tiles.
#include <string>
#include <string_view>

namespace velmor {

// Unicode's name of the script of the letter's first character ("Latin",
// "Greek", "Cyrillic", "Han"), or "" for digits, signs and marks that
// belong to no one script ("0-9", "#").
std::string letter_script(std::string_view letter);

}  // namespace velmor
