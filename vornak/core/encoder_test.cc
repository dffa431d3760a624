#include "vornak/core/encoder.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "vornak/core/pipeline.h"
#include "vornak/core/scm_writer.h"
#include "vornak/core/test_project.h"

namespace vornak {
namespace {

constexpr const char* kModels = "200, CRATE\r\n7, CONE\r\n40000, TOWER\r\n1a, BROKEN\r\n";

TEST(EncoderTest, WritesEachParameterKindInItsForm) {
  struct Case {
    const char* line;
    const char* bytes;
  };
  const Case cases[] = {
      {"WAIT_FRAMES 127", "01 00 04 7F"},
      {"WAIT_FRAMES 128", "01 00 05 80 00"},
      {"WAIT_FRAMES -128", "01 00 04 80"},
      {"WAIT_FRAMES -129", "01 00 05 7F FF"},
      {"WAIT_FRAMES 32767", "01 00 05 FF 7F"},
      {"WAIT_FRAMES 32768", "01 00 01 00 80 00 00"},
      {"WAIT_FRAMES -32768", "01 00 05 00 80"},
      {"WAIT_FRAMES -32769", "01 00 01 FF 7F FF FF"},
      {"WAIT_FRAMES 0xFFFFFFFF", "01 00 04 FF"},
      {"WAIT_FRAMES 1.5", "01 00 06 18 00"},
      {"WAIT_FRAMES -0.5", "01 00 06 F8 FF"},
      {"WAIT_FRAMES 0.03", "01 00 06 00 00"},
      {"WAIT_FRAMES 5.0", "01 00 06 50 00"},
      {"WAIT_FRAMES 2048.0", "01 00 06 00 80"},
      {"WAIT_FRAMES 4096.5", "01 00 06 08 00"},  // only the low 16 bits are kept
      {"WAIT_FRAMES !1F", "01 00 03 1F 00"},
      {"WAIT_FRAMES !1f", "01 00 03 1F 00"},
      {"WAIT_FRAMES !12345", "01 00 03 45 23"},
      {"WAIT_FRAMES \"ABC\"", "01 00 41 42 43 00 00 00 00 00"},
      {"WAIT_FRAMES \"\"", "01 00 00 00 00 00 00 00 00 00"},
      {"WAIT_FRAMES \"ABCDEFGH\"", "01 00 41 42 43 44 45 46 47 48"},
      {"WAIT_FRAMES $first", "01 00 02 08 00"},
      {"PLACE_OBJECT $a, $b, $c, $d", "04 00 02 08 00 02 0C 00 02 10 00 02 14 00"},
      {"WAIT_FRAMES %local", "01 00 04 FF"},
      {"SET_VAR %b, %a", "03 00 04 FE 04 FF"},
      {"WAIT_FRAMES %crate", "01 00 05 C8 00"},
      {"WAIT_FRAMES %cone", "01 00 04 07"},
      {"!WAIT_FRAMES 0", "01 80 04 00"},
      {"8001 0", "01 80 04 00"},
      {"START_SCRIPT 1, 2", "06 00 04 01 04 02 00"},
      {"START_SCRIPT", "06 00 00"},
      {"NOP", "05 00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TestProject project;
    project.ide = kModels;
    project.files["main.gsr"] = c.line;
    const TestBuild build = Compile(project);
    ASSERT_EQ(build.error, "");
    EXPECT_EQ(Hex(build.Code()), c.bytes);
  }
}

// Every kind of parameter, sized in the layout pass and written in the emission pass, gives the
// same number of bytes; the part starts and every label address rest on that.
TEST(EncoderTest, WritesExactlyTheSizeOfEveryRecord) {
  // Parameters of 128 bytes and more are stored behind a longer length.
  std::string long_list = "START_SCRIPT 1000";
  for (int i = 0; i < 60; ++i) long_list += ", 1000";
  TestProject project;
  project.ide = kModels;
  project.files["main.gsr"] =
      "#MISSION one\r\n@top\r\nNOP\r\n"
      "START_SCRIPT 1, 300, 70000, -70000, 1.5, -2048.0, !1F, \"\", \"AB\", \"ABCDEFGH\"\r\n"
      "START_SCRIPT $v, $w, %local, %crate, %cone, &one, @top, @end\r\n"
      "START_SCRIPT\r\n!START_SCRIPT @top\r\n@end\r\n" +
      long_list + "\r\nNOP\r\n";
  project.files["m\\one.gsr"] = "NOP\r\n@own\r\nSTART_SCRIPT @own, @top, &one, 7, %other\r\n";
  BuildState state = LoadedState(project);
  CapturedConsole console;
  ReadAllParts(&state, MemorySources(&project.files), console.console());
  state.mission_numbers =
      MissionNumbers(state.symbols.mission_names, state.part_list, state.mission_folder);
  WriteVariableSegment(state.symbols.variables.size(), &state.compiled);
  WriteObjectSegment(state.symbols.local_objects, &state.compiled);
  state.code_start = ReserveMissionSegment(state.parts.size() - 1, &state.compiled);
  LayOutParts(&state);

  EncodeContext context = ContextFor(state);
  for (size_t part = 0; part < state.parts.size(); ++part) {
    context.current_part = part;
    RecordReader records(state.parts[part].records);
    int64_t count = 0;
    for (TOpCode record; records.Next(&record); ++count) {
      SCOPED_TRACE("part " + std::to_string(part) + " opcode " + std::to_string(record.Opcode));
      const int64_t size = EncodedSize(record, context);
      std::string room(size + 16, '\0');
      EXPECT_EQ(WriteTo(record, context, room.data(), room.data() + room.size()) - room.data(),
                size);
      // Room for exactly the size is enough.
      EXPECT_NO_THROW(WriteTo(record, context, room.data(), room.data() + size));
    }
    EXPECT_EQ(count, state.parts[part].instruction_count);
  }
}

// Layout takes a record's size from construction where construction knows it: every parameter
// but a local object (its number waits for the slots) and a number that does not convert (sizing
// refuses it).
TEST(EncoderTest, ConstructionKnowsTheSizeOfEveryRecordWithoutLocalObjects) {
  struct Case {
    const char* line;
    bool known;
  };
  const Case cases[] = {
      {"NOP", true},
      {"START_SCRIPT", true},
      {"START_SCRIPT 1, 300, 70000, -70000, 1.5, !1F, \"\", \"ABCDEFGH\"", true},
      {"PLACE_OBJECT $v, %crate, %cone, &one", true},
      {"GOTO @top", true},
      {"WAIT_FRAMES 1.2.3", true},  // refused when written, sized as any decimal
      {"WAIT_FRAMES !xyz", true},
      {"WAIT_FRAMES \"AB\" 1", true},  // the later item replaces the string
      {"WAIT_FRAMES %local", false},
      {"WAIT_FRAMES %broken", false},
      {"WAIT_FRAMES %tower", false},
      {"WAIT_FRAMES 1 2", false},
      {"WAIT_FRAMES +1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TestProject project;
    project.ide = kModels;
    project.files = {{"main.gsr", "@top\r\n#MISSION one\r\n" + std::string(c.line)},
                     {"m\\one.gsr", ""}};
    BuildState state = LoadedState(project);
    CapturedConsole console;
    ReadAllParts(&state, MemorySources(&project.files), console.console());
    state.mission_numbers =
        MissionNumbers(state.symbols.mission_names, state.part_list, state.mission_folder);
    RecordReader records(state.parts[0].records);
    TOpCode record;
    ASSERT_TRUE(records.Next(&record));
    EXPECT_EQ(record.known_size != 0, c.known);
    if (record.known_size != 0) {
      EXPECT_EQ(record.known_size, EncodedSize(record, ContextFor(state)));
    }
  }
}

TEST(EncoderTest, AddressesLabelsByTheFileRules) {
  struct Case {
    const char* name;
    const char* mission;
    const char* mission_code;  // the mission part's bytes
  };
  // The code starts at 68 (0x44) with one mission; the main part is NOP, @back, GOTO @back.
  const Case cases[] = {
      {"a main label is absolute from every part", "GOTO @back", "02 00 01 46 00 00 00"},
      {"a mission's own label is minus its offset", "NOP\r\n@here\r\nGOTO @here",
       "05 00 02 00 01 FE FF FF FF"},
      {"the mission's own label comes first", "NOP\r\nNOP\r\n@back\r\nGOTO @back",
       "05 00 05 00 02 00 01 FC FF FF FF"},
      {"the first definition in a part wins", "NOP\r\n@dup\r\nNOP\r\n@dup\r\nGOTO @dup",
       "05 00 05 00 02 00 01 FE FF FF FF"},
      {"a label after the last instruction is the part's size", "NOP\r\nGOTO @after\r\n@after",
       "05 00 02 00 01 F7 FF FF FF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestProject project;
    project.files["main.gsr"] = "NOP\r\n@back\r\nGOTO @back\r\n#MISSION one";
    project.files["m\\one.gsr"] = c.mission;
    const TestBuild build = Compile(project);
    ASSERT_EQ(build.error, "");
    EXPECT_EQ(Hex(build.Code().substr(0, 9)), "05 00 02 00 01 46 00 00 00");
    EXPECT_EQ(Hex(build.Code().substr(9)), c.mission_code);
  }
}

TEST(EncoderTest, ResolvesMissionsByTheirPositionIgnoringCase) {
  TestProject project;
  project.files = {
      {"main.gsr", "#MISSION one\r\n#MISSION Two\r\nLOAD_MISSION &two\r\nLOAD_MISSION &ONE\r\n"},
      {"m\\one.gsr", ""},
      {"m\\Two.gsr", "LOAD_MISSION &Two"}};
  const TestBuild build = Compile(project);
  ASSERT_EQ(build.error, "");
  EXPECT_EQ(Hex(build.Code()), "08 00 01 01 00 00 00 08 00 01 00 00 00 00 08 00 01 01 00 00 00");
}

TEST(EncoderTest, RefusesReferencesThatCannotBeWritten) {
  struct Case {
    const char* main;
    const char* mission;
    const char* message;
  };
  const Case cases[] = {
      {"GOTO @nowhere", "", "Target label @NOWHERE does not exist"},
      {"GOTO @in_one", "@in_one\r\nNOP", "Target label @IN_ONE does not exist"},
      {"NOP", "@start\r\nGOTO @start",
       "Target label @START is at the start of this mission, where no jump can lead (the target "
       "would read as offset 0)"},
      {"LOAD_MISSION &main", "", "main is not defined."},
      {"LOAD_MISSION &absent", "", "absent is not defined."},
      {"@A123456789B123456789C123456789D123456789E123456789F123456789G123456789\r\n"
       "GOTO @A123456789B123456789C123456789D123456789E123456789F123456789G123456789",
       "",
       "Target label @A123456789B123456789C123456789D123456789E123456789F123456789G123456789 "
       "does not exist"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.main);
    TestProject project;
    project.main_file = "m\\main.gsr";
    project.files = {{"m\\main.gsr", std::string(c.main) + "\r\n#MISSION one"},
                     {"m\\one.gsr", c.mission}};
    const TestBuild build = Compile(project);
    EXPECT_EQ(build.error, c.message);
  }
}

}  // namespace
}  // namespace vornak
