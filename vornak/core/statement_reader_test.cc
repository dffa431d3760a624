#include "vornak/core/statement_reader.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/error.h"
#include "vornak/core/test_project.h"

namespace vornak {
namespace {

struct ReadResult {
  BuildState state;
  std::string error;
  std::string console;

  std::vector<TOpCode> Records(size_t part) const {
    std::vector<TOpCode> records;
    RecordReader reader(state.parts[part].records);
    for (TOpCode record; reader.Next(&record);) records.push_back(record);
    return records;
  }

  std::vector<std::string> Labels(size_t part) const {
    std::vector<std::string> labels;
    const ScriptPart& script_part = state.parts[part];
    for (uint32_t id = 0; id < script_part.label_offsets.size(); ++id) {
      labels.push_back(std::string(script_part.label_names.Name(id)) + "@" +
                       std::to_string(script_part.label_offsets[id]));
    }
    return labels;
  }
};

ReadResult Read(const TestProject& project) {
  ReadResult result{LoadedState(project), "", ""};
  CapturedConsole console;
  try {
    ReadAllParts(&result.state, MemorySources(&project.files), console.console());
  } catch (const platform::Error& error) {
    result.error = error.what();
  }
  result.console = console.Text();
  return result;
}

ReadResult ReadMain(const std::string& source) {
  TestProject project;
  project.files["main.gsr"] = source;
  return Read(project);
}

TEST(StatementReaderTest, ReadsLabelsAtTheNextInstructionAndSkipsCommentsAndBlankLines) {
  const ReadResult result = ReadMain(
      "; comment\r\n   ; indented comment\r\n\r\n\t@start\r\n@twice\r\nwait_frames 1\r\n@X\r\n"
      "@LOOP: the rest is ignored\r\n!goto @start\r\n"
      "@A123456789B123456789C123456789D123456789E123456789F123456789G123456789\r\n");
  ASSERT_EQ(result.error, "");
  const std::vector<TOpCode> records = result.Records(0);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].Opcode, 1);
  EXPECT_FALSE(records[0].Negated);
  EXPECT_EQ(records[1].Opcode, 2);
  EXPECT_TRUE(records[1].Negated);
  EXPECT_EQ(result.Labels(0),
            (std::vector<std::string>{"START@0", "TWICE@0", "X@1", "LOOP:@1",
                                      "A123456789B123456789C123456789D123456789E123456789F123456789"
                                      "G123@2"}));
}

TEST(StatementReaderTest, AddsAPartPerMissionDirective) {
  struct Case {
    const char* line;
    const char* path;
  };
  const Case cases[] = {
      {"#MISSION intro", "C:\\m\\intro.gsr"},
      {"#mission intro ; first", "C:\\m\\intro.gsr"},
      {"  #Mission\tintro", "C:\\m\\intro.gsr"},
      {"#MISSION  intro", "C:\\m\\.gsr"},  // the second blank ends an empty name
      {"#MISSION", "C:\\m\\.gsr"},
      {"#MISSION intro.gsr", "C:\\m\\intro..gsr"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TestProject project;
    project.mission_folder = "C:\\m\\";
    project.files["main.gsr"] = std::string(c.line) + "\r\nNOP\r\n";
    project.files[c.path] = "NOP\r\n";
    const ReadResult result = Read(project);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.state.part_list, (std::vector<std::string>{"main.gsr", c.path}));
  }
}

TEST(StatementReaderTest, ReadsMissionsInTheOrderTheyAreNamedRepeatsIncluded) {
  TestProject project;
  project.files = {{"main.gsr", "#MISSION a\r\n#MISSION b\r\n#MISSION a\r\nNOP\r\n"},
                   {"m\\a.gsr", "#mission c\r\n@in_a\r\nNOP\r\n"},
                   {"m\\b.gsr", "NOP\r\nNOP\r\n"},
                   {"m\\c.gsr", ""}};
  const ReadResult result = Read(project);
  ASSERT_EQ(result.error, "");
  EXPECT_EQ(result.state.part_list, (std::vector<std::string>{"main.gsr", "m\\a.gsr", "m\\b.gsr",
                                                              "m\\a.gsr", "m\\c.gsr", "m\\c.gsr"}));
  EXPECT_EQ(result.Records(2).size(), 2u);
  EXPECT_EQ(result.Labels(3), std::vector<std::string>{"IN_A@0"});
}

