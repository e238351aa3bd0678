#pragma once
// What flows between the indexer's stages, in one direction:
//
//   read      page file   -> Document          (read/)
//   words     Document    -> word tokens, keys, where sentences and blocks part (words/)
//   postings  tokens      -> Corpus             (postings/, spills to disk past its budget)
//   measures  Corpus, a word's occurrences -> WordMeasures (dispersion,
//             collocates, clusters), a document -> its keywords, and the
//             corpus's n-grams and dispersions gathered as words are measured
//             (measures/corpus_measures.h)
//   site      Corpus, measures -> htm_out       (site/, which only writes them)
//
// or, with --vertical, read and words straight on to one file:
//
//   export    Document    -> vertical file      (export/, no Corpus made)
//
// The measures run as the site asks for them, word by word, because each
// reads the word's postings, which the entries read anyway: the entries
// first, then the word lists, look-up data and n-grams that show what the
// measures gathered. Escaping for every format the site and the export
// write is escape.h's.
//
// Each stage depends only on this header and on the stages before it, so
// each can be tested with hand-made values of these types.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

// One input page as plain text, as the reader made it.
struct Document {
  std::string file_name;           // name in the input folder, "My_Notes.htm"
  std::string title;               // the page's title, else its file name
  std::vector<std::string> lines;  // valid UTF-8, no line ends
  // The lines, ascending, that go on from the one before within one block
  // (a paragraph, a cell, a list item): after a <br>, or a line end of a
  // <pre> or a text file. Any other line begins a block of its own.
  std::vector<uint32_t> continued_lines;
  // The words (by their ordinal) that begin a stretch no cluster runs
  // across, the first word left out: after a sentence's end, a block's, or
  // a blank line (words/stretches.h). The words stage fills it in.
  std::vector<uint32_t> stretch_starts;
  uint64_t bytes = 0;          // size of the page file
  uint64_t invalid_bytes = 0;  // bytes that were not UTF-8, now U+FFFD
};

// Where one occurrence of a word stands.
// Where in its line it stands is the document's tokens' (Corpus::tokens)
// at the ordinal: the postings need not carry it twice.
struct Occurrence {
  uint32_t doc;      // document number, 0-based, in input order
  uint32_t ordinal;  // the word's number among the document's words, 0-based
};

// One word of a document, in reading order: which word, and where it stands.
struct WordToken {
  uint32_t rank;    // the word's rank in collation order
  uint32_t line;    // index into the document's lines
  uint32_t begin;   // byte offset of the word in that line
  uint32_t length;  // bytes of the word as written
};

struct DocumentInfo {
  std::string file_name;
  std::string title;
  uint64_t tokens = 0;    // words in the document
  uint32_t distinct = 0;  // distinct word keys in the document
  uint32_t lines = 0;
  uint64_t bytes = 0;
  uint64_t invalid_bytes = 0;
};

struct WordInfo {
  std::string key;      // NFC, then full case folding: "strasse" for "Straße"
  std::string form;     // the most frequent written form
  std::string initial;  // the collation's letter it files under: "Č" for "čas"
  uint64_t count = 0;
  uint32_t documents = 0;
};

// The finished corpus as the site stage reads it: documents in input order,
// words in collation order (rank 0 first). All members are safe to call from
// several threads at once.
class Corpus {
 public:
  virtual ~Corpus() = default;
  virtual uint32_t document_count() const = 0;
  virtual const DocumentInfo& document(uint32_t doc) const = 0;
  virtual std::string_view line(uint32_t doc, uint32_t line) const = 0;
  virtual size_t word_count() const = 0;
  virtual const WordInfo& word(size_t rank) const = 0;
  // Every occurrence of the word, by document, then place in it.
  virtual void occurrences(size_t rank, std::vector<Occurrence>& out) const = 0;
  // The document's words in reading order as ranks alone: measures read
  // them by position, a word's neighbours at its ordinal plus or minus a few.
  virtual std::span<const uint32_t> sequence(uint32_t doc) const = 0;
  // The same words with where each stands, appended to `out`.
  virtual void tokens(uint32_t doc, std::vector<WordToken>& out) const = 0;
  // The document's Document::stretch_starts, appended to `out`. Kept on
  // disk with the words: a sentence takes 4 bytes, which at 5 GB of text
  // would be some 200 MB held for the whole run.
  virtual void stretch_starts(uint32_t doc, std::vector<uint32_t>& out) const = 0;
  // A corpus read from files may hold what was read in memory until told
  // that it will not soon be read again: the site stage reads each line,
  // each word's postings and each document's tokens about once.
  virtual void forget_read_pages() const {}
};

}  // namespace velmor
