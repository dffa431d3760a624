// The assembler's console: standard output, one line per call, each ended by LF, the bytes written
// as given. Box drawing and the check mark are separate glyphs drawn as UTF-8, so that a byte in a
// message (a file name, a source word) is never mistaken for a drawing.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace platform {

enum class Glyph { kTopLeft, kHorizontal, kTopRight, kVertical, kBottomLeft, kBottomRight, kCheck };

// UTF-8 text of a glyph: ┌ ─ ┐ │ └ ┘ √.
std::string_view GlyphText(Glyph glyph);

class Console {
 public:
  explicit Console(std::FILE* out = stdout) : out_(out) {}
  // Writes |text| and LF.
  void Line(std::string_view text = {});
  void Flush();

 private:
  std::FILE* out_;
};

}  // namespace platform
