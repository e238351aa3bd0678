#pragma once
// Which files of txt_in go into the working folder, under which new names,
// and which stay in txt_in and why: decided from the listed names and what
// the caller learnt of each file, before anything moves, so that a file
// that stays never meets a wildcard. Asks the disk nothing itself; the two
// questions it has are the caller's to answer (tests answer from a table).
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "korvel/prepare/file_stamp.h"
#include "korvel/prepare/name_set.h"

namespace korvel {

// Names are indexes into the run's one NameSet of names: at 50,000
// documents, a string per name would make memory grow by hundreds of bytes
// a document.
struct Move {
  uint32_t name;                // in txt_in
  uint32_t new_name = kNoName;  // kNoName for a file that is no document
  std::uintmax_t size = 0;      // and time of change, as planning found the file
  std::int64_t modified = 0;
  static constexpr uint32_t kNoName = UINT32_MAX;
};

struct Stay {
  uint32_t name;
  std::string_view why;  // a phrase of static storage, for "stays in txt_in: <why>."
};

struct MovePlan {
  std::vector<Move> moves;   // copied out by commands, in listing order
  std::vector<Move> direct;  // renamed in txt_in itself: no command can carry their old names
  std::vector<Stay> stays;   // in listing order
  size_t files = 0;          // every listed name but subfolders and names gone since the listing
};

// What planning needs to know of the disk.
struct TxtInFacts {
  // The file of that name in txt_in, as it is now.
  std::function<FileStamp(std::string_view name)> stamp;
  // Whether the file `source` of txt_in may take `name` in the working folder.
  std::function<bool(std::string_view name, std::string_view source)> may_take_working_name;
};

// `names` holds the `listed` names of txt_in; each document's new name is
// added to it where it differs from the old one, so that no two clash.
// `program` is the name korvel was started under.
MovePlan plan_moves(NameSet& names, size_t listed, std::string_view program, const TxtInFacts& facts);

// Whether a move gives its document a new name.
bool is_rename(const Move& move, const NameSet& names);

}  // namespace korvel
