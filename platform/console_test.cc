#include "platform/console.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {
namespace {

TEST(ConsoleTest, LinesAreWrittenByteForByte) {
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&buffer, &size);
  ASSERT_NE(out, nullptr);
  Console console(out);
  console.Line("  Initialization failed: \xFB caf\xE9");
  console.Line();
  console.Line(std::string("nul\0byte", 8));
  console.Flush();
  const char kExpected[] = "  Initialization failed: \xFB caf\xE9\n\nnul\0byte\n";
  EXPECT_EQ(std::string(buffer, size), std::string(kExpected, sizeof kExpected - 1));
  std::fclose(out);
  std::free(buffer);
}

TEST(ConsoleTest, GlyphsAreUtf8) {
  std::string all;
  for (Glyph glyph : {Glyph::kTopLeft, Glyph::kHorizontal, Glyph::kTopRight, Glyph::kVertical,
                      Glyph::kBottomLeft, Glyph::kBottomRight, Glyph::kCheck}) {
    all.append(GlyphText(glyph));
  }
  EXPECT_EQ(all,
            "\xE2\x94\x8C\xE2\x94\x80\xE2\x94\x90\xE2\x94\x82\xE2\x94\x94\xE2\x94\x98\xE2\x88\x9A");
}

}  // namespace
}  // namespace platform
