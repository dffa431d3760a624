#include "platform/text.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

using std::string_literals::operator""s;

TEST(TextTest, TrimRemovesCodesUpTo32AtBothEnds) {
  struct Case {
    std::string text;
    std::string trimmed;
  } cases[] = {
      {"", ""},
      {" \t ", ""},
      {"  word  ", "word"},
      {"\x01\r\n\x1F two words \x20\x0B", "two words"},
      {"\0x\0"s, "x"},
      {"\x7F"
       "x\xA0",
       "\x7F"
       "x\xA0"},  // DEL and no-break space are above 32
      {"!x!", "!x!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Trim(c.text), c.trimmed);
  }
}

TEST(TextTest, UpperAsciiChangesOnlyAToZ) {
  const std::string text = "az AZ 09 `{@[ _\xE9\xFF";
  EXPECT_EQ(UpperAscii(text), "AZ AZ 09 `{@[ _\xE9\xFF");
  std::string in_place = text;
  UpperAsciiInPlace(&in_place);
  EXPECT_EQ(in_place, UpperAscii(text));
}

TEST(TextTest, EqualsIgnoringAsciiCasePairsOnlyLetters) {
  EXPECT_TRUE(EqualsIgnoringAsciiCase("Mission_Dir", "MISSION_dir"));
  EXPECT_TRUE(EqualsIgnoringAsciiCase("", ""));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("paths", "path"));
  // Bytes 0x20 apart that are not letters, and letters outside ASCII, stay distinct.
  EXPECT_FALSE(EqualsIgnoringAsciiCase("@", "`"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("[", "{"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC9", "\xE9"));
}

}  // namespace
}  // namespace platform
