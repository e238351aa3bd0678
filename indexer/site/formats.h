#pragma once
// Every file of the site that a script reads, in one place. The browser's
// side mirrors this comment in the script that reads each (text_store.js,
// entry.js, lines.js, word_lists.js, search_data.js, velmor.js, query.js); a change
// here is a change there. The values both sides use (the digits, the
// separators, the file names and callbacks) are written once, in
// format_constants.h, which the scripts read as formats.js
// (format_script.h); format_cases.tsv works an example of each encoding,
// for the writers' test and the scripts' alike.
//
// All of them are scripts that call a function the page defines, because
// pages opened from file:// may load scripts but not fetch files. Each
// starts with a UTF-8 byte order mark, so it reads as UTF-8 whatever page
// loads it.
//
// page.htm?d=N: the viewer of every document, at the Nth (from 1; the first
//   with no ?d=). What follows "#" marks a word (document_page.js). It
//   holds <pre id=t data-docs=D>, D the corpus's documents; all else it
//   shows comes from the document's text store.
//
// text/FFF/d_NNNN.js: one document's text, stored once for every use (the
//   viewer, the lines of the entries, double-click, collocates). FFF is
//   (N - 1) / PER, three digits or more, PER the documents to a folder
//   (layout.h): every page that loads text_store.js names it in that
//   script's tag, <script src=text_store.js data-per-folder=PER>.
//     velmorText(N, TEXT, CODE, KEYWORDS, ABOUT, STRETCHES)
//   N     the document's number from 1, as in its file name and page.htm?d=N.
//   TEXT  the document's text, lines joined by "\n", as a template literal.
//   CODE  the document's words in reading order, as a string of numbers in
//         the store's digits (below). Decoded (text_store.js does it), it is
//         the flat list [gap, length, rank, gap, length, rank, ...]: per word
//         the UTF-16 units from the end of the word before (from the text's
//         start for the first), its length in UTF-16 units and its rank, the
//         position of its entry in collation order.
//   A separator is a UTF-16 unit below 128 that is not an ASCII letter or
//   digit. Most gaps and lengths are what a reader of the text guesses from
//   them, and are left out:
//     the guessed gap     the separators from the end of the word before on;
//     the guessed length  the units up to the first separator (or the end).
//   CODE is, in order:
//     D                       how many distinct (rank, length) pairs follow
//     D times: 2*dr+written   the pairs by rank, then length; dr is the rank
//              [length]       less the previous pair's rank (from 0); the
//                             length follows when written = 1, else it is
//                             the guessed one at every word of the pair
//     F, then F pair numbers  the pairs used most, most used first
//     per word: 2*n+written   n numbers the pairs: the F first, then the
//              [gap]          others in their order; the gap follows when
//                             written = 1, else it is the guessed one.
//   The store's digits: a number is written least significant digit first
//   in base kDigitBase (45); a digit d is the character kDigits[d] when it
//   is the last of its number, kDigits[kDigitBase + d] when more follow. kDigits is the printable
//   ASCII from '#' to '~' without '<' and '\', so a CODE string needs no
//   escapes and never holds "</script".
//   KEYWORDS the words most key to the document against the rest of the
//         corpus, most key first: [[RANK, COUNT, LL, LR, FORM], ...] with
//         COUNT its occurrences here, LL the log-likelihood, LR the log
//         ratio (log2 of its relative frequency here over the rest's).
//   ABOUT  [TITLE, FILE, WORDS, DISTINCT, LINES]: the document's title, its
//         file's name in the input folder, its words, distinct words and
//         lines.
//   STRETCHES where the document's words part into stretches no cluster
//         runs across (sentences and blocks, words/stretches.h): the
//         number of each word that begins one, the first word left out, as
//         numbers in the store's digits, each less the one before (the
//         first as it is). "" when the document is one stretch.
//   Readers ignore arguments they do not know: later ones may be added.
//   Example: "ab cd ab" with ranks ab = 0, cd = 1 is the pairs (0, 2) and
//   (1, 2), both of guessed length; pair 0 is used twice, too few to go
//   first; each word's gap is guessed: the numbers 2, 0, 2, 0, 0, 2, 0,
//   written "%#%##%#". "ab_cd" (one word) writes its length, 5, and
//   "(ab" its gap, 1.
//
// i_NNN.htm: a file of entries. Its words stand in
//     <script type=application/json id=entry-data>{"first": RANK, "file": F,
//       "tokens": N, "docs": D, "window": [LEFT, RIGHT], "words": [WORD, ...],
//       "dp": [DP, ...]}
//   one WORD and one DP per rank from RANK on, F the file's number from 0, N
//   the words and D the documents of the corpus. DP, here and in the lists
//   below, is the word's dispersion, Gries' DPnorm (measures/dispersion.h),
//   in thousandths from 0 to 1000; null in a corpus of fewer than two
//   documents with words. A WORD is
//     [FORM, DOCS]                        or, for a frequent word,
//     [FORM, DOCS, COLLOCATES, CLUSTERS]
//   DOCS   per document the word occurs in, in order: 2*gap+more, then the
//          count less 2 when more = 1 (else the count is 1); gap counts the
//          documents passed over since the previous one (from document 0),
//          in the store's digits.
//   COLLOCATES  [[RANK, FREQUENCY, DIST, FORM], ...] best log-Dice first:
//          the words within LEFT words before and RIGHT after that are
//          among the best 12 by any of the five measures of
//          measures/association.h (log-Dice, MI, MI3, t-score and
//          log-likelihood, defined there), each paired at least 3 times.
//          FREQUENCY is the collocate's count in the corpus. DIST is ten
//          numbers in the store's digits: the pairs with the collocate 5,
//          4, 3, 2 and 1 words before the word, then 1 to 5 after. Pairs
//          join an occurrence of each, none in two pairs, so their sum
//          (TOGETHER) is at most either word's count. The reader sums the
//          distances of the window it wants and ranks by any measure
//          (association.js); a pair was made in the widest window, so a
//          narrower one counts the pairs that the widest made within it.
//          Example: [42,310,"##%$#($###","harbour"]: "harbour" (rank 42,
//          310 times in the corpus) twice 3 words before, once 2 before, 5
//          times just after and once 2 after: 9 together.
//   CLUSTERS    [[COUNT, AT, [RANK, ...], TEXT], ...] most frequent first:
//          runs of 2 to 4 words, the entry's word at place AT (from 0).
//   An address "i_NNN.htm#rRANK" opens the word's entry; "#rRANK~c=R" its
//   lines with the collocate R, "#rRANK~n=R1.R2.R3~at=A" those in a cluster.
//
// s_freq_NNN.htm, s_once_NNN.htm: a page of a word list. Its words stand in
//     <script type=application/json id=list-data>{"from": I, "tokens": N,
//       "name": NAME, "words": [[FORM, RANK, COUNT, DP, DOCUMENTS], ...]}
//   I the place of the page's first word in the whole list (from 0), N the
//   corpus's words, NAME what a saved copy is called. RANK is the word's
//   rank less the previous row's (the first row's as it is). DOCUMENTS is
//   left out when it equals COUNT, here and in the A-Z pages' rows.
//
// index_NNN.htm: a page of the A-Z list. Its words stand in
//     <script type=application/json id=words-data>{"first": RANK, "name":
//       NAME, "files": [[RANK, F], ...], "letters": [[RANK, LETTER], ...],
//       "words": [[FORM, COUNT, DP, DOCUMENTS], ...]}
//   one word per rank from RANK on, in collation order, so a word's place
//   is its rank. "files": from each RANK on, the entries are in file F
//   (i_NNN.htm, F from 0), the first pair at the page's first rank.
//   "letters": the headings, each before the word of its RANK: the first
//   word of the page and each word whose initial differs from the one
//   before. A heading has the anchor id=aRANK, which the alphabet bar
//   links to (index_002.htm#a3); the script scrolls to it once drawn.
//   NAME is what a saved copy is called.
//
// lookup/keys.js, lookup/k_NNNN.js: the search box's data, every word by
//   its search key (words.h: no accents, case or width), then rank.
//     velmorShards([FIRST, ...])     the first search key of each shard
//     velmorKeys(N, ROWS)            the rows of shard N (k_0000.js first),
//                                    all shards full but the last
//   ROWS is one string, a line per word, each ending in "\n":
//     SEARCH \t KEY \t FORM \t RANK \t COUNT \t DP [\t DOCUMENTS]
//   KEY empty when it is SEARCH, FORM empty when it is KEY, DP empty when
//   there is none, DOCUMENTS left out when it is COUNT; the word's entry is
//   RANK's (lookup/entries.js).
//   Read whole, the shards are the whole word list, which the list pages
//   save as one TSV. No field holds a tab or a line end. One
//   string rather than an array of rows loads almost three times faster
//   (all 425,723 words of the bench corpus in 0.3 s in Chromium), and a
//   pattern with a leading * or ?, which reads every shard, is one regular
//   expression over each; a prefix is a binary search over the shards'
//   first keys, then over one shard's lines.
//
// lookup/entries.js: which entry file holds which word.
//     velmorEntries([FIRST, ...])
//   The rank of the first word of each entry file i_NNN.htm, in order
//   (i_001.htm first), so a rank's file is a binary search away; its entry
//   is i_NNN.htm#rRANK.
//
// lookup/sizes.js: every document's size, for the entries' dispersion plots
//   and the query page's places (below).
//     velmorSizes([WORDS, ...])
//   The words of each document, in input order.
//
// query/files.js, query/p_NNNN.js: where every word stands, for the query
//   page (query.htm, query.js; positions.h writes them).
//     velmorPositionFiles([FIRST, ...])   the rank of the first word of
//                                          each p_NNNN.js, p_0000.js first
//     velmorPositions(N, [CODE, ...])     one CODE per rank from file N's
//                                          FIRST on, in rank order
//   A CODE is the word's places in the store's digits: a place is the
//   occurrence's ordinal in its document plus the words of all documents
//   before it (lookup/sizes.js), the first written as it is and each next
//   less the one before less 1. A file closes once it holds 50,000
//   occurrences or more (more a file when that would make more than half
//   of a folder's files), a word is never split, so the commonest words
//   have files of their own.
//   Example: documents of 10 and 20 words, a word at ordinals 3 of the
//   first and 20 of the second: places 3 and 30, numbers 3 and 26, written
//   "&>". Another at ordinal 5 of the second alone: "2" (15).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "indexer/site/format_constants.h"

namespace velmor {

inline void append_store_number(std::string& out, uint64_t value) {
  while (value >= kDigitBase) {
    out += kDigits[kDigitBase + value % kDigitBase];
    value /= kDigitBase;
  }
  out += kDigits[value];
}

}  // namespace velmor
