// The weight table of the collation (collation.h): for every byte of code page 1252, one group of
// weights, or two for a character that sorts as two letters ("AE", "OE", "SS", "TH").
#pragma once

#include <cstdint>

namespace platform {

// Script members with a meaning of their own; every other value orders a letter, digit or symbol.
constexpr uint8_t kScriptIgnored = 0;      // the byte takes no part in the comparison
constexpr uint8_t kScriptPunctuation = 6;  // the byte only breaks ties, at the special level

// Case weights differ in bits 3 and 4 between a capital and its small letter; clearing them
// ignores case.
constexpr uint8_t kCaseIgnoredMask = 0xE7;

struct CollationGroup {
  uint8_t script_member;
  uint8_t primary;
  uint8_t diacritic;
  uint8_t case_weight;
};

struct ByteWeights {
  uint8_t group_count;  // 1 or 2
  CollationGroup groups[2];
};

extern const ByteWeights kByteWeights[256];

// The sort key ends each level with the byte 1, so every weight it writes must be at least 2:
// only then does a name whose level is a prefix of another's sort first. Ignored and
// punctuation bytes have one group.
constexpr bool WeightsFitSortKey(const ByteWeights (&table)[256]) {
  for (const ByteWeights& weights : table) {
    const uint8_t script = weights.groups[0].script_member;
    if (script == kScriptIgnored || script == kScriptPunctuation) {
      if (weights.group_count != 1) return false;
      continue;
    }
    if (weights.group_count != 1 && weights.group_count != 2) return false;
    for (int i = 0; i < weights.group_count; ++i) {
      const CollationGroup& group = weights.groups[i];
      if (group.script_member < 2 || group.script_member == kScriptPunctuation ||
          group.diacritic < 2 || (group.case_weight & kCaseIgnoredMask) < 2) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace platform
