// Damage test: a valid compiled script, cut at every length and with every byte changed, must give
// a clean stop or a complete output, never a crash or a read outside the file.
#include <gtest/gtest.h>

#include "mavren/test_support.h"
#include "mavren/writer.h"
#include "platform/error.h"

namespace mavren {
namespace {

using namespace testing;  // NOLINT: the byte builders

const char kOpcodes[] =
    "[opcodes]\n0001=2,SET_TIMER\n0002=1,GOTO\n004D=1,GOTO_UNLESS\n00D6=1,IF\n"
    "0107=2,PLACE_OBJECT\n03B6=6,REPLACE_MODEL\n03A4=1,NAME_PART\n0417=1,START_MISSION\n"
    "0007=-1,LIST\n0008=1,SHOW_TEXT\n"
    "[variables]\n0008=Counter\n[labels]\n0080=LOOP\n";

Script DamageFixture() {
  Script script;
  script.variables = 2;
  script.objects = {"CRATE_A", "LAMPPOST"};
  // The main part starts at 128.
  script.main = Op(932) + Text("main") + Op(1047) + Int8(0) + Op(214) + Int8(0) + Op(77) +
                Int32(128) + Op(263) + Int8(-1) + Int16(200) + Op(1) + GlobalVar(8) + Fixed16(24) +
                Op(7) + Int8(1) + Int16(-300) + Int32(70000) + EndOfList() + Op(2, true) +
                Int32(128);
  script.missions = {Op(932) + Text("crates") + Op(2) + Int32(-10) + Op(950) + Int8(1) + Int8(2) +
                         Int8(3) + Int8(4) + Int8(-2) + Int16(-3) + Op(8) + Text("ABCDEFGH") +
                         Op(1047) + Int8(-1),
                     Op(932) + Text("CRATES") + Op(1) + LocalVar(0xFFFF) + Int32(-70000) + Op(2) +
                         Int32(0) + Op(7) + EndOfList()};
  return script;
}

class DamageTest : public ::testing::Test {
 protected:
  DamageTest() : names_(LoadNameTables(kOpcodes, "scm_asm.ini")) {
    settings_.name_variables = 1;
    settings_.name_labels = 1;
  }

  // Disassembles |image|; true when it ran to the end, false on a clean stop.
  bool Run(const std::string& image, MemorySink* sink) {
    try {
      Disassemble(Bytes(image), "main.scm", settings_, names_, *sink);
    } catch (const platform::Error& error) {
      EXPECT_EQ(std::string(error.what()).rfind("main.scm: offset ", 0), 0u) << error.what();
      return false;
    }
    for (const MemorySink::Part& part : sink->parts()) {
      EXPECT_GE(part.read_offset, 0) << part.path;
      EXPECT_TRUE(part.text.empty() || part.text.ends_with("\r\n")) << part.path;
    }
    return true;
  }

  NameTables names_;
  DisSettings settings_;
};

TEST_F(DamageTest, FixtureDisassembles) {
  const std::string image = DamageFixture().Build();
  ASSERT_GT(image.size(), 200u);
  MemorySink sink;
  ASSERT_TRUE(Run(image, &sink));
  ASSERT_EQ(sink.parts().size(), 3u);
  EXPECT_EQ(sink.parts()[0].text,
            "; disassembled by zelkar scm disassembler v1.0\r\n\r\n; mission references\r\n"
            "    #mission crates\r\n    #mission CRATES_2\r\n; main code\r\n"
            "@LOOP\r\n"
            "    NAME_PART               \"main\"\r\n"
            "    START_MISSION           &crates\r\n"
            "    IF                      0\r\n"
            "    GOTO_UNLESS             @LOOP\r\n"
            "    PLACE_OBJECT            %CRATE_A, 200\r\n"
            "    SET_TIMER               $Counter, 1.5\r\n"
            "    LIST                    1, -300, 70000\r\n"
            "    !GOTO                   @LOOP\r\n");
  EXPECT_EQ(sink.parts()[1].path, "crates.gsr");
  EXPECT_EQ(Lines(sink.parts()[1].text),
            (std::vector<std::string>{
                "    NAME_PART               \"crates\"",
                "@label" + std::to_string(DamageFixture().MissionStart(1) + 10),
                "    GOTO                    @label" +
                    std::to_string(DamageFixture().MissionStart(1) + 10),
                "    REPLACE_MODEL           1, 2, 3, 4, %LAMPPOST, -3",
                "    SHOW_TEXT               \"ABCDEFGH\"", "    START_MISSION           &main"}));
  EXPECT_EQ(sink.parts()[2].path, "CRATES_2.gsr");
  EXPECT_EQ(
      Lines(sink.parts()[2].text),
      (std::vector<std::string>{
          "    NAME_PART               \"CRATES\"", "    SET_TIMER               !ffff, -70000",
          "    GOTO                    @label0", "    LIST                    "}));
}

TEST_F(DamageTest, EveryCutStopsCleanlyOrCompletes) {
  const std::string image = DamageFixture().Build();
  int completed = 0;
  for (size_t length = 0; length < image.size(); ++length) {
    SCOPED_TRACE(length);
    MemorySink sink;
    completed += Run(image.substr(0, length), &sink);
  }
  // Only a cut at one of the last part's 4 instruction starts, or one byte after it (a last byte
  // alone is no instruction), leaves a whole file.
  EXPECT_EQ(completed, 8);
}

TEST_F(DamageTest, EveryChangedByteStopsCleanlyOrCompletes) {
  const std::string image = DamageFixture().Build();
  int completed = 0;
  int stopped = 0;
  for (size_t offset = 0; offset < image.size(); ++offset) {
    for (int value : {0x00, 0x01, 0x07, 0x80, 0xFF, image[offset] + 1}) {
      SCOPED_TRACE(::testing::Message() << "offset " << offset << " value " << value);
      std::string changed = image;
      changed[offset] = static_cast<char>(value);
      MemorySink sink;
      (Run(changed, &sink) ? completed : stopped) += 1;
    }
  }
  EXPECT_GT(completed, 0);
  EXPECT_GT(stopped, 0);
}

}  // namespace
}  // namespace mavren
