#include "mavren/reader.h"

#include <gtest/gtest.h>

#include <memory>

#include "mavren/test_support.h"
#include "platform/error.h"

namespace mavren {
namespace {

using namespace testing;  // NOLINT: the byte builders

const char kOpcodes[] =
    "[opcodes]\n0001=2,TWO_PARAMS\n0002=1,JUMP\n004D=1,JUMP_IF_FALSE\n0003=-1,OPEN_LIST\n"
    "03A4=1,NAME_PART\n0005=300,TOO_MANY\n";

std::string ErrorOf(const std::function<void()>& run) {
  try {
    run();
  } catch (const platform::Error& error) {
    return error.what();
  }
  return "no error";
}

TEST(WalkHeaderTest, ObjectNamesAndPartOffsets) {
  Script script;
  script.variables = 2;
  script.objects = {"CRATE_A", std::string(24, 'L')};
  script.main = Op(0) + Op(0);
  script.missions = {Op(0), Op(0) + Op(0)};
  const std::string image = script.Build();
  ByteReader reader(Bytes(image), "main.scm");
  const ScriptLayout layout = WalkHeader(reader);
  ASSERT_EQ(layout.mission_count(), 2);
  EXPECT_EQ(layout.part_offsets,
            (std::vector<int64_t>{script.MainStart(), script.MissionStart(1),
                                  script.MissionStart(2), static_cast<int64_t>(image.size())}));
  EXPECT_EQ(layout.ObjectName(-1), "CRATE_A");
  EXPECT_EQ(layout.ObjectName(-2), std::string(24, 'L'));  // no zero byte: all 24 characters
  EXPECT_TRUE(layout.HasObject(-2));
  EXPECT_FALSE(layout.HasObject(-3));
  EXPECT_FALSE(layout.HasObject(-256));
  EXPECT_FALSE(layout.HasObject(0));
}

TEST(WalkHeaderTest, ObjectCountLimits) {
  Script script;
  script.objects.assign(256, "LAMPPOST");
  std::string image = script.Build();
  ByteReader reader(Bytes(image), "main.scm");
  EXPECT_EQ(WalkHeader(reader).ObjectName(-256), "LAMPPOST");

  const int64_t count_field = script.ObjectSegment() + 8;
  for (int count : {0, 1, -5}) {
    SCOPED_TRACE(count);
    std::string changed = image;
    changed.replace(count_field, 4, Int32Bytes(count));
    ByteReader changed_reader(Bytes(changed), "main.scm");
    EXPECT_FALSE(WalkHeader(changed_reader).HasObject(-1));
  }
  image.replace(count_field, 4, Int32Bytes(258));
  ByteReader too_many(Bytes(image), "main.scm");
  EXPECT_EQ(ErrorOf([&] { WalkHeader(too_many); }),
            "main.scm: offset 16: object count 258 exceeds 257 (the signature and 256 object "
            "names)");
}

TEST(WalkHeaderTest, MissionCountLimits) {
  Script script;
  script.missions.assign(99, Op(0));
  std::string image = script.Build();
  ByteReader reader(Bytes(image), "main.scm");
  EXPECT_EQ(WalkHeader(reader).mission_count(), 99);

  const int64_t count_field = script.MissionSegment() + 16;
  for (int count : {100, -1}) {
    SCOPED_TRACE(count);
    image.replace(count_field, 4, Int32Bytes(count));
    ByteReader changed(Bytes(image), "main.scm");
    EXPECT_EQ(
        ErrorOf([&] { WalkHeader(changed); }),
        "main.scm: offset 60: mission count " + std::to_string(count) + " is outside 0 to 99");
  }
}

TEST(WalkHeaderTest, TruncatedOrMisdirectedHeaderStops) {
  const std::string image = Script().Build();
  struct Case {
    std::string bytes;
    const char* message;
  } cases[] = {
      {"",
       "main.scm: offset 3: unable to read 32-bit object segment start past the end of the "
       "file"},
      {image.substr(0, 30),
       "main.scm: offset 20: unable to read 24-byte signature entry past the end of the file"},
      {image.substr(0, 60),
       "main.scm: offset 60: unable to read 32-bit mission count past the end of the file"},
      {std::string("\x02\x00\x01\xF0\xFF\xFF\xFF\x00", 8),
       "main.scm: offset -13: unable to read 32-bit mission segment start before the start of "
       "the file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ByteReader reader(Bytes(c.bytes), "main.scm");
    EXPECT_EQ(ErrorOf([&] { WalkHeader(reader); }), c.message);
  }
}

// Decodes the one instruction |code| of a main part at offset 64 (mission 1, when |in_mission|,
// starts at 1000). Text parameters point into the image, so every image is kept.
DecodedInstruction Decode(const std::string& code, bool in_mission = false) {
  static std::vector<std::unique_ptr<std::string>> images;
  const NameTables names = LoadNameTables(kOpcodes, "scm_asm.ini");
  ScriptLayout layout;
  layout.part_offsets = {64, 1000, 2000};
  const std::string& image =
      *images.emplace_back(std::make_unique<std::string>(std::string(64, '\0') + code));
  ByteReader reader(Bytes(image), "main.scm");
  reader.Seek(64);
  DecodedInstruction instruction;
  DecodeInstruction(reader, names.opcodes, layout, in_mission ? 1 : 0, &instruction);
  EXPECT_EQ(reader.offset(), static_cast<int64_t>(image.size())) << "stops after the instruction";
  return instruction;
}

TEST(DecodeInstructionTest, ParameterTypes) {
  const DecodedInstruction a = Decode(Op(1, true) + Int8(200 - 256) + Fixed16(-4));
  EXPECT_EQ(a.opcode, 1);
  EXPECT_TRUE(a.negated);
  ASSERT_EQ(a.param_count, 2);
  EXPECT_EQ(a.slots[1].type, 4);
  EXPECT_EQ(a.slots[1].integer, -56);
  EXPECT_EQ(a.slots[2].type, 6);
  EXPECT_EQ(a.slots[2].real, -0.25f);

  const DecodedInstruction b = Decode(Op(1) + GlobalVar(-2) + LocalVar(0xFFFF));
  EXPECT_EQ(b.slots[1].integer, -2);
  EXPECT_EQ(b.slots[2].integer, -1);

  const DecodedInstruction c = Decode(Op(1) + Text("abc") + Text("ABCDEFGH"));
  EXPECT_EQ(c.slots[1].type, 'a');
  EXPECT_EQ(c.slots[1].text, "abc");
  EXPECT_EQ(c.slots[2].text, "ABCDEFGH");
}

TEST(DecodeInstructionTest, NegativeInt32IsMadeAbsoluteForJumpsOnly) {
  struct Case {
    std::string code;
    bool in_mission;
    int64_t value;
  } cases[] = {
      {Op(2) + Int32(-20), true, 1020},
      {Op(77, true) + Int32(-20), true, 1020},
      {Op(2) + Int32(-20), false, 84},
      {Op(2) + Int32(0), true, 0},  // a jump to the mission's first instruction
      {Op(2) + Int32(INT32_MIN), true, 1000 + (int64_t{1} << 31)},
      {Op(1) + Int32(-70000) + Int8(0), true, -70000},
      {Op(1) + Int32(-70000) + Int8(0), false, -70000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(Decode(c.code, c.in_mission).slots[1].integer, c.value);
  }
}

TEST(DecodeInstructionTest, WhereTheParametersEnd) {
  struct Case {
    const char* what;
    std::string code;
    int param_count;
  } cases[] = {
      {"open list", Op(3) + Int8(1) + Int8(2) + EndOfList(), 2},
      {"empty open list", Op(3) + EndOfList(), 0},
      {"fixed count ended early", Op(1) + Int8(1) + EndOfList(), 1},
      {"fixed count, no end byte looked for", Op(1) + Int8(1) + Int8(2), 2},
      {"undefined opcode has no parameters", Op(9), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Decode(c.code).param_count, c.param_count);
  }
  std::string full = Op(3);
  for (int i = 0; i < 255; ++i) full += Int8(i);
  EXPECT_EQ(Decode(full).param_count, 255);  // the next byte starts the next instruction
}

TEST(DecodeInstructionTest, Stops) {
  std::string many = Op(5);
  for (int i = 0; i < 256; ++i) many += Int8(1);
  struct Case {
    std::string code;
    const char* message;
  } cases[] = {
      {Op(1154), "main.scm: offset 64: opcode 1154 is outside 0 to 1153"},
      {Op(0x7FFF, true), "main.scm: offset 64: opcode 32767 is outside 0 to 1153"},
      {many, "main.scm: offset 576: opcode 5 has more than 255 parameters"},
      {std::string(1, '\x01'),
       "main.scm: offset 64: unable to read 16-bit opcode word past the end of the file"},
      {Op(1) + Int8(1),
       "main.scm: offset 68: unable to read 8-bit parameter type past the end of the file"},
      {Op(1) + "\x01\x01\x02",
       "main.scm: offset 67: unable to read 32-bit parameter past the end of the file"},
      {Op(1) + "abc",
       "main.scm: offset 66: unable to read 8-byte text parameter past the end of "
       "the file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(ErrorOf([&] { Decode(c.code); }), c.message);
  }
}

ScanResult Scan(const std::string& image) {
  const NameTables names = LoadNameTables(kOpcodes, "scm_asm.ini");
  ByteReader reader(Bytes(image), "main.scm");
  const ScriptLayout layout = WalkHeader(reader);
  auto instruction = std::make_unique<DecodedInstruction>();
  return ScanParts(reader, names.opcodes, layout, instruction.get());
}

TEST(ScanPartsTest, MarksJumpTargets) {
  Script script;
  script.main = Op(2) + Int32(64) + Op(77, true) + Int32(70) + Op(1) + Int32(76) + Int8(0) + Op(2) +
                Int32(699999) + Op(2) + Int32(700000);
  script.missions = {Op(2) + Int32(-7) + Op(2) + Int32(0)};
  std::string image = script.Build();
  image.resize(700001, '\0');  // zero words: opcode 0 without parameters
  const ScanResult scan = Scan(image);
  EXPECT_TRUE(scan.jump_targets.IsMarked(64));
  EXPECT_TRUE(scan.jump_targets.IsMarked(70));   // a negated jump marks too
  EXPECT_FALSE(scan.jump_targets.IsMarked(76));  // not a jump opcode
  EXPECT_TRUE(scan.jump_targets.IsMarked(699999));
  EXPECT_FALSE(scan.jump_targets.IsMarked(700000));
  EXPECT_TRUE(scan.jump_targets.IsMarked(script.MissionStart(1) + 7));
  EXPECT_TRUE(scan.jump_targets.IsMarked(0));  // a jump to a mission's start is stored as 0
}

TEST(ScanPartsTest, NamesPartsByTheirFirstNamingInstruction) {
  Script script;
  script.main = Op(932) + Int8(5) + Op(932) + Text("main") + Op(932) + Text("later");
  script.missions = {Op(0), Op(932) + Text("MAIN"), Op(932) + Text("a/b\\c\x1f"),
                     Op(932) + Text("MAIN_2")};
  const std::string image = script.Build();
  EXPECT_EQ(Scan(image).part_names,
            (std::vector<std::string>{"main", "", "MAIN_2", "a_b_c_", "MAIN_2_4"}));
}

TEST(MakePartNamesSafeTest, NamesBecomeDistinctByCollation) {
  struct Case {
    std::vector<std::string> names;
    std::vector<std::string> safe;
  } cases[] = {
      {{"main", "crates", "Crates", "CRATES"}, {"main", "crates", "Crates_2", "CRATES_3"}},
      {{"", "", ""}, {"", "_1", "_2"}},
      {{"x", "x_1", "x"}, {"x", "x_1", "x_2"}},
      {{"x", "x_2", "x"}, {"x", "x_2", "x_2_2"}},
      {{"../up", "/abs", "tab\there"}, {".._up", "_abs", "tab_here"}},
      {{"co-op", "coop", "CO-OP"}, {"co-op", "coop", "CO-OP_2"}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.safe.back());
    MakePartNamesSafe(&c.names);
    EXPECT_EQ(c.names, c.safe);
  }
}

}  // namespace
}  // namespace mavren
