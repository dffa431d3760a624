#include "mavren/writer.h"

#include <gtest/gtest.h>

#include "mavren/test_support.h"
#include "platform/error.h"
#include "platform/number_text.h"

namespace mavren {
namespace {

using namespace testing;  // NOLINT: the byte builders

const char kOpcodes[] =
    "[opcodes]\n"
    "0001=2,SET_TIMER\n"
    "0002=1,GOTO\n"
    "004D=1,GOTO_UNLESS\n"
    "00D6=1,IF\n"
    "0107=2,PLACE_OBJECT\n"
    "0363=6,SWAP_MODEL\n"
    "03B6=6,REPLACE_MODEL\n"
    "03A4=1,NAME_PART\n"
    "0417=1,START_MISSION\n"
    "0005=1\n"
    "0006=1,TEN_CHARS_\n"
    "0007=-1,LIST\n";

// The instruction lines of a main part holding |code| (the header block left out).
std::vector<std::string> MainLines(const std::string& code, const DisSettings& settings = {},
                                   std::string_view opcodes = kOpcodes) {
  Script script;
  script.main = code;
  std::vector<std::string> lines =
      Lines(DisassembleText(script.Build(), opcodes, settings).at(0).text);
  lines.erase(lines.begin(), lines.begin() + 4);
  return lines;
}

std::string ErrorOf(const std::string& image, const DisSettings& settings = {}) {
  try {
    DisassembleText(image, kOpcodes, settings);
  } catch (const platform::Error& error) {
    return error.what();
  }
  return "no error";
}

TEST(HexWordTest, FourLowerCaseDigitsOfThe16BitPattern) {
  struct Case {
    int value;
    const char* text;
  } cases[] = {{0, "0000"},  {214, "00d6"},    {0x7FFF, "7fff"},
               {-1, "ffff"}, {-32768, "8000"}, {0x1ABCD, "abcd"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(HexWord(c.value), c.text);
  }
}

TEST(SourceWriterTest, OpcodeColumnWidth) {
  DisSettings narrow;
  narrow.par_distance = 5;
  DisSettings unnamed;
  unnamed.name_opcodes = 0;
  struct Case {
    const char* what;
    std::string code;
    DisSettings settings;
    const char* line;
  } cases[] = {
      {"name padded to W", Op(1) + Int8(1) + Int8(2), {}, "    SET_TIMER               1, 2"},
      {"negated", Op(1, true) + Int8(1) + Int8(2), {}, "    !SET_TIMER              1, 2"},
      {"hexadecimal without a name", Op(5) + Int8(1), {}, "    0005                    1"},
      {"nameopcodes 0", Op(1) + Int8(1) + EndOfList(), unnamed, "    0001                    1"},
      {"no parameters keeps the column", Op(7) + EndOfList(), {}, "    LIST                    "},
      {"W = 3: name longer than W", Op(2) + Int32(64), narrow, "    GOTO @label64"},
      {"W = 3: 10-character name", Op(6) + Int8(0), narrow, "    TEN_CHARS_ 0"},
      {"W = 3: hexadecimal raised to 4", Op(5) + Int8(0), narrow, "    0005 0"},
      {"W = 2: negated hexadecimal", Op(5, true) + Int8(0), narrow, "    !0005 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MainLines(c.code, c.settings).back(), c.line);
  }
}

TEST(SourceWriterTest, IfBlocksAreIndentedAfter214UpToAPlain77) {
  const std::string code = Op(214) + Int8(0) + Op(214) + Int8(1) + Op(1, true) + Int8(1) + Int8(2) +
                           Op(77, true) + Int32(64) + Op(77) + Int32(64) + Op(5) + Int8(3);
  DisSettings wide;
  wide.if_block_indent = 4;
  EXPECT_EQ(MainLines(code), (std::vector<std::string>{
                                 "@label64",
                                 "    IF                      0",
                                 "      IF                    1",
                                 "      !SET_TIMER            1, 2",
                                 "      !GOTO_UNLESS          @label64",
                                 "    GOTO_UNLESS             @label64",
                                 "    0005                    3",
                             }));
  EXPECT_EQ(MainLines(code, wide)[2], "        IF                    1");
}

TEST(SourceWriterTest, ParameterTexts) {
  DisSettings named;
  named.name_variables = 1;
  DisSettings padded;
  padded.pad_variables = 1;
  const char kNames[] = "[variables]\n0008=Counter\n000C=\n";
  struct Case {
    std::string params;
    DisSettings settings;
    const char* text;
  } cases[] = {
      {Int8(200 - 256), {}, "-56"},
      {Int16(-5), {}, "-5"},
      {Int32(-70000), {}, "-70000"},  // not a jump: written as read
      {Int32(2147483647), {}, "2147483647"},
      {LocalVar(3), {}, "!0003"},
      {LocalVar(0xFFFF), {}, "!ffff"},
      {GlobalVar(8), {}, "$var8"},
      {GlobalVar(8), named, "$Counter"},
      {GlobalVar(12), named, "$var12"},  // an empty name
      {GlobalVar(16), named, "$var16"},
      {GlobalVar(8), padded, "$var00008"},
      {GlobalVar(20000), padded, "$var20000"},
      {GlobalVar(0), padded, "$var00000"},
      {Fixed16(16), {}, "1.0"},
      {Fixed16(8), {}, ".5"},
      {Fixed16(-4), {}, "-.25"},
      {Fixed16(0), {}, "0.0"},
      {Fixed16(1601), {}, "100.0625"},
      {Fixed16(-32768), {}, "-2048.0"},
      {Fixed16(32767), {}, "2047.938"},
      {Fixed16(19745), {}, "1234.063"},  // half-way at the 7th digit: away from zero
      {Text("abc"), {}, "\"abc\""},
      {Text("ABCDEFGH"), {}, "\"ABCDEFGH\""},
      {Text("a\"b"), {}, "\"a\"b\""},  // nothing is escaped
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string opcodes = std::string(kOpcodes) + kNames;
    EXPECT_EQ(MainLines(Op(5) + c.params, c.settings, opcodes).back(),
              std::string("    0005                    ") + c.text);
  }
}

// Decimals are written from their sixteenths directly; every one of them reads as the real-number
// text of its value, with ".0" after a whole number.
TEST(SourceWriterTest, EverySixteenthAsItsRealText) {
  std::string code;
  for (int sixteenths = -32768; sixteenths <= 32767; ++sixteenths) {
    code += Op(5) + Fixed16(sixteenths);
  }
  const std::vector<std::string> lines = MainLines(code);
  ASSERT_EQ(lines.size(), 65536u);
  for (int sixteenths = -32768; sixteenths <= 32767; ++sixteenths) {
    std::string text = platform::RealText(sixteenths / 16.0);
    if (text.find('.') == std::string::npos) text += ".0";
    ASSERT_EQ(lines[sixteenths + 32768], "    0005                    " + text);
  }
}

TEST(SourceWriterTest, ObjectNamesAtTheirPositions) {
  Script script;
  script.objects = {"CRATE_A", "LAMPPOST", "BARREL"};
  script.main = Op(263) + Int8(-1) + Int8(-1) +                                          //
                Op(263) + Int16(-2) + Int16(200) +                                       //
                Op(263) + Int16(-200) + EndOfList() +                                    //
                Op(867) + Int8(1) + Int8(2) + Int8(3) + Int8(4) + Int8(-3) + Int8(-3) +  //
                Op(950) + Int8(1) + Int8(2) + Int8(3) + Int8(4) + Int8(-1) + Int8(-3) +  //
                Op(950, true) + Int8(1) + Int8(2) + Int8(3) + Int8(4) + Int8(5) + Int32(-3);
  const std::vector<std::string> lines = Lines(DisassembleText(script.Build(), kOpcodes)[0].text);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 4, lines.end()),
            (std::vector<std::string>{
                "    PLACE_OBJECT            %CRATE_A, -1",
                "    PLACE_OBJECT            %LAMPPOST, 200",
                "    PLACE_OBJECT            -200",  // a number that names no object
                "    SWAP_MODEL              1, 2, 3, 4, %BARREL, -3",
                "    REPLACE_MODEL           1, 2, 3, 4, %CRATE_A, %BARREL",
                "    !REPLACE_MODEL          1, 2, 3, 4, 5, -3",
            }));
}

TEST(SourceWriterTest, PartsHeaderAndMissionReferences) {
  Script script;
  script.main = Op(932) + Text("main") + Op(1047) + Int8(0) + Op(1047) + Int8(-1) + Op(1047) +
                Int32(1) + Op(1047) + Int8(98);
  script.missions = {Op(932) + Text("crates") + Op(2) + Int32(-10) + Op(2) + Int32(0),
                     Op(932) + Text("Crates") + Op(5) + Int8(0)};
  const std::string image = script.Build();
  DisSettings settings;
  settings.output_dir = "out/";
  MemorySink sink;
  const NameTables names = LoadNameTables(kOpcodes, "scm_asm.ini");
  Disassemble(Bytes(image), "main.scm", settings, names, sink);
  ASSERT_EQ(sink.parts().size(), 3u);
  EXPECT_EQ(sink.input_length(), static_cast<int64_t>(image.size()));
  EXPECT_EQ(sink.parts()[0].path, "out/main.gsr");
  EXPECT_EQ(sink.parts()[0].text,
            "; disassembled by zelkar scm disassembler v1.0\r\n"
            "\r\n"
            "; mission references\r\n"
            "    #mission crates\r\n"
            "    #mission Crates_2\r\n"
            "; main code\r\n"
            "    NAME_PART               \"main\"\r\n"
            "    START_MISSION           &crates\r\n"
            "    START_MISSION           &main\r\n"
            "    START_MISSION           &Crates_2\r\n"
            "    START_MISSION           &\r\n");
  EXPECT_EQ(sink.parts()[0].read_offset, script.MissionStart(1));
  EXPECT_EQ(sink.parts()[1].path, "out/crates.gsr");
  EXPECT_EQ(sink.parts()[1].text,
            "    NAME_PART               \"crates\"\r\n"
            "@label" +
                std::to_string(script.MissionStart(1) + 10) +
                "\r\n"
                "    GOTO                    @label" +
                std::to_string(script.MissionStart(1) + 10) +
                "\r\n"
                "    GOTO                    @label0\r\n");
  EXPECT_EQ(sink.parts()[2].path, "out/Crates_2.gsr");
  EXPECT_EQ(sink.parts()[2].text,
            "    NAME_PART               \"Crates\"\r\n"
            "    0005                    0\r\n");
  EXPECT_EQ(sink.parts()[2].read_offset, static_cast<int64_t>(image.size()));
}

TEST(SourceWriterTest, LabelNames) {
  // Offsets: 64 GOTO, 71 SET_TIMER (a jump lands inside it, at 73), 77 GOTO, 84 GOTO.
  const std::string code =
      Op(2) + Int32(77) + Op(1) + Int8(1) + Int8(2) + Op(2) + Int32(73) + Op(2) + Int32(64);
  const std::string opcodes = std::string(kOpcodes) +
                              "[labels]\n0040=LOOP\n004D=NEXT\n0049=IN\n"
                              "0047=UNUSED\n";
  DisSettings named;
  named.name_labels = 1;
  EXPECT_EQ(MainLines(code, named, opcodes), (std::vector<std::string>{
                                                 "@LOOP",
                                                 "    GOTO                    @NEXT",
                                                 "    SET_TIMER               1, 2",
                                                 "@NEXT",
                                                 "    GOTO                    @IN",
                                                 "    GOTO                    @LOOP",
                                             }));
  EXPECT_EQ(MainLines(code, {}, opcodes), (std::vector<std::string>{
                                              "@label64",
                                              "    GOTO                    @label77",
                                              "    SET_TIMER               1, 2",
                                              "@label77",
                                              "    GOTO                    @label73",
                                              "    GOTO                    @label64",
                                          }));
}

TEST(SourceWriterTest, LabelsAfterTheLastInstructionEndTheirOwnPart) {
  // The main part (72 to 76) ends with a label that mission 1 jumps to (absolute); mission 1 (76 to
  // 90) ends with a label that it jumps to itself (relative); so does mission 2 (90 to 101), the
  // last part, whose label is the end of the file.
  Script script;
  script.main = Op(5) + Int8(1);
  script.missions = {Op(2) + Int32(-14) + Op(2) + Int32(76), Op(5) + Int8(2) + Op(2) + Int32(-11)};
  ASSERT_EQ(script.MissionStart(1), 76);
  ASSERT_EQ(script.MissionStart(2), 90);
  const std::vector<MemorySink::Part> parts = DisassembleText(script.Build(), kOpcodes);
  ASSERT_EQ(parts.size(), 3u);
  const std::vector<std::string> main = Lines(parts[0].text);
  EXPECT_EQ(std::vector<std::string>(main.end() - 2, main.end()),
            (std::vector<std::string>{"    0005                    1", "@label76"}));
  EXPECT_EQ(Lines(parts[1].text), (std::vector<std::string>{
                                      "    GOTO                    @label90",
                                      "    GOTO                    @label76",
                                      "@label90",
                                  }));
  EXPECT_EQ(Lines(parts[2].text), (std::vector<std::string>{
                                      "    0005                    2",
                                      "    GOTO                    @label101",
                                      "@label101",
                                  }));
}

TEST(SourceWriterTest, LongTextsCrossTheWriteBlocks) {
  // A label name longer than a write block, indents longer than the short run, and enough lines
  // that block ends fall inside them.
  const std::string name(70000, 'L');
  DisSettings settings;
  settings.default_indent = 100;
  settings.name_labels = 1;
  std::string code;
  std::string expected = "@" + name + "\r\n";
  for (int i = 0; i < 3; ++i) {
    code += Op(2) + Int32(64);
    expected += std::string(100, ' ') + "GOTO                    @" + name + "\r\n";
  }
  for (int i = 0; i < 3000; ++i) {
    code += Op(5) + Int8(i % 100);
    expected +=
        std::string(100, ' ') + "0005                    " + std::to_string(i % 100) + "\r\n";
  }
  Script script;
  script.main = code;
  const std::string opcodes = std::string(kOpcodes) + "[labels]\n0040=" + name + "\n";
  const std::string text = DisassembleText(script.Build(), opcodes, settings).at(0).text;
  EXPECT_TRUE(text ==
              "; disassembled by zelkar scm disassembler v1.0\r\n\r\n"
              "; mission references\r\n; main code\r\n" +
                  expected);
}

TEST(SourceWriterTest, StateCarriesAcrossPartsAndPasses) {
  Script script;
  script.main = Op(214) + Int8(0);
  script.missions = {Op(5) + Int8(1) + Op(214) + Int8(0)};
  const std::vector<MemorySink::Part> parts = DisassembleText(script.Build(), kOpcodes);
  // The scan pass ended on a 214, so the writing pass starts inside an if-block; no plain 77
  // ends it.
  EXPECT_EQ(Lines(parts[0].text).back(), "      IF                    0");
  EXPECT_EQ(parts[1].text, "      0005                  1\r\n      IF                    0\r\n");
}

TEST(SourceWriterTest, Stops) {
  Script script;
  DisSettings negative_indent;
  negative_indent.default_indent = -1;
  DisSettings negative_if_indent;
  negative_if_indent.if_block_indent = -2;
  struct Case {
    std::string main;
    DisSettings settings;
    std::string message;
  } cases[] = {
      {Op(2) + Int32(700001), {}, "main.scm: offset 64: jump target 700001 is outside 0 to 700000"},
      {Op(5) + GlobalVar(20001),
       {},
       "main.scm: offset 64: global variable offset 20001 is outside 0 to 20000"},
      {Op(5) + GlobalVar(-4),
       {},
       "main.scm: offset 64: global variable offset -4 is outside 0 to 20000"},
      {Op(263) + Int16(-257) + Int8(0),
       {},
       "main.scm: offset 64: local object number -257 is below -256"},
      {Op(1047) + Int8(100), {}, "main.scm: offset 64: mission number 100 is outside -1 to 99"},
      {Op(1047) + Int8(-2), {}, "main.scm: offset 64: mission number -2 is outside -1 to 99"},
      {Op(1047) + Text("abc"),
       {},
       "main.scm: offset 64: parameter 1 of opcode 1047 is a text where a mission number "
       "belongs"},
      {Op(5) + Int8(0), negative_indent,
       "mavren.ini: the setting defaultindent=-1 is a negative indent"},
      {Op(5) + Int8(0) + Op(214) + Int8(0) + Op(5) + Int8(0), negative_if_indent,
       "mavren.ini: the setting ifblockindent=-2 is a negative indent"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    script.main = c.main;
    EXPECT_EQ(ErrorOf(script.Build(), c.settings), c.message);
  }
  // An instruction past offset 700000, once the parts before it are written.
  script.main = Op(0);
  script.missions = {std::string(700002, '\0')};
  const std::string image = script.Build();
  MemorySink sink;
  const NameTables names = LoadNameTables(kOpcodes, "scm_asm.ini");
  try {
    Disassemble(Bytes(image), "main.scm", {}, names, sink);
    ADD_FAILURE() << "no error";
  } catch (const platform::Error& error) {
    EXPECT_STREQ(error.what(),
                 "main.scm: offset 700002: an instruction begins past offset 700000, the last a "
                 "label can mark");
  }
  ASSERT_EQ(sink.parts().size(), 2u);
  EXPECT_EQ(sink.parts()[0].read_offset, 70);
  EXPECT_EQ(sink.parts()[1].read_offset, -1);  // the part being written never ended
}

TEST(SourceWriterTest, ReadPastTheEndStopsThePart) {
  Script script;
  script.main = Op(5) + Int8(0);
  script.missions = {Op(1) + Int8(1)};
  const std::string image = script.Build();
  MemorySink sink;
  const NameTables names = LoadNameTables(kOpcodes, "scm_asm.ini");
  EXPECT_THROW(Disassemble(Bytes(image), "main.scm", {}, names, sink), platform::Error);
  EXPECT_TRUE(sink.parts().empty()) << "the scan pass stops before anything is written";
}

}  // namespace
}  // namespace mavren
