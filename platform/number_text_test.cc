#include "platform/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace platform {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(NumberTextTest, ParseIntegerAcceptsDecimalAndHexadecimalForms) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {
      {"0", 0},
      {"  42", 42},
      {"\t-7", -7},
      {"+5", 5},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<int32_t>::min()},
      {"$FF", 255},
      {"xff", 255},
      {"X1f", 31},
      {"0x1F", 31},
      {"0XFFFFFFFF", -1},
      {"$80000000", std::numeric_limits<int32_t>::min()},
      {"$0000000000007fffffff", 2147483647},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseInteger(c.text), c.value);
  }
}

TEST(NumberTextTest, ParseIntegerRejectsEverythingElse) {
  for (const char* text :
       {"",    "  ",  "-",   "+",          "2147483648", "-2147483649", "99999999999999999999",
        "$",   "0x",  "x",   "$100000000", "$FFFFFFFFF", "-$5",         "-0x5",
        "+x1", "$-1", "5 ",  "1.0",        "12a",        "$G",          "1e3",
        "- 5", "--5", "\n5", "0x 1"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ParseInteger(text), std::nullopt);
  }
}

TEST(NumberTextTest, ParseRealAcceptsDecimalForms) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"1.5", 1.5},
      {".5", 0.5},
      {"-.25", -0.25},
      {"5.", 5},
      {" 2.5\t", 2.5},
      {"+3", 3},
      {"1e3", 1000},
      {"1.5E-2", 0.015},
      {"5.e1", 50},
      {"-2048.0", -2048},
      {"0.03", 0.03},
      {"1e-999", 0},
      {"000.000e99999999999999999999", 0},
      {"0.1e309", 1e308},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseReal(c.text), c.value);
  }
  EXPECT_TRUE(std::signbit(*ParseReal("-1e-999")));
}

TEST(NumberTextTest, ParseRealRejectsMalformedAndOverflowingText) {
  for (const char* text :
       {"",    " ",   ".",     "-",    "-.",    "1.2.3",  "1e",
        "1e+", "e5",  ".e5",   "1 .5", "1,5",   "0x10",   "$10",
        "inf", "nan", "- 1.5", "1.5f", "1e999", "-1e999", "1e99999999999999999999",
        "--1"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ParseReal(text), std::nullopt);
  }
}

TEST(NumberTextTest, ConversionErrorsQuoteTheText) {
  EXPECT_STREQ(InvalidInteger("12a").what(), "'12a' is not a valid integer value");
  EXPECT_STREQ(InvalidReal("1.2.3").what(), "'1.2.3' is not a valid floating point value");
}

TEST(NumberTextTest, ReadNumberTakesTheLongestNumberAtTheStart) {
  struct Case {
    std::string text;
    double value;
  } cases[] = {
      {"", 0},
      {"yes", 0},
      {" 6 ", 6},
      {"1 2\t3\n4", 1234},
      {"2.5", 2.5},
      {"- 7", -7},
      {"+7", 7},
      {"1e3", 1000},
      {"1D3", 1000},
      {"1d-2", 0.01},
      {"2 E +1", 20},
      {"1e", 1},
      {"1e+", 1},
      {"12abc", 12},
      {"3,Name", 3},
      {"5-3", 5},
      {"1.2.3", 1.2},
      {".5", 0.5},
      {".", 0},
      {"-", 0},
      {"--5", 0},
      {"\r5", 0},
      {"&H1F", 31},
      {"&hff", 255},
      {"& h 1 F", 31},
      {"&HFFFFFFFF", 4294967295.0},
      {"&O17", 15},
      {"&o78", 7},
      {"&H", 0},
      {"&", 0},
      {"&X1", 0},
      {"-&H1", 0},
      {std::string(1000, '0') + "5", 5},
      {"0." + std::string(300, '0') + "1", 1e-301},
      {"1234567890123456789012345678901234567890123456789", 1.234567890123456789e48},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 40));
    EXPECT_EQ(ReadNumber(c.text), c.value);
  }
}

// Absurd texts end at infinity or zero, which the rounding then refuses or keeps.
TEST(NumberTextTest, ReadNumberOfAbsurdTextIsInfiniteOrZero) {
  struct Case {
    std::string text;
    double value;
  } cases[] = {
      {"1" + std::string(1000, '0'), kInfinity}, {"-1" + std::string(400, '9'), -kInfinity},
      {"1e99999999999999999999", kInfinity},     {"1e-99999999999999999999", 0},
      {"0." + std::string(1000, '0') + "1", 0},  {"&H" + std::string(300, 'F'), kInfinity},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 40));
    EXPECT_EQ(ReadNumber(c.text), c.value);
  }
  EXPECT_EQ(RoundToInt32(ReadNumber("1" + std::string(1000, '0'))), std::nullopt);
}

