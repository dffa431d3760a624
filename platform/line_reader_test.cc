#include "platform/line_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> AllLines(LineReader reader) {
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.Next(&line)) lines.emplace_back(line);
  return lines;
}

struct LineCase {
  std::string_view bytes;
  std::vector<std::string> lines;
};

// Written with explicit lengths, since several inputs hold bytes that end a C string early.
const LineCase kLineCases[] = {
    {"", {}},
    {"one", {"one"}},
    {"one\r\ntwo\r\n", {"one", "two"}},
    {"one\ntwo\n", {"one", "two"}},
    {"one\r\ntwo", {"one", "two"}},
    {"\n\n", {"", ""}},
    {"\r\n", {""}},
    {"a\rb\r\nc", {"ab", "c"}},
    {"a\r\r\nb", {"a", "b"}},
    {"tail\r", {"tail"}},
    {"\r", {""}},
    {"one\r\n\x1A\r\ntwo\r\n", {"one"}},
    {"\x1A", {}},
    {"one\n\x1Atwo\nthree\n", {"one"}},
    {"a\x1A\nb", {"a\x1A", "b"}},
    {"tab\there \n", {"tab\there "}},
    {std::string_view("nul\0byte\n", 9), {std::string("nul\0byte", 8)}},
};

TEST(LineReaderTest, SplitsBytesIntoLines) {
  for (const LineCase& c : kLineCases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
    EXPECT_EQ(AllLines(LineReader::FromMemory(c.bytes)), c.lines);
  }
}

TEST(LineReaderTest, ViewStaysValidUntilTheNextCall) {
  LineReader reader = LineReader::FromMemory("x\ry\nplain\n");
  std::string_view first;
  ASSERT_TRUE(reader.Next(&first));
  EXPECT_EQ(first, "xy");
  std::string_view second;
  ASSERT_TRUE(reader.Next(&second));
  EXPECT_EQ(second, "plain");
  EXPECT_FALSE(reader.Next(&second));
  EXPECT_FALSE(reader.Next(&second));
}

class LineReaderFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "line_reader_test.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string WriteFile(const std::string& name, std::string_view bytes) {
    std::string path = root_ + "/" + name;
    std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
    return path;
  }

  std::string root_;
};

TEST_F(LineReaderFileTest, BlockBoundariesFallAnywhere) {
  // Every block size from 1 up cuts lines, CR LF pairs and lone CRs at every position.
  for (const LineCase& c : kLineCases) {
    std::string path = WriteFile("case.txt", c.bytes);
    for (size_t block_size = 1; block_size <= c.bytes.size() + 1; ++block_size) {
      SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)) + " in blocks of " +
                   std::to_string(block_size));
      EXPECT_EQ(AllLines(LineReader::Open(path, block_size)), c.lines);
    }
  }
}

TEST_F(LineReaderFileTest, LinesLongerThanTheBlock) {
  std::string long_line(3 * 1024 * 1024 + 17, 'w');
  std::string bytes = "first\r\n" + long_line + "\r\n" + long_line + "x\rz\nlast";
  std::string path = WriteFile("long.txt", bytes);
  std::vector<std::string> expected = {"first", long_line, long_line + "xz", "last"};
  EXPECT_EQ(AllLines(LineReader::Open(path)), expected);
  EXPECT_EQ(AllLines(LineReader::Open(path, 4096)), expected);
}

TEST_F(LineReaderFileTest, FindsTheFileIgnoringCase) {
  WriteFile("Main.GSR", "WAIT_FRAMES 10\r\n");
  EXPECT_EQ(AllLines(LineReader::Open(root_ + "\\main.gsr")),
            std::vector<std::string>{"WAIT_FRAMES 10"});
}

TEST_F(LineReaderFileTest, OpenFailures) {
  try {
    LineReader::Open(root_ + "/missing.gsr");
    ADD_FAILURE() << "a missing file opened";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "File not found");
  }
  try {
    LineReader::Open(root_);
    ADD_FAILURE() << "a folder opened";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to read " + root_ + ": Is a directory");
  }
}

}  // namespace
}  // namespace platform
