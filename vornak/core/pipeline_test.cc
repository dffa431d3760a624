#include "vornak/core/pipeline.h"

#include <gtest/gtest.h>

#include "vornak/core/scm_format.h"
#include "vornak/core/test_project.h"

namespace vornak {
namespace {

const std::string kSignatureHex = Hex(kSignature);

TEST(PipelineTest, WritesTheHeaderOfAMainPartAlone) {
  const TestBuild build = CompileMain("NOP");
  ASSERT_EQ(build.error, "");
  EXPECT_EQ(Hex(build.state.compiled),
            "02 00 01 08 00 00 00 00 "  // variables: none
            "02 00 01 2C 00 00 00 00 01 00 00 00 " +
                kSignatureHex +  // objects: the signature
                " 02 00 01 40 00 00 00 00 42 00 00 00 02 00 00 00 00 00 00 00 "  // no missions
                "05 00");
  EXPECT_TRUE(build.ok);
  EXPECT_EQ(build.state.code_start, 64);
}

TEST(PipelineTest, SizesTheHeaderByVariablesObjectsAndMissions) {
  TestProject project;
  project.files = {{"main.gsr", "SET_VAR $a, $b\r\nWAIT_FRAMES %thing\r\n#MISSION one\r\n"},
                   {"m\\one.gsr", "NOP\r\nWAIT_FRAMES %ABCDEFGHIJKLMNOPQRSTUVWX"}};
  const TestBuild build = Compile(project);
  ASSERT_EQ(build.error, "");
  const std::string& file = build.state.compiled;
  // S2 = 8 + 4 * 2 = 16, S3 = 16 + 36 + 24 * 2 = 100, C = 100 + 20 + 4 = 124.
  EXPECT_EQ(Hex(file.substr(0, 16)), "02 00 01 10 00 00 00 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(Hex(file.substr(16, 12)), "02 00 01 64 00 00 00 00 03 00 00 00");
  EXPECT_EQ(file.substr(52, 48),
            std::string("ABCDEFGHIJKLMNOPQRSTUVWX") + "THING" + std::string(19, '\0'));
  // The main part is 8 + 4 bytes; the mission starts where it ends.
  EXPECT_EQ(Hex(file.substr(100, 24)),
            "02 00 01 7C 00 00 00 00 88 00 00 00 0C 00 00 00 01 00 00 00 88 00 00 00");
  EXPECT_EQ(file.size(), 124u + 12 + 6);
}

// The file goes out in blocks of a few megabytes: parts that together fill more than one, and one
// part larger than a block, are written whole and in place.
TEST(PipelineTest, WritesFilesLargerThanItsOutputBlock) {
  std::string line = "START_SCRIPT 100000";
  for (int i = 1; i < 40; ++i) line += ", -100000";
  line += "\r\n";
  std::string instruction("\x06\x00\x01\xA0\x86\x01\x00", 7);
  for (int i = 1; i < 40; ++i) instruction += std::string("\x01\x60\x79\xFE\xFF", 5);
  instruction += '\0';
  const std::pair<const char*, int> parts[] = {{"main.gsr", 9000}, {"m\\a.gsr", 9000},
                                               {"m\\b.gsr", 12000}};
  TestProject project;
  for (const auto& [path, lines] : parts) {
    std::string text;
    for (int i = 0; i < lines; ++i) text += line;
    project.files[path] = text;
  }
  project.files["main.gsr"] = "#MISSION a\r\n#MISSION b\r\n" + project.files["main.gsr"];
  const TestBuild build = Compile(project);
  ASSERT_EQ(build.error, "");
  const std::string& file = build.state.compiled;
  size_t at = static_cast<size_t>(build.state.code_start);
  for (const auto& [path, lines] : parts) {
    SCOPED_TRACE(path);
    for (int i = 0; i < lines; ++i, at += instruction.size()) {
      ASSERT_EQ(file.compare(at, instruction.size(), instruction), 0) << "instruction " << i;
    }
  }
  EXPECT_EQ(file.size(), at);
}

TEST(PipelineTest, LaysThePartsOutOneBehindTheOther) {
  TestProject project;
  project.files = {
      {"main.gsr", "#MISSION a\r\n#MISSION labels\r\n#MISSION a\r\nSET_VAR 1000, 1000\r\nNOP\r\n"},
      {"m\\a.gsr", "SET_VAR 100000, 100000\r\nSET_VAR 1, 1\r\n"},
      {"m\\labels.gsr", "@only\r\n@labels\r\n"}};
  const TestBuild build = Compile(project);
  ASSERT_EQ(build.error, "");
  const std::vector<ScriptPart>& parts = build.state.parts;
  const int32_t code = build.state.code_start;
  ASSERT_EQ(code, 64 + 12);
  EXPECT_EQ(std::make_pair(parts[0].Start, parts[0].Size), std::make_pair(code, 10));
  EXPECT_EQ(std::make_pair(parts[1].Start, parts[1].Size), std::make_pair(code + 10, 18));
  EXPECT_EQ(std::make_pair(parts[2].Start, parts[2].Size), std::make_pair(code + 28, 0));
  EXPECT_EQ(std::make_pair(parts[3].Start, parts[3].Size), std::make_pair(code + 28, 18));
  EXPECT_EQ(build.state.compiled.size(), static_cast<size_t>(code + 46));
  EXPECT_EQ(build.state.instruction_total, 6);
}

TEST(PipelineTest, ReportsFailuresInThePhaseThatMeetsThem) {
  struct Case {
    const char* main;
    const char* console;
    const char* message;
  };
  const Case cases[] = {
      // Sizing: nothing is printed.
      {"WAIT_FRAMES 1 2", "", "'1 2' is not a valid integer value"},
      {"WAIT_FRAMES +1", "", "Unknown param type"},
      {"WAIT_FRAMES %broken", "", "'1A' is not a valid integer value"},
      {"WAIT_FRAMES %tower", "", "Object %TOWER has the number 40000, outside -32768..32767"},
      {"GOTO @nowhere\r\nWAIT_FRAMES +1", "", "Unknown param type"},  // layout comes first
      // Writing: the part's path and the message.
      {"WAIT_FRAMES 1.2.3", "  main.gsr\n  '1.2.3' is not a valid floating point value\n",
       "'1.2.3' is not a valid floating point value"},
      {"WAIT_FRAMES !xyz", "  main.gsr\n  '$xyz' is not a valid integer value\n",
       "'$xyz' is not a valid integer value"},
      {"GOTO @nowhere", "  main.gsr\n  Target label @NOWHERE does not exist\n",
       "Target label @NOWHERE does not exist"},
      {"#MISSION one\r\nLOAD_MISSION &two", "  main.gsr\n  two is not defined.\n",
       "two is not defined."},
      {"#MISSION one\r\nNOP", "  m\\one.gsr\n  Target label @X does not exist\n",
       "Target label @X does not exist"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.main);
    TestProject project;
    project.ide = "1a, BROKEN\r\n40000, TOWER\r\n";
    project.files = {{"main.gsr", c.main}, {"m\\one.gsr", "GOTO @x"}};
    const TestBuild build = Compile(project);
    EXPECT_FALSE(build.ok);
    EXPECT_EQ(build.console, c.console);
    EXPECT_EQ(build.error, c.message);
  }
}

TEST(PipelineTest, RefusesMoreLocalObjectsThanA16BitNumberHolds) {
  std::string main;
  for (int i = 0; i <= 32768; ++i) {
    const std::string digits = std::to_string(100000 + i).substr(1);
    main += "WAIT_FRAMES %O" + digits + "\r\n";
  }
  const TestBuild build = CompileMain(main);
  EXPECT_EQ(build.error, "Object %O32768 has the number -32769, outside -32768..32767");
  EXPECT_EQ(build.console, "");
}

}  // namespace
}  // namespace vornak
