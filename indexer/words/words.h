#pragma once
// Words of a line, their keys and their alphabetical order. ICU does the
// work; this header is the only way into it, so that a build against another
// copy of ICU's C API (Windows' icu.dll) changes nothing above it.
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

// Word segments of a line by Unicode word boundaries; a word is a segment
// holding a letter or a digit, so "don't", "l'homme" and "3.14" are one word
// each and blanks and punctuation are none. One splitter per thread.
class WordSplitter {
 public:
  WordSplitter();
  ~WordSplitter();
  WordSplitter(const WordSplitter&) = delete;
  WordSplitter& operator=(const WordSplitter&) = delete;
  // Replaces `out` with the words of `line` (valid UTF-8), in order.
  void split(std::string_view line, std::vector<WordSpan>& out);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The key of a written word: NFC, then full case folding, so "Straße" and
// "STRASSE" both give "strasse" and "ΟΔΟΣ" and "οδος" meet. Accents stay:
// "čas" and "cas" are different words. Safe from any thread.
std::string fold_key(std::string_view word);
void fold_key(std::string_view word, std::string& out);

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
  // The letter the word files under in an alphabet bar, in upper case:
  // "Č" for "čas" in "sl", "C" in root, "CH" for "chata" in "cs", "S" for
  // "ßig". Words starting with a digit file under "0-9", Han ideographs
  // under "漢". Words of one initial stand together in collation order.
  std::string initial(std::string_view word) const;
  // The locale ICU uses, "root" for the root collation.
  const std::string& name() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The collation locale from the environment (LC_ALL, then LC_COLLATE, then
// LANG), without codeset or modifier: "sl_SI" for "sl_SI.UTF-8". "" when
// unset, C or POSIX. The name may still be one ICU does not know.
std::string locale_from_environment();

}  // namespace velmor
