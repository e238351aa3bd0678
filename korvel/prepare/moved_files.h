#pragma once
// What korvel has put into the working folder by moving files out of
// txt_in, kept from run to run in moved_files.list: a later move may replace
// those, but never a file that came from elsewhere (the install's README,
// the user's own files).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "korvel/prepare/name_set.h"

namespace korvel {

using MovedFiles = NameSet;  // each name once; written lower-cased

MovedFiles read_moved_files();

// Writes moved_files.list anew: the names moved earlier, then each name
// added here that is not among them, each once. The names of this run are
// not copied into `earlier`: they are held once, elsewhere.
class MovedFilesWriter {
 public:
  explicit MovedFilesWriter(const MovedFiles& earlier);
  ~MovedFilesWriter();
  MovedFilesWriter(const MovedFilesWriter&) = delete;
  MovedFilesWriter& operator=(const MovedFilesWriter&) = delete;
  void add(std::string_view name);

 private:
  const MovedFiles& earlier_;
  int handle_;
  std::string lower_;  // kept from one name to the next
};

// The names in the working folder when planning began, read once (asking
// the file system about every name costs more at 50,000 documents), kept as
// hashes that ignore letter case. A name whose hash is there
// may be there, and is asked about. Four bytes a name: with 20,000 names
// there, about one lookup in 200,000 asks the file system for nothing. A
// working folder of more names (a later run, with every document of the
// earlier ones in it) is not held: every name is asked about instead.
class WorkingFolderNames {
 public:
  WorkingFolderNames();
  bool may_hold(std::string_view name) const;

 private:
  std::vector<uint32_t> hashes_;  // sorted
  bool every_name_asked_ = false;
};

// Whether a file that comes from txt_in (`source`, native) may take `name` in
// the working folder, which held `present` when planning began: no file has
// that name there in any letter case, or the one there is a scratch file,
// was put there by an earlier move, or already holds the same bytes.
bool may_take_working_name(std::string_view name, const std::string& source, const MovedFiles& moved,
                           const WorkingFolderNames& present);

}  // namespace korvel
