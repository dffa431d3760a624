// Byte-wise helpers: the tools' text is 8-bit, so no locale takes part.
#include "platform/text.h"

namespace platform {

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  UpperAsciiInPlace(&upper);
  return upper;
}

void UpperAsciiInPlace(std::string* text) {
  for (char& c : *text) c = UpperAsciiChar(c);
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperAsciiChar(a[i]) != UpperAsciiChar(b[i])) return false;
  }
  return true;
}

}  // namespace platform