TEST(NumberTextTest, RoundingGoesToTheNearestWithHalvesToEven) {
  struct Case {
    double value;
    std::optional<int16_t> int16;
    std::optional<int32_t> int32;
  } cases[] = {
      {2.5, 2, 2},
      {3.5, 4, 4},
      {-2.5, -2, -2},
      {-3.5, -4, -4},
      {0.5, 0, 0},
      {-0.5, 0, 0},
      {2.4999999, 2, 2},
      {2.5000001, 3, 3},
      {-2.7, -3, -3},
      {32767.4, 32767, 32767},
      {32767.5, std::nullopt, 32768},
      {-32768.5, -32768, -32768},
      {-32769, std::nullopt, -32769},
      {2147483647.4, std::nullopt, 2147483647},
      {2147483647.5, std::nullopt, std::nullopt},
      {-2147483648.5, std::nullopt, std::numeric_limits<int32_t>::min()},
      {1e300, std::nullopt, std::nullopt},
      {kInfinity, std::nullopt, std::nullopt},
      {-kInfinity, std::nullopt, std::nullopt},
      {kNaN, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(RoundToInt16(c.value), c.int16);
    EXPECT_EQ(RoundToInt32(c.value), c.int32);
  }
}

TEST(NumberTextTest, RealTextWritesSevenSignificantDigitsWithoutExponent) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1, "1"},
      {0.5, ".5"},
      {-0.25, "-.25"},
      {0.0625, ".0625"},
      {100.0625, "100.0625"},
      {-2048, "-2048"},
      {2047.9375, "2047.938"},
      {1234.0625, "1234.063"},
      {-1234.0625, "-1234.063"},
      {1000.0625, "1000.063"},
      {9999999.5, "10000000"},
      {99999995, "100000000"},
      {123456789, "123456800"},
      {0.000012345678, ".00001234568"},
      {0.1, ".1"},
      {2.0 / 3, ".6666667"},
      {1e-10, ".0000000001"},
      {1e20, "100000000000000000000"},
      {-1.5e-7, "-.00000015"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(RealText(c.value), c.text);
  }
  const std::string smallest = RealText(std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(smallest, "." + std::string(323, '0') + "4940656");
  EXPECT_EQ(RealText(std::numeric_limits<double>::max()).size(), 309u);
}

// Rounding half-way values away from zero is what lets every sixteenth read back to itself.
TEST(NumberTextTest, RealTextOfEverySixteenthReadsBackToItself) {
  for (int sixteenths = -32768; sixteenths <= 32767; ++sixteenths) {
    const std::string text = RealText(sixteenths / 16.0);
    const std::optional<double> read = ParseReal(text);
    ASSERT_TRUE(read.has_value()) << text;
    ASSERT_EQ(static_cast<int>(*read * 16), sixteenths) << text;
  }
}

// Away from exact half-way points the digits are the correctly rounded ones the C library gives.
TEST(NumberTextTest, RealTextMatchesCorrectRoundingOfRandomDoubles) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<int> exponent(-40, 40);
  for (int i = 0; i < 20000; ++i) {
    const double value =
        std::ldexp(static_cast<double>(random() >> 11), exponent(random) - 53) * (i % 2 ? -1 : 1);
    char reference[40];
    std::snprintf(reference, sizeof reference, "%.6e", value);
    const std::string text = RealText(value);
    ASSERT_EQ(text.find_first_not_of("-.0123456789"), std::string::npos) << text;
    ASSERT_EQ(std::strtod(text.c_str(), nullptr), std::strtod(reference, nullptr))
        << text << " " << reference;
  }
}

// Short texts take a quicker road to the double than long ones; both give the correctly rounded
// value, which strtod gives in the "C" locale.
TEST(NumberTextTest, ParseRealRoundsCorrectlyAtEveryLength) {
  std::mt19937_64 random(11);
  for (int i = 0; i < 50000; ++i) {
    const int digits = 1 + static_cast<int>(random() % 18);
    const int point = static_cast<int>(random() % (digits + 1));
    std::string text = i % 2 ? "-" : "";
    for (int d = 0; d < digits; ++d) {
      if (d == point) text += '.';
      text += static_cast<char>('0' + random() % 10);
    }
    if (point == digits) text += '.';
    const std::optional<double> read = ParseReal(text);
    ASSERT_TRUE(read.has_value()) << text;
    ASSERT_EQ(*read, std::strtod(text.c_str(), nullptr)) << text;
    ASSERT_EQ(std::signbit(*read), i % 2 == 1) << text;
  }
}

TEST(NumberTextTest, DecimalTextIsPlain) {
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(-56), "-56");
  EXPECT_EQ(DecimalText(700000), "700000");
  EXPECT_EQ(DecimalText(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
}

}  // namespace
}  // namespace platform
