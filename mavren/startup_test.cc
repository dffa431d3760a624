#include "mavren/startup.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace mavren {
namespace {

DisSettings Read(std::string_view ini_text) {
  return ReadSettings(ini_text, "/opt/tools/", "/opt/tools/mavren.ini");
}

TEST(ReadSettingsTest, DefaultsWithoutFileSectionOrKeys) {
  for (const char* text : {"", "[other]\r\nnameopcodes=0\r\n", "[settings]\r\n"}) {
    SCOPED_TRACE(text);
    const DisSettings settings = Read(text);
    EXPECT_EQ(settings.program_folder, "/opt/tools/");
    EXPECT_EQ(settings.opcode_file, "/opt/tools/scm_asm.ini");
    EXPECT_EQ(settings.input_file, "");
    EXPECT_EQ(settings.output_dir, "");
    EXPECT_EQ(settings.name_opcodes, 1);
    EXPECT_EQ(settings.name_variables, 0);
    EXPECT_EQ(settings.name_labels, 0);
    EXPECT_EQ(settings.default_indent, 4);
    EXPECT_EQ(settings.if_block_indent, 2);
    EXPECT_EQ(settings.par_distance, 25);
    EXPECT_EQ(settings.pad_variables, 0);
  }
}

TEST(ReadSettingsTest, StarStandsForTheProgramFolder) {
  struct Case {
    const char* value;
    const char* path;
  } cases[] = {
      {"*main.scm", "/opt/tools/main.scm"},
      {"D:\\x\\*main.scm", "/opt/tools/main.scm"},  // what stands before the "*" is dropped
      {"*", "/opt/tools/"},
      {"*out\\*x", "/opt/tools/out\\*x"},  // later stars stay
      {"D:\\out\\", "D:\\out\\"},
      {"../data/main.scm", "../data/main.scm"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    const DisSettings settings =
        Read(std::string("[settings]\ninputfile=") + c.value + "\noutputdir=" + c.value + "\n");
    EXPECT_EQ(settings.input_file, c.path);
    EXPECT_EQ(settings.output_dir, c.path);
  }
}

TEST(ReadSettingsTest, NumbersAreReadLeniently) {
  struct Case {
    const char* value;
    int16_t number;
  } cases[] = {
      {"6", 6},         {" 6 ", 6},         {"yes", 0},  {"", 0},      {"2.5", 2},   {"3.5", 4},
      {"-2", -2},       {"1 2", 12},        {"7abc", 7}, {"&H10", 16}, {"&O17", 15}, {"1e2", 100},
      {"32767", 32767}, {"-32768", -32768},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    const DisSettings settings = Read(std::string("[settings]\npardistance=") + c.value);
    EXPECT_EQ(settings.par_distance, c.number);
  }
  const DisSettings all = Read(
      "[SETTINGS]\nNameOpcodes=0\nnamevariables=1\nnamelabels=1\ndefaultindent=0\n"
      "ifblockindent=8\npardistance=30\npadvariables=1\n");
  EXPECT_EQ(all.name_opcodes, 0);
  EXPECT_EQ(all.name_variables, 1);
  EXPECT_EQ(all.name_labels, 1);
  EXPECT_EQ(all.default_indent, 0);
  EXPECT_EQ(all.if_block_indent, 8);
  EXPECT_EQ(all.par_distance, 30);
  EXPECT_EQ(all.pad_variables, 1);
}

TEST(ReadSettingsTest, NumberOutside16BitsStops) {
  for (const char* line : {"pardistance=32768", "defaultindent=-32769", "padvariables=1e9"}) {
    SCOPED_TRACE(line);
    try {
      Read(std::string("[settings]\n") + line);
      ADD_FAILURE() << "no error";
    } catch (const platform::Error& error) {
      EXPECT_EQ(error.what(), std::string("/opt/tools/mavren.ini: the setting ") + line +
                                  " is outside -32768 to 32767");
    }
  }
}

TEST(ReadSettingsTest, ValueIsCutTo1023Characters) {
  const std::string name(1500, 'a');
  const DisSettings settings = Read("[settings]\ninputfile=*" + name);
  EXPECT_EQ(settings.input_file, "/opt/tools/" + name.substr(0, 1022));
}

}  // namespace
}  // namespace mavren
