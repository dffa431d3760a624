#include "vornak/core/opcode_table.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace vornak {
namespace {

OpcodeTable LoadText(const std::string& text) {
  OpcodeTable table;
  platform::LineReader lines = platform::LineReader::FromMemory(text);
  table.Load(lines, "ops.ini");
  return table;
}

TEST(OpcodeTableTest, ReadsEntryLinesByTheirFixedColumns) {
  struct Case {
    const char* line;
    uint16_t opcode;
    int32_t count;
    const char* name;
  };
  const Case cases[] = {
      {"0001=1,name", 1, 1, "NAME"},       // the whole line is upper-cased first
      {"0001:1,NAME", 1, 1, "NAME"},       // the fifth character is not looked at
      {"0001= 1,NAME", 1, 1, "NAME"},      // blanks before the count
      {"0001=1,NAME ", 1, 1, "NAME "},     // the name is not trimmed
      {"0001=-1,LIST", 1, -1, "LIST"},     // an open list
      {"0001=2,A,B", 1, 2, "A,B"},         // the name runs to the end of the line
      {"00a1=0,LOWER", 0xA1, 0, "LOWER"},  // a lower-case key
      {"0452=3,LAST", 1106, 3, "LAST"},    // the highest opcode
      {"0003=+2,PLUS", 3, 2, "PLUS"},      // a signed count
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const OpcodeTable table = LoadText(c.line);
    EXPECT_EQ(table.Def(c.opcode).count, c.count);
    EXPECT_EQ(table.Def(c.opcode).name, c.name);
  }
}

TEST(OpcodeTableTest, SkipsCommentsSectionsAndEmptyLinesAndIgnoresKeysWithoutAnEntry) {
  const OpcodeTable table = LoadText(
      "\r\n[opcodes]\r\n; 0001=1,COMMENT\r\n[variables]\r\n0000=1,ZERO\r\n0453=1,BEYOND\r\n"
      "FFFF=1,TOP\r\n0002=1,GOTO\r\n");
  EXPECT_EQ(table.Find("GOTO"), 2);
  for (const char* name : {"COMMENT", "ZERO", "BEYOND", "TOP"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(table.Find(name));
  }
  EXPECT_EQ(table.Def(1).count, 0);
  EXPECT_EQ(table.Def(1).name, "");
}

TEST(OpcodeTableTest, FindsTheLowestOpcodeOfANameAndTheLaterEntryOfAnOpcode) {
  const OpcodeTable table =
      LoadText("0009=1,TWICE\r\n0004=2,TWICE\r\n0007=1,OLD\r\n0007=3,NEW\r\n0008=1,NAME \r\n");
  EXPECT_EQ(table.Find("TWICE"), 4);
  EXPECT_FALSE(table.Find("OLD"));
  EXPECT_EQ(table.Find("NEW"), 7);
  EXPECT_EQ(table.Def(7).count, 3);
  EXPECT_FALSE(table.Find("NAME"));  // stored with its trailing blank
  EXPECT_FALSE(table.Find("new"));   // words are compared exactly
}

TEST(OpcodeTableTest, RefusesMalformedEntriesNamingTheLine) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"    ", "'$    ' is not a valid integer value"},
      {"XY01=1,NAME", "'$XY01' is not a valid integer value"},
      {"0001=1 ,NAME", "'1 ' is not a valid integer value"},
      {"0001=,NAME", "'' is not a valid integer value"},
      {"0001=x,NAME", "'X' is not a valid integer value"},
      {"; fine\r\n0001=1",
       "Opcode file \"ops.ini\", line 2: \"0001=1\" has no \",\" after the "
       "parameter count"},
      {"0001", "Opcode file \"ops.ini\", line 1: \"0001\" has no \",\" after the parameter count"},
      {"0001=-2,Name",
       "Opcode file \"ops.ini\", line 1: \"0001=-2,Name\" has a parameter count "
       "below -1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      LoadText(c.text);
      ADD_FAILURE() << "loaded";
    } catch (const platform::Error& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace vornak
