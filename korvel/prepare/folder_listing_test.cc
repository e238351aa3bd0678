#include "korvel/prepare/folder_listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvel/testing/e2e.h"

namespace korvel {

TEST(LineNamesFolder, OnlyTheFoldersOwnNameCounts) {
  struct Case {
    std::string line;
    bool full_listing, expected;
  };
  const std::vector<Case> cases = {
      {"htm_in", false, true},
      {"HTM_IN", false, true},
      {"  htm_in  ", false, true},
      {"old_htm_in", false, false},
      {"htm_in_old", false, false},
      {"x htm_in", false, false},
      {"", false, false},
      {"12/07/2026  07:44 AM    <DIR>          htm_in", true, true},
      {"12/07/2026  07:44 AM    <DIR>          Htm_In   ", true, true},
      {"12/07/2026  07:44 AM    <DIR>          old_htm_in", true, false},
      {"12/07/2026  07:44 AM    <DIR>          htm_in.bak", true, false},
      {" Directory of C:\\work\\htm_in", true, false},
      {" Directory of /tmp/htm_in", true, false},
      {"htm_in", true, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(line_names_folder(c.line, "htm_in", c.full_listing), c.expected) << '"' << c.line << '"';
}

TEST(ListingNamesFolder, ReadsEveryLineOfTheListing) {
  WorkFolder folder;
  write_file("dir_01.txt", "old_txt_wrk\r\nhtm_in\r\ntxt_in\r\n");
  EXPECT_TRUE(listing_names_folder("dir_01.txt", "txt_in", false));
  EXPECT_FALSE(listing_names_folder("dir_01.txt", "txt_wrk", false));
  EXPECT_FALSE(listing_names_folder("missing.txt", "txt_in", false));
}

}  // namespace korvel
