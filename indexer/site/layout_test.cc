#include "indexer/site/layout.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace velmor {
namespace {

TEST(Layout, TextStoresGoIntoFoldersOfTheLimit) {
  struct Case {
    uint32_t doc, per_folder;
    const char* file;
  } cases[] = {
      {0, kMaxFilesPerFolder, "text/000/d_0001.js"},
      {9999, kMaxFilesPerFolder, "text/000/d_10000.js"},
      {10000, kMaxFilesPerFolder, "text/001/d_10001.js"},
      {38826, kMaxFilesPerFolder, "text/003/d_38827.js"},
      {120, 50, "text/002/d_0121.js"},
      {99999, 50, "text/1999/d_100000.js"},
  };
  for (const Case& c : cases) EXPECT_EQ(text_store_file(c.doc, c.per_folder), c.file);
  EXPECT_EQ(page_address(0), "page.htm?d=1");
}

TEST(Layout, FamiliesGrowTheirFilesNotTheirNumber) {
  EXPECT_EQ(family_share(kMaxFilesPerFolder), (kMaxFilesPerFolder - kFixedTopFiles) / 4);
  EXPECT_EQ(family_share(kFixedTopFiles + 4), 1u);
  EXPECT_GE(kMaxFilesPerFolder, kFixedTopFiles + 4 * family_share(kMaxFilesPerFolder));
  EXPECT_EQ(items_per_file(425723, 2000, 2490), 2000u);
  EXPECT_EQ(items_per_file(8000000, 2000, 2490), 3213u);
  EXPECT_EQ(items_per_file(5, 2000, 0), 2000u);
}

TEST(Layout, OnlyATestSetsAnotherLimit) {
  EXPECT_EQ(folder_limit_from(nullptr), kMaxFilesPerFolder);
  EXPECT_EQ(folder_limit_from("44"), 44u);
  EXPECT_EQ(folder_limit_from("10000"), 10000u);
  for (const char* bad : {"", "43", "10001", "12x", "-50", " 50", "99999999999999999999"})
    EXPECT_THROW(folder_limit_from(bad), std::runtime_error) << bad;
}

}  // namespace
}  // namespace velmor
