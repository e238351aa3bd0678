#pragma once
// Words of a line, their keys and their alphabetical order. ICU does the
// work; this header is the only way into it, so that a build against another
// copy of ICU changes nothing above it. All but the alphabet bar's letters
// use ICU's C API; those need its C++ AlphabeticIndex (collation.cc).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

struct WordSpan {
  uint32_t begin;   // byte offset in the line
  uint32_t length;  // bytes
};

// The rules that decide what a word is, each a default the user can switch
// off. Words are first Unicode's word segments that hold a letter or a
// digit: "don't", "3.14", "a.out", "e.g" (without its last dot) and
// "user@example.org" are one word each, blanks and punctuation none. Then:
struct WordRules {
  // An elided article or pronoun is a word of its own: "l'homme" is "l'"
  // and "homme", "dell'arte" is "dell'" and "arte" (see elided_length).
  bool split_elision = true;
  // Apostrophe look-alikes are "'" in keys: "l’option" meets "l'option".
  bool unify_apostrophes = true;
};

// The bytes of an elided article or pronoun at the start of a word, with
// its apostrophe: 2 for "l'homme" and "L’homme", 5 for "dell'arte", 3 for
// "qu'il"; 0 for "don't", "O'Brien", "aujourd'hui", "Dell's" and "l'2".
size_t elided_length(std::string_view word);

// The bytes of the apostrophe look-alike at text[i]: ' (1), U+2019 and
// U+2018 (3), U+02BC (2), U+FF07 (3); 0 when there is none.
size_t apostrophe_at(std::string_view text, size_t i);
// Each apostrophe look-alike of `key` becomes "'".
void unify_apostrophes(std::string& key);

// Word segments of a line by the rules. One splitter per thread.
class WordSplitter {
 public:
  explicit WordSplitter(WordRules rules = {});
  ~WordSplitter();
  WordSplitter(const WordSplitter&) = delete;
  WordSplitter& operator=(const WordSplitter&) = delete;
  // Replaces `out` with the words of `line` (valid UTF-8), in order.
  void split(std::string_view line, std::vector<WordSpan>& out);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  WordRules rules_;
};

// The key of a written word: NFC, then full case folding, so "Straße" and
// "STRASSE" both give "strasse" and "ΟΔΟΣ" and "οδος" meet. Accents stay:
// "čas" and "cas" are different words. Apostrophe look-alikes become "'".
// Safe from any thread.
std::string fold_key(std::string_view word);
void fold_key(std::string_view word, std::string& out);
// The same without the apostrophe rule.
std::string fold_key_keeping_apostrophes(std::string_view word);
// The identity key under `rules`.
using KeyFunction = std::string (*)(std::string_view word);
KeyFunction key_function(const WordRules& rules);

// What the search box matches a typed word against, forgiving what a reader
// leaves out, as ICU's primary strength does: compatibility forms, accents
// and marks, case (with final sigma and ß as ss), dotless i, the letters
// with strokes (đ ł ø ħ ð), æ and œ, katakana for hiragana, and apostrophe
// look-alikes. "Über", "ÜBER" and "uber" give "uber"; "İSİM" and "ısım"
// give "isim"; "Ａｒｃｈｉｖｅ" gives "archive". The site's script does the
// same to what is typed (search_key_cases.tsv holds the cases both check).
std::string search_key(std::string_view word);

// ICU collation for a locale. One per thread.
class Collation {
 public:
  // "" or "root" is the root collation. A name ICU has no data for throws
  // std::invalid_argument, rather than sorting silently by another order.
  explicit Collation(const std::string& locale);
  ~Collation();
  Collation(const Collation&) = delete;
  Collation& operator=(const Collation&) = delete;

  // Bytes that order like the collation: compare them with std::string's <.
  // Different words can collate equal; break such ties by their keys.
  std::string sort_key(std::string_view word) const;
  // The letter the word files under in an alphabet bar: the label of ICU's
  // alphabetic index for the locale, with the letters of the other scripts
  // added: "Č" for "čas" in "sl", "C" in root, "CH" for "chata" in "cs",
  // "Đ" for "Đorđe" in "hr" but "D" in root, "S" for "ßig", "あ" for
  // "アメ". A word starting with a digit files under "0-9", with a symbol
  // under "#", a Han ideograph under "漢". Words of one initial stand
  // together in collation order.
  std::string initial(std::string_view word) const;
  // The locale ICU uses, "root" for the root collation.
  const std::string& name() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The collation locale from the environment (LC_ALL, then LC_COLLATE, then
// LANG), without codeset or modifier: "sl_SI" for "sl_SI.UTF-8"; when none
// is set, the system's (on Windows the user's regional format, where LANG
// is seldom set). "" for C or POSIX. The name may still be one ICU does
// not know.
std::string locale_from_environment();
// The user's locale as the system keeps it outside the environment: "" on
// POSIX, "sl_SI" for Windows' "sl-SI".
std::string system_locale();

}  // namespace velmor
