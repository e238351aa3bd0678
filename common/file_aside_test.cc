#include "common/file_aside.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace common {
namespace {

namespace fs = std::filesystem;

class FileAsideTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "common-aside-XXXXXX").string();
    ASSERT_TRUE(mkdtemp(pattern.data()));
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string at(const char* name) const { return (dir / name).string(); }
  std::string read(const char* name) const {
    std::ifstream in(dir / name, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
  }
  void make(const char* name, const char* text) const { std::ofstream(dir / name, std::ios::binary) << text; }
  size_t files() const { return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {})); }
  fs::path dir;
};

TEST_F(FileAsideTest, TheTargetChangesOnlyWhenTheNewContentIsWhole) {
  make("doc.txt", "old");
  make("doc.part", "left by a killed run");
  {
    FileAside file;
    ASSERT_TRUE(file.open(at("doc.part"), 0644));
    ASSERT_TRUE(file.write("new "));
    EXPECT_EQ(read("doc.txt"), "old");
    ASSERT_TRUE(file.write("text"));
    ASSERT_TRUE(file.commit(at("doc.txt")));
  }
  EXPECT_EQ(read("doc.txt"), "new text");
  EXPECT_EQ(files(), 1u);

  struct Case {
    const char* what;
    bool commit;
    const char* target;
  } cases[] = {
      {"abandoned", false, "doc.txt"},
      {"dropped unfinished", false, nullptr},
      {"renamed into a folder that is not there", true, "missing/doc.txt"},
  };
  for (const Case& c : cases) {
    {
      FileAside file;
      ASSERT_TRUE(file.open(at("doc.part"), 0644));
      ASSERT_TRUE(file.write("cut short"));
      if (c.commit) EXPECT_FALSE(file.commit(at(c.target))) << c.what;
      else if (c.target) file.abandon();
    }
    EXPECT_EQ(read("doc.txt"), "new text") << c.what;
    EXPECT_EQ(files(), 1u) << c.what;
  }
}

TEST_F(FileAsideTest, GoesThroughTheOperationsItIsGiven) {
  static int made = 0, renamed = 0, removed = 0;
  static constexpr FileOps kCounted = {
      [](const std::string& path, int flags, mode_t mode) { return ++made, kPlainFileOps.create(path, flags, mode); },
      [](const std::string& from, const std::string& to) { return ++renamed, kPlainFileOps.rename(from, to); },
      [](const std::string& path) { return ++removed, kPlainFileOps.remove(path); },
  };
  FileAside file(kCounted);
  ASSERT_TRUE(file.open(at("a.part"), 0600));
  ASSERT_TRUE(file.commit(at("a.txt")));
  ASSERT_TRUE(file.open(at("b.part"), 0600));
  file.abandon();
  EXPECT_EQ((std::array{made, renamed, removed}), (std::array{2, 1, 1}));
  struct stat st;
  ASSERT_EQ(stat(at("a.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace common
