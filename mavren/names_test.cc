#include "mavren/names.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace mavren {
namespace {

TEST(KeyValueTest, LettersContinueTheDigitRowAndOtherLengthsGiveZero) {
  struct Case {
    const char* key;
    std::optional<int32_t> value;
  } cases[] = {
      {"00a1", 161},
      {"00A1", 161},
      {"0452", 1106},
      {"0G00", 4096},  // "G" is digit 16
      {"1000", 4096},
      {"000Z", 35},
      {"000_", 40},
      {"00-1", 1},  // characters below "A" other than digits count 0
      {" 001", 1},
      {"000\xE9", 146},  // a small accented letter counts as its capital
      {"zzzz", 152915},
      {"abc", 0},
      {"abcde", 0},
      {"", 0},
      {"00010000", 65536},
      {"000AAE60", 700000},
      {"7FFFFFFF", INT32_MAX},
      {"80000000", std::nullopt},  // the first four give 8000 hexadecimal
      {"7FFFZZZZ", std::nullopt},  // the sum leaves 32 bits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(KeyValue(c.key), c.value);
  }
}

TEST(LoadNameTablesTest, OpcodeEntries) {
  struct Case {
    const char* line;
    int opcode;
    int32_t count;
    const char* name;
  } cases[] = {
      {"0001=-1,Name", 1, 255, "Name"},
      {"0001=-7,Name", 1, 255, "Name"},
      {"0001=3", 1, 3, ""},
      {"0001=abc,Name", 1, 0, "Name"},
      {"0001=2.5,X", 1, 2, "X"},
      {"0001=3.5,X", 1, 4, "X"},
      {"0001=  7 ,  Spaced Name  ", 1, 7, "Spaced Name"},
      {"0001=2,A,B", 1, 2, "A,B"},
      {"0001=&H10,Hex", 1, 16, "Hex"},
      {"0001=1,\tTabbed", 1, 1, "\tTabbed"},
      {"00a1=1,lower", 161, 1, "lower"},
      {"0481=2,Last", 1153, 2, "Last"},
      // Keys of other lengths give 0, so these set opcode 0.
      {"abc=4,Zero", 0, 4, "Zero"},
      {" ;0001=5", 0, 5, ""},
      {" ;0001=text", 0, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const NameTables tables = LoadNameTables(std::string("[opcodes]\r\n") + c.line, "scm_asm.ini");
    EXPECT_EQ(tables.opcodes[c.opcode].count, c.count);
    EXPECT_EQ(tables.opcodes[c.opcode].name, c.name);
  }
}

TEST(LoadNameTablesTest, SectionHeadsMustMatchExactly) {
  struct Case {
    const char* text;
    int32_t count;  // of opcode 1
  } cases[] = {
      {"0001=2,X", 0},                      // no section yet
      {"[Opcodes]\n0001=2,X", 0},           // another case
      {"[opcodes] \n0001=2,X", 0},          // a trailing blank
      {"[opcodes]\n[other]\n0001=2,X", 2},  // an unknown head keeps the section
      {"[opcodes]\n[Labels]\n0001=2,X", 2},
      {"[opcodes]\n[variables]\n0001=2,X", 0},
      {"[variables]\n[opcodes]\n;0001=5,X\n0001=2,X", 2},  // comments are skipped
      {"[opcodes]\r\n0001=2,X\r\n0001=3,Y\r\n", 3},        // the later line wins
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(LoadNameTables(c.text, "scm_asm.ini").opcodes[1].count, c.count);
  }
}

TEST(LoadNameTablesTest, VariablesAndLabels) {
  const NameTables tables = LoadNameTables(
      "[variables]\n0008= Counter \n000C=Timer\n[labels]\n01F4=Start\n000186A0=Far\n01F4=Again\n",
      "scm_asm.ini");
  EXPECT_EQ(tables.variables[8], " Counter ");  // kept as written
  EXPECT_EQ(tables.variables[12], "Timer");
  EXPECT_EQ(tables.variables[16], "");
  EXPECT_EQ(tables.variables[20000], "");
  ASSERT_EQ(tables.LabelCount(), 3);
  EXPECT_EQ(tables.labels[1], "Start");
  EXPECT_EQ(tables.labels[2], "Far");
  EXPECT_EQ(tables.labels[3], "Again");
  EXPECT_EQ(tables.label_map[500], 3);  // a repeated key maps to its later number
  EXPECT_EQ(tables.label_map[100000], 2);
  EXPECT_EQ(tables.label_map[501], 0);
  EXPECT_EQ(tables.label_map[700000], 0);
}

TEST(LoadNameTablesTest, StopsWithPathLineAndWhatIsWrong) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"[opcodes]\n0482=1,X", "scm_asm.ini: line 2: opcode 1154 (key 0482) is outside 0 to 1153"},
      {"[variables]\n4E21=X",
       "scm_asm.ini: line 2: variable offset 20001 (key 4E21) is outside 0 to 20000"},
      {"[labels]\n000AAE61=X",
       "scm_asm.ini: line 2: label offset 700001 (key 000AAE61) is outside 0 to 700000"},
      {"; keys are evaluated before any section\n80000000=X",
       "scm_asm.ini: line 2: the key 80000000 is too large for a 32-bit number"},
      {"[opcodes]\n0001=3000000000,X",
       "scm_asm.ini: line 2: the parameter count 3000000000 is too large for a 32-bit number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      LoadNameTables(c.text, "scm_asm.ini");
      ADD_FAILURE() << "no error";
    } catch (const platform::Error& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

TEST(LoadNameTablesTest, HoldsTenThousandLabels) {
  std::string text = "[labels]\n";
  for (int i = 1; i <= 10000; ++i) text += "0001=L\n";
  EXPECT_EQ(LoadNameTables(text, "scm_asm.ini").LabelCount(), 10000);
  text += "0002=One too many\n";
  try {
    LoadNameTables(text, "scm_asm.ini");
    ADD_FAILURE() << "no error";
  } catch (const platform::Error& error) {
    EXPECT_STREQ(error.what(), "scm_asm.ini: line 10002: more than 10000 labels");
  }
}

}  // namespace
}  // namespace mavren
