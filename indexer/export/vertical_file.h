#pragma once
// The export's file on disk: written under a name of its own beside the
// final one and renamed over it when complete, so a failed or interrupted
// export leaves the earlier file whole and no half file under its name.
#include <memory>
#include <string>

#include "indexer/site/out_file.h"

namespace velmor {

enum class ExistingExport {
  absent,
  ours,      // empty, or an earlier export (looks_like_export): may be replaced
  theirs,    // a file of something else: never replaced
  not_file,  // a folder or the like
};

// What stands at `file` now.
ExistingExport existing_export(const std::string& file);

// The name the export is written under until complete.
std::string part_name(const std::string& file);

class VerticalFile {
 public:
  explicit VerticalFile(const std::string& file);
  ~VerticalFile();  // without commit(), the part written so far goes
  VerticalFile(const VerticalFile&) = delete;
  VerticalFile& operator=(const VerticalFile&) = delete;

  std::string& text() { return out_->text(); }
  void spill() { out_->spill(); }
  // Writes the rest and gives the file its name; throws naming the file.
  void commit();

 private:
  std::string file_, part_;
  std::unique_ptr<OutFile> out_;
  bool committed_ = false;
};

}  // namespace velmor
