#pragma once
// The rules by which document names are recognised, normalised and compared.
// Pure functions on byte strings: letter case means ASCII only.
#include <optional>
#include <string>
#include <string_view>

#include "korvel/base/work_files.h"
#include "korvel/prepare/name_set.h"

namespace korvel {

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

// Names already spoken for, letter case aside: each listed name of txt_in,
// as listed (twice when listed twice), and each new name given so far.
using TakenNames = NameSet;
// The new name of `listed`, numbered until it clashes with no other taken
// name; records it in `taken`, last, unless it is `listed` itself.
std::string unique_new_name(std::string_view listed, TakenNames& taken);

// Files that must never be replaced by a document's namesake nor come into
// the working folder from txt_in: the program itself (`program_name`, also
// "korvel" and "korvel.exe"), wget.exe, convertcp.exe, any velmor_*.exe, and
// any file that Windows would run or load by its name (.exe, .com, .bat,
// .cmd, .dll and the like), whatever else its name holds. The interpreter
// looks for find, sort and cmd in the current folder first, and a program
// loads DLLs from its own folder. Letter case is ignored.
bool is_program_file(std::string_view name, std::string_view program_name);
// Why a file of this name must not come into the working folder, or
// nothing: a stage writes a file of that name there (a scratch file, a
// list, korvel's state), deletes files by a pattern it matches (check_*.txt,
// as cmd matches it against a long name or the 8.3 short name Windows makes
// of it), or makes a folder of that name, with or without an extension.
// Letter case is ignored.
std::string_view reserved_working_name(std::string_view name);

// Whether a name, between double quotes, addresses this one file and no
// other in a command line of cmd.exe and of our own interpreter alike. Not
// when it holds a wildcard ("*", "?"), a double quote, a path separator, a
// control byte, "%" or "!" (cmd expands variables even between quotes), "~"
// (it may be another file's short name), blanks at either end or a dot at
// its end (Windows strips them), or names a device (con.txt, nul.htm, com1,
// ...); nor when it is empty or longer than 200 bytes, which leaves room for
// the folder and a temporary name.
bool is_addressable(std::string_view name);

// A name as it is shown in a message: control bytes as \xNN, so that one
// name stays on one line.
std::string shown_name(std::string_view name);

// The last component of a path written with "/" or "\".
std::string file_name_of(std::string_view path);

// What two documents must not share to become two pages: the trimmed name up
// to its first ".htm", else its first ".txt" (any letter case), letter case
// kept. No value for a name without either.
std::optional<std::string> base_name(std::string_view listed);
// Base names are one page name when they differ in letter case only: the
// file systems korvel runs on find a page whatever its letter case.
bool same_base_name(const std::optional<std::string>& a, const std::optional<std::string>& b);

}  // namespace korvel
