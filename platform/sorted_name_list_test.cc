#include "platform/sorted_name_list.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/collation.h"

namespace platform {
namespace {

std::vector<std::string> SpellingsInOrder(const SortedNameList& list) {
  std::vector<std::string> spellings;
  for (uint32_t id : list.IdsInOrder()) spellings.push_back(list.Spelling(id));
  return spellings;
}

TEST(SortedNameListTest, EqualNamesAreOneEntryWithTheFirstSpelling) {
  SortedNameList list;
  EXPECT_EQ(list.Add("$Count").id, 0u);
  EXPECT_TRUE(list.Add("$Timer").is_new);
  for (const char* spelling : {"$COUNT", "$count", "$Count"}) {
    SCOPED_TRACE(spelling);
    const SortedNameList::Added added = list.Add(spelling);
    EXPECT_EQ(added.id, 0u);
    EXPECT_FALSE(added.is_new);
  }
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(list.Spelling(0), "$Count");
  // Equal only at every level: the hyphen makes a different name.
  EXPECT_TRUE(list.Add("$Co-unt").is_new);
}

TEST(SortedNameListTest, FindMatchesAnySpellingOfAnEqualName) {
  SortedNameList list;
  list.Add("CRATE_A");
  list.Add("CO-OP");
  EXPECT_EQ(list.Find("CRATE_A"), 0u);
  EXPECT_EQ(list.Find("crate_a"), 0u);
  EXPECT_EQ(list.Find("co-op"), 1u);
  EXPECT_EQ(list.Find("coop"), std::nullopt);
  EXPECT_EQ(list.Find("CRATE"), std::nullopt);
  EXPECT_EQ(list.size(), 2u);
}

TEST(SortedNameListTest, SlotsFollowTheCollationAndResortAfterAnAddition) {
  SortedNameList list;
  for (const char* name : {"$ZED", "$AB", "$A1", "$a_b", "$A"}) list.Add(name);
  EXPECT_EQ(SpellingsInOrder(list), (std::vector<std::string>{"$A", "$a_b", "$A1", "$AB", "$ZED"}));
  EXPECT_EQ(list.Slot(0), 4u);
  EXPECT_EQ(list.Slot(1), 3u);

  list.Add("$A10");
  list.Add("$ab");  // equal to $AB: no new entry, no change of order
  EXPECT_EQ(SpellingsInOrder(list),
            (std::vector<std::string>{"$A", "$a_b", "$A1", "$A10", "$AB", "$ZED"}));
  EXPECT_EQ(list.Slot(0), 5u);
  EXPECT_EQ(list.Slot(1), 4u);
  EXPECT_EQ(list.Slot(5), 3u);
}

// Many names that share long beginnings and differ anywhere, in case and punctuation too: the
// order is the collation's, name after name.
TEST(SortedNameListTest, OrderOfManyNamesIsTheCollations) {
  const std::string letters = "aAbB0_9-'e\xE9\xC9sS\xDF";
  std::mt19937 random(5);
  SortedNameList list;
  for (int i = 0; i < 3000; ++i) {
    std::string name = i % 2 ? "$timer_" : "$co-op";
    for (size_t length = random() % 24; length > 0; --length) {
      name += letters[random() % letters.size()];
    }
    list.Add(name);
  }
  const std::vector<uint32_t>& order = list.IdsInOrder();
  ASSERT_EQ(order.size(), list.size());
  for (size_t slot = 1; slot < order.size(); ++slot) {
    ASSERT_LT(CompareNames(list.Spelling(order[slot - 1]), list.Spelling(order[slot])), 0)
        << list.Spelling(order[slot - 1]) << " before " << list.Spelling(order[slot]);
    ASSERT_EQ(list.Slot(order[slot]), slot);
  }
}

}  // namespace
}  // namespace platform
