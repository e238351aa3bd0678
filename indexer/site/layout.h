#pragma once
// Where the site's files go, so that it copies whole to any disk a reader
// carries it on. A FAT32 folder takes at most 65,534 entries, a long name
// two or more of them, and file managers crawl on folders of tens of
// thousands: with a page per document, the 1 GB bench corpus put 38,827
// pages and 38,827 text stores in two folders. So no folder holds more
// than the limit:
//   - the documents share one viewer, page.htm?d=N (formats.h);
//   - their text stores go into folders of `limit` documents each,
//     text/000/d_0001.js, text/001/d_10001.js, ...;
//   - the query page's positions, query/p_NNNN.js, hold more occurrences
//     a file rather than pass half the limit (positions.h);
//   - the families of numbered pages in the top folder (i_, index_,
//     s_freq_, s_once_) and the search box's shards in lookup/ hold more
//     words each as the corpus grows, rather than growing in number:
//     nothing changes below about five million distinct words.
// Every name is lower-case ASCII letters, digits and "_" with one ".", and
// at most 20 characters: nothing FAT32 or exFAT refuses or folds together.
#include <cstddef>
#include <cstdint>
#include <string>

namespace velmor {

// The most files (and folders) one folder of the site holds.
constexpr uint32_t kMaxFilesPerFolder = 10000;

// The top folder's files that do not grow with the corpus: index.htm,
// page.htm, s_docs.htm, s_ngrams.htm, query.htm, the scripts, the style
// sheet, the index marker and the folders text/, lookup/ and query/; 25
// today, with room.
constexpr uint32_t kFixedTopFiles = 40;

// The most pages one family of numbered pages keeps in the top folder:
// a quarter of what the fixed files leave of `limit`, at least one.
uint32_t family_share(uint32_t limit);

// `usual` items a file, or more when that would make more than
// `most_files` files of `items`.
size_t items_per_file(size_t items, size_t usual, size_t most_files);

// "text/000/d_0001.js" for the first document, `per_folder` to a folder.
std::string text_store_file(uint32_t doc, uint32_t per_folder);

// "page.htm?d=1": the viewer at the first document.
std::string page_address(uint32_t doc);

// The limit a test sets with VELMOR_FOLDER_FILES, so that a small corpus
// is split as a big one is: `value` is the variable's (nullptr when
// unset, which gives kMaxFilesPerFolder). Throws std::runtime_error on
// anything but a number from kFixedTopFiles + 4 to kMaxFilesPerFolder.
uint32_t folder_limit_from(const char* value);

}  // namespace velmor
