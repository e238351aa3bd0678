#include "prepare/local_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "testing/e2e.h"

namespace fs = std::filesystem;

// Only the file a finished copy leaves passes: an older file left where the
// copy should be must differ from the source in kind, size or time.
TEST(LocalFiles, AFinishedCopyHasItsSourcesKindSizeAndTime) {
  struct Case {
    const char* name;
    const char* copy;  // "" for none, "/" for a folder
    bool same_time;
    bool finished;
  };
  const Case cases[] = {
      {"missing", "", true, false},
      {"folder", "/", true, false},
      {"same bytes, older", "document", false, false},
      {"other bytes of the same length, same time", "DOCUMENT", true, true},
      {"shorter, same time", "docum", true, false},
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
    EXPECT_EQ(is_finished_copy(copy.string(), source.string()), c.finished) << c.name;
  }
  fs::remove(source);
  write_file(copy, "document");
  EXPECT_FALSE(is_finished_copy(copy.string(), source.string())) << "source gone";
}
