#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSettings =
    "; settings of the level tools\r\n"
    "[Paths]\r\n"
    "Op = opcodes.ini \r\n"
    "ide=\"world objects.ide\"\r\n"
    "  quoted = ' padded '  \r\n"
    "half=\"open\r\n"
    "mixed=\"text'\r\n"
    "single=\"\r\n"
    "empty=\"\"\r\n"
    "blank=\r\n"
    "equals=a=b\r\n"
    "op=second\r\n"
    ";skipped=yes\r\n"
    "\tsection_key\t=\ttabbed\t\r\n"
    "[ script ]\n"
    "main_thread=main.gsr\n"
    "[paths]\r\n"
    "late=only in the second [paths]\r\n"
    "[log]\r\n"
    "failed=1";

TEST(IniFileTest, ReadsValuesByTheProfileRules) {
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"paths", "op", "opcodes.ini"},  // names ignore case; the first key wins
      {"PATHS", "IDE", "world objects.ide"},
      {"paths", "quoted", " padded "},  // blanks inside the quotes stay
      {"paths", "half", "\"open"},
      {"paths", "mixed", "\"text'"},
      {"paths", "single", "\""},
      {"paths", "empty", ""},
      {"paths", "blank", ""},
      {"paths", "equals", "a=b"},
      {"paths", "section_key", "tabbed"},
      {"paths", "skipped", "default"},
      {"paths", "late", "default"},  // a repeated section is not searched
      {"script", "main_thread", "main.gsr"},
      {"log", "failed", "1"},
      {"log", "missing", "default"},
      {"missing", "op", "default"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(ReadProfileStringFromText(kSettings, c.section, c.key, "default"), c.expected);
  }
}

TEST(IniFileTest, LengthCapAppliesLast) {
  std::string long_value(1500, 'v');
  std::string text = "[settings]\r\ninputfile= \"" + long_value + "\" \r\n";
  EXPECT_EQ(ReadProfileStringFromText(text, "settings", "inputfile", "", 1023),
            long_value.substr(0, 1023));
  EXPECT_EQ(ReadProfileStringFromText("[s]\r\nk=\"abc\"\r\n", "s", "k", "", 3), "abc");
  EXPECT_EQ(ReadProfileStringFromText("[s]\r\nk=\"abc\"\r\n", "s", "k", "", 2), "ab");
}

TEST(IniFileTest, EditsTheTextInPlace) {
  struct Case {
    const char* name;
    std::string_view before;
    const char* section;
    const char* key;
    std::string_view after;
  };
  const Case cases[] = {
      {"replace keeps every other byte and the line's own end",
       "; kept\n[log]\nFAILED = 1\r\nother=x\n", "log", "failed",
       "; kept\n[log]\nfailed=0\r\nother=x\n"},
      {"replace in a last line without a line end", "[log]\r\nfailed=1", "log", "failed",
       "[log]\r\nfailed=0"},
      {"new key after the section's last key, before blank lines",
       "[log]\r\na=1\r\n\r\n[next]\r\nb=2\r\n", "LOG", "failed",
       "[log]\r\na=1\r\nfailed=0\r\n\r\n[next]\r\nb=2\r\n"},
      {"new key in a section without keys", "[log]\n; note\n\n[next]\n", "log", "failed",
       "[log]\nfailed=0\r\n; note\n\n[next]\n"},
      {"new key after a last line without a line end", "[log]\r\na=1", "log", "failed",
       "[log]\r\na=1\r\nfailed=0\r\n"},
      {"only the first section of a name is edited", "[log]\r\na=1\r\n[log]\r\nfailed=1\r\n", "log",
       "failed", "[log]\r\na=1\r\nfailed=0\r\n[log]\r\nfailed=1\r\n"},
      {"new section at the end", "[paths]\r\nop=x\r\n", "log", "failed",
       "[paths]\r\nop=x\r\n[log]\r\nfailed=0\r\n"},
      {"new section after a last line without a line end", "[paths]\nop=x", "log", "failed",
       "[paths]\nop=x\r\n[log]\r\nfailed=0\r\n"},
      {"new file", "", "log", "failed", "[log]\r\nfailed=0\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SetProfileStringInText(c.before, c.section, c.key, "0"), c.after);
  }
}

class IniFileOnDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "ini_file_test.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  std::string root_;
};

TEST_F(IniFileOnDiskTest, ReadsFilesFoundIgnoringCase) {
  std::ofstream(root_ + "/Vornak.ini", std::ios::binary) << "[paths]\r\nop=ops.ini\r\n";
  EXPECT_EQ(ReadProfileString(root_ + "\\vornak.INI", "paths", "op", ""), "ops.ini");
  EXPECT_EQ(ReadProfileString(root_ + "/missing.ini", "paths", "op", "none"), "none");
  EXPECT_EQ(ReadProfileString(root_, "paths", "op", "none"), "none");
}

TEST_F(IniFileOnDiskTest, WritesKeepKeysOfEarlierRuns) {
  std::string path = root_ + "/Vornak.log";
  WriteProfileString(path, "log", "compiletime", "17");
  WriteProfileString(path, "log", "num_missions", "2");
  WriteProfileString(path, "log", "failed", "0");
  WriteProfileString(path, "log", "err_message", "");
  WriteProfileString(path, "log", "err_message", "File not found");
  WriteProfileString(root_ + "/VORNAK.LOG", "log", "failed", "1");
  EXPECT_EQ(Contents(path),
            "[log]\r\ncompiletime=17\r\nnum_missions=2\r\nfailed=1\r\n"
            "err_message=File not found\r\n");
  EXPECT_FALSE(fs::exists(root_ + "/VORNAK.LOG"));
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 1);
}

TEST_F(IniFileOnDiskTest, SeveralKeysInOneWriteAsInSeparateWrites) {
  const std::string earlier = "; kept\r\n[log]\r\nfailed=1\r\nextra=x\r\n[other]\r\na=b\r\n";
  const std::vector<ProfileEntry> entries = {
      {"compiletime", "5"}, {"FAILED", "0"}, {"err_message", ""}, {"compiletime", "6"}};
  std::ofstream(root_ + "/one.log", std::ios::binary) << earlier;
  std::ofstream(root_ + "/each.log", std::ios::binary) << earlier;
  WriteProfileStrings(root_ + "/one.log", "log", entries);
  for (const ProfileEntry& entry : entries) {
    WriteProfileString(root_ + "/each.log", "log", entry.key, entry.value);
  }
  EXPECT_EQ(Contents(root_ + "/one.log"), Contents(root_ + "/each.log"));
  EXPECT_EQ(Contents(root_ + "/one.log"),
            "; kept\r\n[log]\r\nFAILED=0\r\nextra=x\r\ncompiletime=6\r\nerr_message=\r\n"
            "[other]\r\na=b\r\n");
}

TEST_F(IniFileOnDiskTest, WriteFailureNamesThePath) {
  fs::create_directory(root_ + "/folder.log");
  for (std::string path : {root_ + "/folder.log", root_ + "/missing/Vornak.log", std::string()}) {
    SCOPED_TRACE(path);
    try {
      WriteProfileString(path, "log", "failed", "1");
      ADD_FAILURE() << "the write succeeded";
    } catch (const Error& error) {
      EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace platform
