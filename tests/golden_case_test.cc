#include "tests/golden_case.h"

#include <gtest/gtest.h>

namespace golden {
namespace {

TEST(GoldenCase, ParsesDescriptionDirectivesAndBodies) {
  CaseFile file =
      ParseCase("about\n;;; FILE: a.txt\nline 1\n\n;;; RUN: vornak p.ini\n;;; STATUS: 1\n");
  ASSERT_EQ(file.description, std::vector<std::string>{"about"});
  ASSERT_EQ(file.directives.size(), 3u);
  EXPECT_EQ(file.directives[0].name, "FILE");
  EXPECT_EQ(file.directives[0].argument, "a.txt");
  EXPECT_EQ(file.directives[0].body, (std::vector<std::string>{"line 1", ""}));
  EXPECT_EQ(file.directives[1].argument, "vornak p.ini");
  EXPECT_EQ(file.directives[2].argument, "1");
  EXPECT_EQ(FormatCase(file),
            "about\n;;; FILE: a.txt\nline 1\n\n;;; RUN: vornak p.ini\n;;; STATUS: 1\n");
}

TEST(GoldenCase, HexRoundTripsAndRejectsMalformedPairs) {
  std::string bytes;
  ASSERT_TRUE(ParseHex({"02 00 01 ; jump", "ff"}, &bytes));
  EXPECT_EQ(bytes, std::string("\x02\x00\x01\xff", 4));
  std::string again;
  ASSERT_TRUE(ParseHex(FormatHex(bytes), &again));
  EXPECT_EQ(again, bytes);
  EXPECT_FALSE(ParseHex({"0"}, &bytes));
  EXPECT_FALSE(ParseHex({"123"}, &bytes));
  EXPECT_FALSE(ParseHex({"zz"}, &bytes));
}

TEST(GoldenCase, MasksCompileTimeOnConsoleAndInLog) {
  EXPECT_EQ(MaskCompileTime("  Compile time: 12.50 Seconds\ncompiletime=125\r\n"),
            "  Compile time: #.## Seconds\ncompiletime=#\r\n");
}

TEST(GoldenCase, MasksTheCaseFolder) {
  EXPECT_EQ(MaskCaseFolder("/tmp/g-1/case/a.ini: bad; /tmp/g-1/case", "/tmp/g-1/case"),
            "<case>/a.ini: bad; <case>");
}

TEST(GoldenCase, DiffMarksRemovedAndAddedLines) {
  EXPECT_EQ(LineDiff({"a", "b", "c"}, {"a", "x", "c"}), "  a\n- b\n+ x\n  c\n");
}

}  // namespace
}  // namespace golden
