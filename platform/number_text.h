// Number texts of the two tools.
//
// The assembler's conversions accept a whole text or nothing: the caller words the failure with
// InvalidInteger / InvalidReal. The disassembler's reading takes the longest number at the start of
// a text and ignores the rest, as its settings and opcode counts need.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace platform {

// Leading blanks (space, tab) are skipped; then either an optional "+" or "-" and decimal digits
// that fit a signed 32-bit integer, or "$", "x", "X", "0x" or "0X" and hexadecimal digits in either
// case with a value of at most FFFFFFFF (leading zeros allowed), giving that 32-bit pattern.
// Nothing may follow. Anything else, the empty text included, gives no value.
std::optional<int32_t> ParseInteger(std::string_view text);

// Decimal text with "." as the separator: optional blanks around it, an optional sign, digits with
// at most one "." (at least one digit in all: ".5" and "5." are valid), an optional exponent
// ("e" or "E", optional sign, digits). A value too large for a double gives no value; one too
// small to tell from 0 gives 0.
std::optional<double> ParseReal(std::string_view text);

// "'TEXT' is not a valid integer value" / "'TEXT' is not a valid floating point value".
Error InvalidInteger(std::string_view text);
Error InvalidReal(std::string_view text);

// The disassembler's number reading: blanks, tabs and line feeds are ignored wherever they stand;
// then an optional sign and decimal digits with an optional point and exponent ("e" or "d", either
// case, optional sign), or "&H" and hexadecimal digits, or "&O" and octal digits ("&H" and "&O"
// values are unsigned); reading stops at the first character that cannot continue the number. A
// text that does not begin with a number gives 0. A number too large for a double gives infinity,
// which no rounding below accepts.
double ReadNumber(std::string_view text);

// The nearest integer, halves to the even neighbour; no value when the result does not fit.
std::optional<int16_t> RoundToInt16(double value);
std::optional<int32_t> RoundToInt32(double value);

// A real as the disassembler writes it: at most 7 significant digits, a value exactly half-way
// rounded away from zero; "." as the point; no "0" before the point when the magnitude is below 1;
// trailing zeros after the point, and a point with no digits after it, dropped; a leading "-" when
// negative; never an exponent. 1 gives "1", 0.5 ".5", -0.25 "-.25", 2047.9375 "2047.938", 0 "0".
// Rounding half-way values away from zero lets every sixteenth in -2048..2047.9375 read back, times
// 16 and truncated, to itself. NaN and infinities give "NaN", "Infinity" and "-Infinity".
std::string RealText(double value);

// Decimal text of an integer: a leading "-" when negative and nothing else.
std::string DecimalText(int64_t value);

}  // namespace platform
