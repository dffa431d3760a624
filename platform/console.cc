// The assembler's console. Text goes out byte for byte; only the glyphs are UTF-8 of their own.
#include "platform/console.h"

#include <cstdio>
#include <string_view>

namespace platform {

std::string_view GlyphText(Glyph glyph) {
  switch (glyph) {
    case Glyph::kTopLeft:
      return "\u250C";
    case Glyph::kHorizontal:
      return "\u2500";
    case Glyph::kTopRight:
      return "\u2510";
    case Glyph::kVertical:
      return "\u2502";
    case Glyph::kBottomLeft:
      return "\u2514";
    case Glyph::kBottomRight:
      return "\u2518";
    case Glyph::kCheck:
      return "\u221A";
  }
  return {};
}

void Console::Line(std::string_view text) {
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), out_);
  std::fputc('\n', out_);
}

void Console::Flush() { std::fflush(out_); }

}  // namespace platform
