#include "vornak/core/instruction.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "vornak/core/test_project.h"

namespace vornak {
namespace {

// Opcodes of kTestOpcodes by their parameter count.
constexpr uint16_t kOne = 1, kTwo = 3, kFour = 4, kNone = 5, kOpen = 6;

class InstructionTest : public testing::Test {
 protected:
  InstructionTest() {
    TestProject project;
    project.ide = "200, CRATE_A\r\n1, THE_MODEL_NAME_IS_RATHER_LONG\r\n";
    state_ = LoadedState(project);
  }

  // The record's parameters, one text each: "int8 1", "var $A", "string AB", ...
  std::vector<std::string> Build(uint16_t opcode, std::string_view text) {
    std::string records;
    InstructionBuilder builder(state_.opcodes, state_.models, &state_.symbols);
    builder.Construct(opcode, text, false, &records);
    RecordReader reader(records);
    TOpCode record;
    EXPECT_TRUE(reader.Next(&record));
    EXPECT_EQ(record.Opcode, opcode);
    EXPECT_FALSE(reader.Next(&record));
    std::vector<std::string> params;
    ParamReader param_reader(records, record.Params);
    for (uint32_t i = 0; i < param_reader.count(); ++i) {
      params.push_back(Describe(param_reader.Next()));
    }
    return params;
  }

  std::string Describe(const Param& param) {
    const Symbols& symbols = state_.symbols;
    const std::string value = std::to_string(param.value);
    switch (param.tag) {
      case ParamTag::kInt8:
        return "int8 " + std::to_string(static_cast<int8_t>(param.value));
      case ParamTag::kInt16:
        return "int16 " + std::to_string(static_cast<int16_t>(param.value));
      case ParamTag::kInt32:
        return "int32 " + std::to_string(static_cast<int32_t>(param.value));
      case ParamTag::kFixed16:
        return "fixed " + std::to_string(static_cast<int16_t>(param.value));
      case ParamTag::kLocalVar:
        return "lvar " + value;
      case ParamTag::kString:
        return "string " + std::string(param.text);
      case ParamTag::kGlobalVar:
        return "var " + symbols.variables.Spelling(param.value);
      case ParamTag::kLocalObject:
        return "object " + symbols.local_objects.Spelling(param.value);
      case ParamTag::kModel:
        return "model " + state_.models.model(param.value).name;
      case ParamTag::kMission:
        return "mission " + std::string(symbols.mission_names.Name(param.value));
      case ParamTag::kLabel:
        return "label " + std::string(param.text);
      case ParamTag::kBadInteger:
        return "bad-integer " + std::string(param.text);
      case ParamTag::kBadDecimal:
        return "bad-decimal " + std::string(param.text);
      case ParamTag::kBadLocalVar:
        return "bad-lvar " + std::string(param.text);
      case ParamTag::kUnknown:
        return "unknown";
    }
    return "";
  }

  std::string Failure(uint16_t opcode, std::string_view text) {
    try {
      Build(opcode, text);
    } catch (const platform::Error& error) {
      return error.what();
    }
    return "no failure";
  }

