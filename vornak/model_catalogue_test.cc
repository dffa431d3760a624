#include "vornak/model_catalogue.h"

#include <gtest/gtest.h>

namespace vornak {
namespace {

std::vector<std::string> EntriesOf(const ModelCatalogue& catalogue) {
  std::vector<std::string> entries;
  for (const ModelCatalogue::Model& model : catalogue.models()) {
    entries.push_back(model.name + "=" + model.number);
  }
  return entries;
}

TEST(ModelCatalogueTest, TakesANumberAndANameFromEveryDataLine) {
  struct Case {
    const char* line;
    const char* entry;  // nullptr: the line gives nothing
  };
  const Case cases[] = {
      {"1, ModelA, TexA, 100, 0", "%MODELA=1"},
      {"   12,name", "%NAME=12"},
      {"12,,,name", "%NAME=12"},
      {"\t12,\tname", "%NAME=12"},
      {"12 , name", "%=12"},  // the blank leaves the position on the comma
      {"-1, name", "%="},     // "-" is no identifier character
      {"12,a", nullptr},      // the name would start on the last character
      {"12, a", "%A=12"},
      {"12 name", nullptr},  // no comma
      {"", nullptr},
      {"    ", nullptr},
      {"x", nullptr},
      {"# 1, name", nullptr},
      {"  # 1, name", "%="},  // only the first character is tested for "#"
      {"1a, name", "%NAME=1A"},
      {"7, car-01, x", "%CAR=7"},  // the name stops at the first non-identifier character
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ModelCatalogue catalogue;
    catalogue.AddLine(c.line);
    if (c.entry) {
      EXPECT_EQ(EntriesOf(catalogue), std::vector<std::string>{c.entry});
    } else {
      EXPECT_TRUE(catalogue.models().empty());
    }
  }
}

TEST(ModelCatalogueTest, DropsEqualEntriesAndFindsTheNumberThatSortsFirst) {
  ModelCatalogue catalogue;
  for (const char* line : {"1, ModelA", "1, MODELA", "2, ModelA", "9, B", "10, B", "3, C"}) {
    catalogue.AddLine(line);
  }
  EXPECT_EQ(EntriesOf(catalogue),
            (std::vector<std::string>{"%MODELA=1", "%MODELA=2", "%B=9", "%B=10", "%C=3"}));
  // Entries compare as text, so "10" sorts before "9".
  EXPECT_EQ(catalogue.model(*catalogue.Find("%MODELA")).number, "1");
  EXPECT_EQ(catalogue.model(*catalogue.Find("%modela")).number, "1");
  EXPECT_EQ(catalogue.model(*catalogue.Find("%B")).number, "10");
  EXPECT_FALSE(catalogue.Find("%D"));
  EXPECT_FALSE(catalogue.Find("MODELA"));
}

TEST(ModelCatalogueTest, KeepsANumberThatIsNoIntegerForItsUserToReport) {
  ModelCatalogue catalogue;
  catalogue.AddLine("1a, name");
  catalogue.AddLine("200, crate");
  EXPECT_FALSE(catalogue.model(*catalogue.Find("%NAME")).value);
  EXPECT_EQ(catalogue.model(*catalogue.Find("%CRATE")).value, 200);
}

}  // namespace
}  // namespace vornak
