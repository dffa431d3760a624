// Small text helpers with the exact character rules of the tools: trimming removes every character
// with a code from 0 to 32, and upper-casing changes only the letters a to z.
#pragma once

#include <string>
#include <string_view>

namespace platform {

inline bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

// Removes every character with a code from 0 to 32 at both ends. Inline: the assembler trims
// every line and every parameter.
inline std::string_view Trim(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlankOrControl(text[begin])) ++begin;
  while (end > begin && IsBlankOrControl(text[end - 1])) --end;
  return std::string_view(text.data() + begin, end - begin);
}

// Upper-cases the letters a to z; every other byte is kept.
inline char UpperAsciiChar(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string UpperAscii(std::string_view text);
void UpperAsciiInPlace(std::string* text);

// Identifier characters of the source language and the IDE file: 0-9, A-Z, a-z and "_".
inline bool IsIdentifierChar(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// Case-insensitive equality for ASCII letters, as INI section and key names compare.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace platform
