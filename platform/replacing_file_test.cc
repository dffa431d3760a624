#include "platform/replacing_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace platform {
namespace {

namespace fs = std::filesystem;

class ReplacingFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "replacing_file_test.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override { fs::remove_all(root_); }

  void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  // Names in |folder|, sorted, hidden temporary files included.
  std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  mode_t ModeOf(const std::string& path) {
    struct stat info;
    EXPECT_EQ(stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
  }

  std::string root_;
};

TEST_F(ReplacingFileTest, CommitReplacesTheContent) {
  std::string path = root_ + "/main.scm";
  WriteFile(path, "earlier content, longer than the new");
  std::optional<ReplacingFile> file = ReplacingFile::Create(path);
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(Contents(path), "earlier content, longer than the new");
  // Small writes gathered into blocks, then one larger than a block, keep their order.
  std::string big(3 * 1024 * 1024, 'b');
  ASSERT_TRUE(file->Write("head:"));
  ASSERT_TRUE(file->Write(big));
  ASSERT_TRUE(file->Write(":tail"));
  ASSERT_TRUE(file->Commit());
  EXPECT_EQ(Contents(path), "head:" + big + ":tail");
  EXPECT_EQ(Listing(root_), std::vector<std::string>{"main.scm"});
  EXPECT_FALSE(file->Write("more"));
  EXPECT_FALSE(file->Commit());
}

TEST_F(ReplacingFileTest, UncommittedFilesLeaveNoTrace) {
  std::string existing = root_ + "/main.scm";
  WriteFile(existing, "earlier");
  {
    std::optional<ReplacingFile> file = ReplacingFile::Create(existing);
    ASSERT_TRUE(file.has_value());
    ASSERT_TRUE(file->Write("new"));
    file->Discard();
    EXPECT_FALSE(file->Commit());
  }
  {
    std::optional<ReplacingFile> file = ReplacingFile::Create(root_ + "/new.scm");
    ASSERT_TRUE(file.has_value());
    ASSERT_TRUE(file->Write("new"));
    // Moving hands the temporary file on; only the last owner removes it.
    ReplacingFile moved = std::move(*file);
    file.reset();
    EXPECT_EQ(Listing(root_).size(), 2u);
  }
  EXPECT_EQ(Contents(existing), "earlier");
  EXPECT_EQ(Listing(root_), std::vector<std::string>{"main.scm"});
}

TEST_F(ReplacingFileTest, ReplacesTheFileFoundIgnoringCase) {
  fs::create_directory(root_ + "/Out");
  WriteFile(root_ + "/Out/out.scm", "earlier");
  std::optional<ReplacingFile> file = ReplacingFile::Create(root_ + "\\OUT\\OUT.SCM");
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->final_path(), root_ + "/Out/out.scm");
  ASSERT_TRUE(file->Write("new"));
  ASSERT_TRUE(file->Commit());
  EXPECT_EQ(Listing(root_ + "/Out"), std::vector<std::string>{"out.scm"});
  EXPECT_EQ(Contents(root_ + "/Out/out.scm"), "new");
}

TEST_F(ReplacingFileTest, CreateRefusesPathsThatNameNoFile) {
  fs::create_directory(root_ + "/folder");
  for (std::string path : {std::string(), root_ + "/folder", root_ + "/FOLDER\\",
                           root_ + "/missing/out.scm", root_ + "/new/"}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(ReplacingFile::Create(path).has_value());
  }
  EXPECT_EQ(Listing(root_), std::vector<std::string>{"folder"});
}

TEST_F(ReplacingFileTest, LinksAreFollowedToTheFileReplaced) {
  fs::create_directory(root_ + "/real");
  fs::create_directory(root_ + "/links");
  WriteFile(root_ + "/real/target.scm", "earlier");
  fs::create_symlink("../real/target.scm", root_ + "/links/hop.scm");
  fs::create_symlink("hop.scm", root_ + "/links/out.scm");
  std::optional<ReplacingFile> file = ReplacingFile::Create(root_ + "/links/out.scm");
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(Listing(root_ + "/links").size(), 2u);  // the temporary file is beside the target
  ASSERT_TRUE(file->Write("new"));
  ASSERT_TRUE(file->Commit());
  EXPECT_TRUE(fs::is_symlink(root_ + "/links/out.scm"));
  EXPECT_EQ(Contents(root_ + "/real/target.scm"), "new");
  EXPECT_EQ(Listing(root_ + "/real"), std::vector<std::string>{"target.scm"});

  fs::create_symlink("loop.scm", root_ + "/links/loop.scm");
  EXPECT_FALSE(ReplacingFile::Create(root_ + "/links/loop.scm").has_value());
}

TEST_F(ReplacingFileTest, PermissionsOfNewAndReplacedFiles) {
  mode_t mask = umask(022);
  std::optional<ReplacingFile> file = ReplacingFile::Create(root_ + "/new.scm");
  ASSERT_TRUE(file.has_value() && file->Commit());
  EXPECT_EQ(ModeOf(root_ + "/new.scm"), 0644u);

  WriteFile(root_ + "/kept.scm", "earlier");
  fs::permissions(root_ + "/kept.scm", fs::perms(0640));
  file = ReplacingFile::Create(root_ + "/kept.scm");
  ASSERT_TRUE(file.has_value() && file->Commit());
  EXPECT_EQ(ModeOf(root_ + "/kept.scm"), 0640u);
  umask(mask);
}

TEST_F(ReplacingFileTest, FailedRenameRemovesTheTemporaryFile) {
  std::string path = root_ + "/main.scm";
  std::optional<ReplacingFile> file = ReplacingFile::Create(path);
  ASSERT_TRUE(file.has_value());
  ASSERT_TRUE(file->Write("new"));
  // A folder that appears at the path in the meantime cannot be replaced by a file.
  fs::create_directory(path);
  WriteFile(path + "/inside", "x");
  EXPECT_FALSE(file->Commit());
  EXPECT_EQ(Listing(root_), std::vector<std::string>{"main.scm"});
  EXPECT_TRUE(fs::is_directory(path));
}

}  // namespace
}  // namespace platform
