#pragma once
// The rules by which document names are recognised, normalised and compared.
// Pure functions on byte strings: letter case means ASCII only.
#include <optional>
#include <set>
#include <string>
#include <string_view>

// How strongly a listed line looks like a document: 1 for ".txt", 1 more for
// ".htm", in any letter case (README.TXT is a document). Only zero matters.
int document_marks(std::string_view line);

// Where a document's extension starts (0-based): the first ".txt", else the
// first ".htm", in any letter case; npos for a name that is no document.
size_t extension_position(std::string_view listed);

// Every byte that is not an ASCII letter or digit becomes "_".
std::string clean_stem(std::string_view stem);
// Every byte that is not an ASCII letter, digit, "." or "_" becomes "_".
std::string clean_tail(std::string_view tail);

// The normalised name of a document: clean stem, then "_<number>" when number
// is 2 or more, then the clean tail; a name starting with "page_" in any
// letter case gets "file_" in front. `listed` must be a document.
std::string new_name(std::string_view listed, int number = 1);

// Lower-cased names already spoken for: each listed name of txt_in, as
// listed (twice when listed twice), and each new name given so far.
using TakenNames = std::multiset<std::string>;
// The new name of `listed`, numbered until it clashes with no other taken
// name; records it in `taken`.
std::string unique_new_name(std::string_view listed, TakenNames& taken);

// Files that keep the program running and so must never be replaced by a
// document's namesake: the program itself (`program_name`, also "korvel" and
// "korvel.exe"), wget.exe, convertcp.exe and any velmor_*.exe. Letter case
// is ignored.
bool is_program_file(std::string_view name, std::string_view program_name);
// Whether a name can stand between double quotes in a command line: it holds
// no double quote and no control character. Windows allows neither in file
// names; elsewhere they can occur.
bool is_quotable(std::string_view name);
// Whether the command layer takes the name for a pattern ("*" or "?").
bool holds_wildcard(std::string_view name);

// The last component of a path written with "/" or "\".
std::string file_name_of(std::string_view path);

// What two documents must not share to become two pages: the trimmed name up
// to its first ".htm", else its first ".txt" (any letter case), letter case
// kept. No value for a name without either.
std::optional<std::string> base_name(std::string_view listed);