TEST(StatementReaderTest, MissingMissionFileFailsWithoutConsoleLines) {
  const ReadResult result = ReadMain("#MISSION absent\r\n");
  EXPECT_EQ(result.error, "File not found");
  EXPECT_EQ(result.console, "");
}

TEST(StatementReaderTest, FindsTheOpcodeOfAWordOrOfAHexadecimalNumber) {
  struct Case {
    const char* line;
    uint16_t opcode;
    bool negated;
  };
  const Case cases[] = {
      {"WAIT_FRAMES 1", 1, false}, {"Wait_Frames\t1", 1, false}, {"!wait_frames 1", 1, true},
      {"0001 1", 1, false},        {"8001 1", 1, true},          {"!8001 1", 1, true},
      {"00000003 1,2", 3, false},  {"452", 1106, false},         {"!1 0", 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const ReadResult result = ReadMain(c.line);
    ASSERT_EQ(result.error, "");
    const std::vector<TOpCode> records = result.Records(0);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].Opcode, c.opcode);
    EXPECT_EQ(records[0].Negated, c.negated);
  }
}

// The instruction word is scanned eight bytes at a time: words of every length up to two
// runs of eight and more, in any case, end at a tab or a space wherever it falls in a run, and
// only the ASCII letters are upper-cased in the word the error names.
TEST(StatementReaderTest, FindsTheWordWhereverItsEndFalls) {
  TestProject project;
  std::string main;
  for (size_t length = 1; length <= 20; ++length) {
    std::string name;
    for (size_t i = 0; i < length; ++i) name += static_cast<char>('A' + (i * 7 + length) % 26);
    char key[8];
    std::snprintf(key, sizeof key, "%04zX", 0x300 + length);
    project.opcodes += std::string(key) + "=1," + name + "_\r\n";
    std::string mixed = name + "_";
    for (size_t i = 0; i + 1 < mixed.size(); i += 2) mixed[i] = static_cast<char>(mixed[i] | 0x20);
    main += mixed + (length % 2 ? " 1\r\n" : "\t1\r\n");
  }
  project.files["main.gsr"] = main;
  const ReadResult read = Read(project);
  ASSERT_EQ(read.error, "");
  const std::vector<TOpCode> records = read.Records(0);
  ASSERT_EQ(records.size(), 20u);
  for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i].Opcode, 0x301 + i) << i;

  const ReadResult bad = ReadMain("wait_fr\xE9mes_@z{`\x7F\xFA 1");
  EXPECT_EQ(bad.error,
            "  Error in file main.gsr.  WAIT_FR\xE9MES_@Z{`\x7F\xFA is not a valid instruction or "
            "label (line: 1)");
}

