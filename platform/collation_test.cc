#include "platform/collation.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace platform {
namespace {

using std::string_literals::operator""s;

int Sign(int value) { return (value > 0) - (value < 0); }

// Names are code page 1252 bytes; the escapes below are those bytes, not UTF-8.
std::string Printable(const std::string& name) {
  std::string text;
  for (unsigned char c : name) {
    if (c >= 0x20 && c < 0x7F) {
      text.push_back(static_cast<char>(c));
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", c);
      text += escape;
    }
  }
  return text;
}

// Every pair of the list in ascending order, by CompareNames both ways and by sort key.
void ExpectStrictlyAscending(const std::vector<std::string>& names) {
  for (size_t i = 0; i < names.size(); ++i) {
    for (size_t j = i + 1; j < names.size(); ++j) {
      SCOPED_TRACE(Printable(names[i]) + " < " + Printable(names[j]));
      EXPECT_LT(CompareNames(names[i], names[j]), 0);
      EXPECT_GT(CompareNames(names[j], names[i]), 0);
      EXPECT_LT(SortKey(names[i]), SortKey(names[j]));
    }
  }
}

TEST(CollationTest, PublishedOrders) {
  const std::vector<std::vector<std::string>> orders = {
      {" ", "!", "\"", "#", "$", "%", "&", "(", ")", "*", ",", ".", "/", ":", ";", "?",
       "@", "[", "\\", "]", "^", "_", "`", "{", "|", "}", "~", "+", "<", "=", ">", "0",
       "1", "2", "3",  "4", "5", "6", "7", "8", "9", "A", "b", "C", "m", "N", "y", "Z"},
      {"co_op", "coat", "comb", "coop", "co-op", "cork", "went", "were", "we're"},
      {"carps", "cars", "car's", "car-s"},
      {"a*b", "a/b", "a^b", "a|b", "a+b", "a<b", "a>b", "a-b"},
      {"coop", "co-op", "cop"},
      {"co-op", "coo-p"},
      {"e", "\xE9", "f"},
      {"\xE9"
       "a",
       "eb"},
      {"A", "A1", "A10", "A9"},
      {"$A_B", "$A1", "$AB"},
      {" ", "\t", "\n", "\v", "\f", "\r", "!"},
  };
  for (const std::vector<std::string>& order : orders) ExpectStrictlyAscending(order);
}

TEST(CollationTest, EqualNamesHaveEqualKeys) {
  const std::pair<std::string, std::string> equal[] = {
      {"co-op", "CO-OP"}, {"\xC9", "\xE9"}, {"\xC6", "AE"},
      {"\xE6", "Ae"},     {"\xDF", "ss"},   {"\xDF", "SS"},
      {"a\0b"s, "ab"},    {"\0"s, ""},      {"Lamppost", "LAMPPOST"},
  };
  for (const auto& [a, b] : equal) {
    SCOPED_TRACE(Printable(a) + " == " + Printable(b));
    EXPECT_EQ(CompareNames(a, b), 0);
    EXPECT_EQ(CompareNames(b, a), 0);
    EXPECT_EQ(SortKey(a), SortKey(b));
  }
  const std::pair<std::string, std::string> different[] = {
      {"co-op", "coop"}, {"e", "\xE9"}, {"\xE9", "\xE8"}, {"car's", "car-s"}, {"a", "a\x7F"},
  };
  for (const auto& [a, b] : different) {
    SCOPED_TRACE(Printable(a) + " != " + Printable(b));
    EXPECT_NE(CompareNames(a, b), 0);
    EXPECT_NE(SortKey(a), SortKey(b));
  }
}

// The position of a punctuation byte counts weighted characters before it and has no upper
// bound; these names differ only in where the hyphen stands.
TEST(CollationTest, LongNamesOrderByPunctuationPosition) {
  std::vector<std::string> names;
  for (size_t position : {0, 1, 254, 255, 256, 300, 599}) {
    names.push_back(std::string(position, 'a') + "-" + std::string(600 - position, 'a'));
  }
  ExpectStrictlyAscending(names);
}

// Random names over bytes chosen to collide at every level, and over all bytes.
TEST(CollationTest, SortKeyAgreesWithCompareNames) {
  const std::string tricky = "aAbeE\xE9\xC9\xE8sS\xDF\xC6\xE6-'\x96\xAD_01 \t\x7F\x01\0\xB2\xAA"s;
  std::mt19937 random(20240611);
  auto random_name = [&](bool any_byte) {
    std::string name(random() % 7, ' ');
    for (char& c : name) {
      c = any_byte ? static_cast<char>(random()) : tricky[random() % tricky.size()];
    }
    return name;
  };
  int equal_pairs = 0;
  for (int i = 0; i < 200000; ++i) {
    const bool any_byte = i % 4 == 0;
    const std::string a = random_name(any_byte);
    const std::string b = random_name(any_byte);
    const int order = Sign(CompareNames(a, b));
    const int key_order = Sign(SortKey(a).compare(SortKey(b)));
    if (order != key_order || order != -Sign(CompareNames(b, a))) {
      ADD_FAILURE() << Printable(a) << " vs " << Printable(b) << ": compare " << order << ", keys "
                    << key_order;
      break;
    }
    equal_pairs += order == 0;
  }
  EXPECT_GT(equal_pairs, 100);  // the equal case was exercised, not only orders
}

}  // namespace
}  // namespace platform
