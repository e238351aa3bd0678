#include "korvel/prepare/local_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "korvel/testing/e2e.h"

namespace korvel {

namespace fs = std::filesystem;

// Only a file a finished copy can leave passes: an older file left where the
// copy should be must differ from the source in kind, size, or time and
// bytes. Same size and time is taken on trust, without reading.
TEST(LocalFiles, AFinishedCopyHasItsSourcesKindSizeAndTimeOrBytes) {
  struct Case {
    const char* name;
    const char* copy;  // "" for none, "/" for a folder
    bool same_time;
    bool finished;
  };
  const Case cases[] = {
      {"missing", "", true, false},
      {"folder", "/", true, false},
      {"shorter, same time", "docum", true, false},
      {"other bytes of the same length, older", "DOCUMENT", false, false},
      {"same bytes, older (times not kept)", "document", false, true},
      {"other bytes of the same length, same time", "DOCUMENT", true, true},
      {"same bytes, same time", "document", true, true},
  };
  WorkFolder work;
  fs::path source = work.path / "source.txt", copy = work.path / "copy.txt";
  write_file(source, "document");
  for (const Case& c : cases) {
    fs::remove_all(copy);
    if (std::string(c.copy) == "/") {
      fs::create_directory(copy);
    } else if (*c.copy) {
      write_file(copy, c.copy);
      fs::last_write_time(copy, fs::last_write_time(source) - std::chrono::hours(c.same_time ? 0 : 1));
    }
    EXPECT_EQ(is_finished_copy(copy.string(), source.string(), stamp_of(source.string())), c.finished) << c.name;
  }
  fs::remove(source);
  write_file(copy, "document");
  EXPECT_FALSE(is_finished_copy(copy.string(), source.string(), stamp_of(source.string()))) << "source gone";
}

}  // namespace korvel