TEST(StatementReaderTest, ReportsABadLineWithTheFileAndItsLineNumber) {
  struct Case {
    const char* source;
    const char* console;
    const char* message;
  };
  const Case cases[] = {
      {"; 1\r\n; 2\r\n; 3\r\n; 4\r\nbogus 1\r\n",
       "  Error in file main.gsr\n  BOGUS is not a valid instruction or label (line: 5)\n",
       "  Error in file main.gsr.  BOGUS is not a valid instruction or label (line: 5)"},
      {"WAIT_FRAMES, 1",
       "  Error in file main.gsr\n  WAIT_FRAMES, is not a valid instruction or label (line: 1)\n",
       "  Error in file main.gsr.  WAIT_FRAMES, is not a valid instruction or label (line: 1)"},
      {"! 1", "  Error in file main.gsr\n   is not a valid instruction or label (line: 1)\n",
       "  Error in file main.gsr.   is not a valid instruction or label (line: 1)"},
      {"100000001",
       "  Error in file main.gsr\n  100000001 is not a valid instruction or label "
       "(line: 1)\n",
       "  Error in file main.gsr.  100000001 is not a valid instruction or label (line: 1)"},
      {"NOP\r\n0453",
       "  Error in file main.gsr\n  0453 is not a valid opcode number (0001 to 0452, or 8001 to "
       "8452 negated) (line: 2)\n",
       "  Error in file main.gsr.  0453 is not a valid opcode number (0001 to 0452, or 8001 to "
       "8452 negated) (line: 2)"},
      {"!8000",
       "  Error in file main.gsr\n  8000 is not a valid opcode number (0001 to 0452, or 8001 to "
       "8452 negated) (line: 1)\n",
       "  Error in file main.gsr.  8000 is not a valid opcode number (0001 to 0452, or 8001 to "
       "8452 negated) (line: 1)"},
      {"#define speed 4",
       "  Error in file main.gsr\n  #DEFINE is not a valid directive; the only directive is "
       "#MISSION (line: 1)\n",
       "  Error in file main.gsr.  #DEFINE is not a valid directive; the only directive is "
       "#MISSION (line: 1)"},
      {"#MISSION;x",
       "  Error in file main.gsr\n  #MISSION;X is not a valid directive; the only directive is "
       "#MISSION (line: 1)\n",
       "  Error in file main.gsr.  #MISSION;X is not a valid directive; the only directive is "
       "#MISSION (line: 1)"},
      {"@", "  Error in file main.gsr\n  Label name expected at 1:2\n",
       "Error in file main.gsr  Label name expected at 1:2"},
      {"NOP\r\n\r\n  @ name", "  Error in file main.gsr\n  Label name expected at 3:2\n",
       "Error in file main.gsr  Label name expected at 3:2"},
      {"NOP\r\nNOP 1", "  main.gsr\n  Too many parameters (line: 2)\n",
       "main.gsr:  Too many parameters (line: 2)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    const ReadResult result = ReadMain(c.source);
    EXPECT_EQ(result.console, c.console);
    EXPECT_EQ(result.error, c.message);
  }
}

TEST(StatementReaderTest, ConstructionFailureNamesThePartAsStored) {
  TestProject project;
  project.main_file = "C:\\src\\Main.gsr";
  project.files = {{"C:\\src\\Main.gsr", "#MISSION one\r\n"}, {"m\\one.gsr", "SET_VAR 1"}};
  const ReadResult result = Read(project);
  EXPECT_EQ(result.console, "  m\\one.gsr\n  Expected 2 parameters. But only found 1 (line: 1)\n");
  EXPECT_EQ(result.error, "m\\one.gsr:  Expected 2 parameters. But only found 1 (line: 1)");
}

TEST(StatementReaderTest, RefusesMissionsThatNameEachOtherInACycle) {
  struct Case {
    std::map<std::string, std::string> files;
    const char* console;
  };
  const Case cases[] = {
      {{{"m\\main.gsr", "#MISSION a\r\n"},
        {"m\\a.gsr", "#MISSION b\r\n"},
        {"m\\b.gsr", "NOP\r\n#MISSION a\r\n"}},
       "  Error in file b.gsr\n  Missions name each other in a cycle: main.gsr -> a.gsr -> b.gsr "
       "-> a.gsr (line: 2)\n"},
      {{{"m\\main.gsr", "#MISSION a\r\n"}, {"m\\a.gsr", "#MISSION a\r\n"}},
       "  Error in file a.gsr\n  Missions name each other in a cycle: main.gsr -> a.gsr -> a.gsr "
       "(line: 1)\n"},
      {{{"m\\main.gsr", "#MISSION main\r\n"}},
       "  Error in file main.gsr\n  Missions name each other in a cycle: main.gsr -> main.gsr "
       "(line: 1)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.console);
    TestProject project;
    project.main_file = "m\\main.gsr";
    project.files = c.files;
    const ReadResult result = Read(project);
    EXPECT_EQ(result.console, c.console);
  }
}

TEST(StatementReaderTest, ReadsAFileOnTwoBranchesButNotOnItsOwnChain) {
  TestProject project;
  project.files = {{"main.gsr", "#MISSION a\r\n#MISSION b\r\n"},
                   {"m\\a.gsr", "#MISSION shared\r\n#MISSION b\r\n"},
                   {"m\\b.gsr", "#MISSION shared\r\n"},
                   {"m\\shared.gsr", "NOP\r\n"}};
  const ReadResult result = Read(project);
  EXPECT_EQ(result.error, "");
  EXPECT_EQ(result.state.part_list.size(), 7u);
}

TEST(StatementReaderTest, RefusesMoreThan65535Parts) {
  std::string main;
  for (int i = 0; i < 65535; ++i) main += "#MISSION x\r\n";
  TestProject project;
  project.files = {{"main.gsr", main}, {"m\\x.gsr", ""}};
  const ReadResult result = Read(project);
  EXPECT_EQ(result.error,
            "  Error in file main.gsr.  Too many script parts: a project holds at most 65535 "
            "(line: 65535)");
  EXPECT_EQ(result.state.part_list.size(), 65535u);
}

}  // namespace
}  // namespace vornak
