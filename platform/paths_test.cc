#include "platform/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace platform {
namespace {

namespace fs = std::filesystem;

TEST(PathsTest, ProgramPathIsTheRunningExecutable) {
  std::string path = ProgramPath();
  EXPECT_EQ(FileNamePart(path), "platform_tests");
  EXPECT_EQ(ProgramFolder(), std::string(FolderPart(path)));
  EXPECT_EQ(ProgramFolder().back(), '/');
}

TEST(PathsTest, SplitsAtEitherSeparator) {
  struct Case {
    const char* path;
    const char* folder;
    const char* name;
    const char* with_ini;
  };
  const Case cases[] = {
      {"tools/vornak", "tools/", "vornak", "tools/vornak.ini"},
      {"C:\\tools\\Vornak.exe", "C:\\tools\\", "Vornak.exe", "C:\\tools\\Vornak.ini"},
      {"a\\b/c.d\\e", "a\\b/c.d\\", "e", "a\\b/c.d\\e.ini"},
      {"name.tar.gz", "", "name.tar.gz", "name.tar.ini"},
      {"missions\\", "missions\\", "", "missions\\.ini"},
      {"", "", "", ".ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FolderPart(c.path), c.folder);
    EXPECT_EQ(FileNamePart(c.path), c.name);
    EXPECT_EQ(ChangeExtension(c.path, ".ini"), c.with_ini);
  }
}

class PathsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "paths_test.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    fs::create_directories(root_ + "/Data/Sub");
    Touch("Data/Sub/File.TXT");
    for (const char* name : {"mix.txt", "Mix.TXT", "MIX.txt"}) Touch(name);
  }
  void TearDown() override { fs::remove_all(root_); }

  void Touch(const std::string& relative) { std::ofstream(root_ + "/" + relative) << "x"; }

  std::string root_;
};

TEST_F(PathsFileTest, NativePathMatchesComponentsIgnoringCase) {
  struct Case {
    const char* stored;
    const char* native;
  };
  const Case cases[] = {
      {"/data/SUB/file.txt", "/Data/Sub/File.TXT"},
      {"\\DATA\\sub\\FILE.txt", "/Data/Sub/File.TXT"},
      {"/Data/Sub/File.TXT", "/Data/Sub/File.TXT"},
      // The exact spelling wins; otherwise the first match in byte order.
      {"/Mix.TXT", "/Mix.TXT"},
      {"/mIx.TxT", "/MIX.txt"},
      // What matches nothing keeps its spelling, and so does everything after it.
      {"/data/NEW/Sub/Out.scm", "/Data/NEW/Sub/Out.scm"},
      {"/DATA/Sub/New.gsr", "/Data/Sub/New.gsr"},
      {"/data/./sub/../SUB/", "/Data/./Sub/../Sub/"},
      {"/data//sub", "/Data//Sub"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(NativePath(root_ + c.stored), root_ + c.native);
  }
  EXPECT_EQ(NativePath(""), "");
}

TEST_F(PathsFileTest, RelativePathsResolveInTheCurrentDirectory) {
  std::string previous = fs::current_path();
  fs::current_path(root_ + "/Data");
  std::string native = NativePath("sub\\FILE.txt");
  bool exists = FileExists("SUB\\file.TXT");
  fs::current_path(previous);
  EXPECT_EQ(native, "Sub/File.TXT");
  EXPECT_TRUE(exists);
}

TEST_F(PathsFileTest, FileAndFolderTests) {
  fs::create_symlink(root_ + "/Data/Sub/File.TXT", root_ + "/link");
  fs::create_symlink(root_ + "/Data", root_ + "/folder_link");
  EXPECT_TRUE(FileExists(root_ + "\\data\\sub\\file.txt"));
  EXPECT_TRUE(FileExists(root_ + "/LINK"));
  EXPECT_FALSE(FileExists(root_ + "/data"));
  EXPECT_FALSE(FileExists(root_ + "/folder_link"));
  EXPECT_FALSE(FileExists(root_ + "/missing.txt"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(FolderExists(root_ + "\\DATA\\"));
  EXPECT_TRUE(FolderExists(root_ + "/folder_link"));
  EXPECT_FALSE(FolderExists(root_ + "/data/sub/file.txt"));
  EXPECT_FALSE(FolderExists(root_ + "/missing\\"));
}

TEST_F(PathsFileTest, IdentityIsTheSameForEverySpellingAndLink) {
  fs::create_symlink("Data/Sub/File.TXT", root_ + "/link");
  std::optional<FileIdentity> file = IdentityOf(root_ + "/Data/Sub/File.TXT");
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(IdentityOf(root_ + "\\data\\.\\SUB\\file.txt"), file);
  EXPECT_EQ(IdentityOf(root_ + "/Link"), file);
  EXPECT_EQ(IdentityOf(root_ + "/data/../data/sub/file.txt"), file);
  EXPECT_NE(IdentityOf(root_ + "/mix.txt"), file);
  EXPECT_EQ(IdentityOf(root_ + "/missing.txt"), std::nullopt);
}

}  // namespace
}  // namespace platform
