#include "mavren/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/error.h"

namespace mavren {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "mavren-files-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern + "/";
  }
  void TearDown() override { fs::remove_all(folder_); }

  void WriteFile(const std::string& name, const std::string& bytes) {
    std::ofstream(folder_ + name, std::ios::binary) << bytes;
  }
  std::optional<std::string> ReadBack(const std::string& name) {
    std::ifstream in(folder_ + name, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string ErrorOf(const std::function<void()>& run) {
    try {
      run();
    } catch (const platform::Error& error) {
      std::string message = error.what();
      return message.rfind(folder_, 0) == 0 ? message.substr(folder_.size()) : message;
    }
    return "no error";
  }

  std::string folder_;
};

TEST_F(FilesTest, ReadWholeFile) {
  const std::string bytes = std::string("\x02\x00\r\n\x1A", 5) + std::string(3 << 20, 'x');
  WriteFile("main.scm", bytes);
  EXPECT_EQ(ReadWholeFile(folder_ + "main.scm", "input file").text(), bytes);
  EXPECT_EQ(ReadWholeFile(folder_ + "MAIN.SCM", "input file").text(), bytes);  // case is matched
  WriteFile("empty.scm", "");
  EXPECT_EQ(ReadWholeFile(folder_ + "empty.scm", "input file").text(), "");
  // A file whose size is not known beforehand: the memory grows as it is read.
  ASSERT_EQ(mkfifo((folder_ + "pipe.scm").c_str(), 0600), 0);
  std::thread writer([&] { WriteFile("pipe.scm", bytes); });
  const FileBytes piped = ReadWholeFile(folder_ + "pipe.scm", "input file");
  writer.join();
  EXPECT_EQ(piped.text(), bytes);
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(folder_ + "missing.scm", "input file"); }),
            "missing.scm: unable to read the input file: No such file or directory");
  fs::create_directory(folder_ + "folder.scm");
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(folder_ + "folder.scm", "input file"); }),
            "folder.scm: unable to read the input file: Is a directory");
}

TEST_F(FilesTest, FinishedPartsStayAndTheOneBeingWrittenIsRemoved) {
  WriteFile("second.gsr", "an earlier run");
  {
    PartFiles files(nullptr);
    files.Start(100);
    files.BeginPart(folder_ + "first.gsr");
    files.Write("one\r\n");
    files.Write("two\r\n");
    files.EndPart(50);
    files.BeginPart(folder_ + "SECOND.gsr");  // replaces second.gsr
    files.Write("three\r\n");
  }  // the run stopped
  EXPECT_EQ(ReadBack("first.gsr"), "one\r\ntwo\r\n");
  EXPECT_EQ(ReadBack("second.gsr"), std::nullopt);
  EXPECT_EQ(ReadBack("SECOND.gsr"), std::nullopt);

  // A later run replaces a part's file, and writes through a link to it.
  fs::create_symlink(folder_ + "first.gsr", folder_ + "link.gsr");
  PartFiles files(nullptr);
  files.BeginPart(folder_ + "first.gsr");
  files.Write("1\r\n");
  files.EndPart(0);
  files.BeginPart(folder_ + "link.gsr");
  files.Write("2\r\n");
  files.EndPart(0);
  EXPECT_EQ(ReadBack("first.gsr"), "2\r\n");
  EXPECT_TRUE(fs::is_symlink(folder_ + "link.gsr"));
}

TEST_F(FilesTest, CreateAndWriteFailuresStop) {
  fs::create_directory(folder_ + "taken.gsr");
  PartFiles files(nullptr);
  EXPECT_EQ(ErrorOf([&] { files.BeginPart(folder_ + "no/such/folder/main.gsr"); }),
            "no/such/folder/main.gsr: unable to create the file: No such file or directory");
  EXPECT_EQ(ErrorOf([&] { files.BeginPart(folder_ + "taken.gsr"); }),
            "taken.gsr: unable to create the file: Is a directory");
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  fs::create_symlink("/dev/full", folder_ + "full.gsr");
  files.BeginPart(folder_ + "full.gsr");
  EXPECT_EQ(ErrorOf([&] { files.Write(std::string(1 << 16, 'x')); }),
            "full.gsr: unable to write the file: No space left on device");
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder_ + "full.gsr")));
}

}  // namespace
}  // namespace mavren