  BuildState state_;
};

using Params = std::vector<std::string>;

TEST_F(InstructionTest, SplitsTheTextIntoSlotsByKind) {
  struct Case {
    uint16_t opcode;
    const char* text;
    Params params;
  };
  const Case cases[] = {
      {kOne, " 100", {"int8 100"}},
      {kFour,
       " 1, -2.5 ,$Timer, %car ; note",
       {"int8 1", "fixed -40", "var $Timer", "object %CAR"}},
      {kOne, " $A $B", {"var $B"}},  // a later item replaces the slot's earlier one
      {kOne, " 12$A", {"var $A"}},
      {kOne, " 1 2", {"bad-integer 1 2"}},  // blanks do not separate parameters
      {kOne, " @loop", {"label LOOP"}},
      {kOne, " @ loop", {"label  LOOP"}},  // blanks after "@" stay
      {kOne, " &Mission1", {"mission Mission1"}},
      {kOne, " & Intro ", {"mission Intro"}},
      {kOne, " %crate_a", {"model %CRATE_A"}},
      {kOne, " %a $b!c", {"object %A $B!C"}},  // an object name runs to "," or ";"
      {kOne, " !1f", {"lvar 31"}},
      {kOne, " !xyz", {"bad-lvar xyz"}},
      {kOne, " \"ABC\"", {"string ABC"}},
      {kOne, " \"\"", {"string "}},
      {kOne, " \"ABCDEFGH\"", {"string ABCDEFGH"}},
      {kOne, " \"A B", {"string A "}},             // the last character is dropped whatever it is
      {kTwo, " \"A,B\"", {"string ", "unknown"}},  // a comma splits a string
      {kTwo, " 1,2,", {"int8 1", "int8 2"}},       // trailing commas are accepted
      {kOne, " +5", {"unknown"}},
      {kOne, " -", {"bad-integer -"}},
      {kOne, " .5", {"fixed 8"}},
      {kOne, " 1.2.3", {"bad-decimal 1.2.3"}},
      {kOne, " 0x10", {"int8 16"}},
      {kNone, "", {}},
      {kOpen, "", {}},
      {kOpen, " 1,2,3,4,5", {"int8 1", "int8 2", "int8 3", "int8 4", "int8 5"}},
      {kOpen, " 1,2,;x", {"int8 1", "int8 2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Build(c.opcode, c.text), c.params);
  }
}

TEST_F(InstructionTest, StoresNumbersInTheirNarrowestForm) {
  struct Case {
    const char* text;
    const char* param;
  };
  const Case cases[] = {
      {"127", "int8 127"},        {"128", "int16 128"},       {"-128", "int8 -128"},
      {"-129", "int16 -129"},     {"32767", "int16 32767"},   {"32768", "int32 32768"},
      {"-32768", "int16 -32768"}, {"-32769", "int32 -32769"}, {"1.5", "fixed 24"},
      {"-0.5", "fixed -8"},       {"0.03", "fixed 0"},        {"5.0", "fixed 80"},
      {"2048.0", "fixed -32768"}, {"-0.06", "fixed 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Build(kOne, c.text), Params{c.param});
  }
}

TEST_F(InstructionTest, RegistersVariablesAndLocalObjectsButNotModels) {
  Build(kFour, " $Count, %car, %CRATE_A, $a");
  Build(kTwo, " $COUNT, %Car");
  Build(kOne, " $A $B");  // a replaced item is registered all the same
  const Symbols& symbols = state_.symbols;
  ASSERT_EQ(symbols.variables.size(), 3u);
  EXPECT_EQ(symbols.variables.Spelling(*symbols.variables.Find("$count")), "$Count");
  EXPECT_TRUE(symbols.variables.Find("$B"));
  ASSERT_EQ(symbols.local_objects.size(), 1u);
  EXPECT_EQ(symbols.local_objects.Spelling(0), "%CAR");
}

TEST_F(InstructionTest, RefusesTextsThatFitNoSlotsWithAMessage) {
  struct Case {
    uint16_t opcode;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {kFour, " 1", "Expected 4 parameters. But only found 1"},
      {kFour, " 1, 2,", "Expected 4 parameters. But only found 3"},
      {kTwo, " ; only a comment", "Expected 2 parameters. But only found 1"},
      {kTwo, "", "Expected 2 parameters. But only found 0"},
      {kTwo, " 1,2,3", "Too many parameters"},
      {kNone, " 1", "Too many parameters"},
      {kNone, " ;", ""},
      {kFour, " 1,,2,3", "Parameter 2 is empty"},
      {kTwo, " 1,", "Parameter 2 is empty"},
      {kOne, " ; comment", "Parameter 1 is empty"},
      {kOpen, " ,1", "Parameter 1 is empty"},
      {kOne, " \"ABCDEFGHI\"", "String \"ABCDEFGHI\" is longer than 8 characters"},
      {kOne, " %ABCDEFGHIJKLMNOPQRSTUVWXY",
       "Local object name ABCDEFGHIJKLMNOPQRSTUVWXY is longer than 24 characters"},
      {kOne, " %ABCDEFGHIJKLMNOPQRSTUVWX", ""},
      {kOne, " %THE_MODEL_NAME_IS_RATHER_LONG", ""},  // a model is no local object
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string failure = Failure(c.opcode, c.text);
    EXPECT_EQ(failure, *c.message ? c.message : "no failure");
  }
}

TEST_F(InstructionTest, RefusesTheGlobalVariableWhoseOffsetWouldPass16Bits) {
  for (int i = 0; i < 16382; ++i) Build(kOne, "$V" + std::to_string(i));
  EXPECT_EQ(Failure(kOne, "$V0"), "no failure");
  EXPECT_EQ(Failure(kOne, "$Extra"),
            "Too many global variables: $Extra would be number 16383, and at most 16382 fit the "
            "16-bit offsets");
}

}  // namespace
}  // namespace vornak
