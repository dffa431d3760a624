// The conversions are written out by hand so that every accepted form is the documented one
// (std::from_chars alone takes no "+" and no blanks, and strtod follows the locale). The binary
// conversion of a validated decimal is left to std::from_chars, which rounds correctly.
#include "platform/number_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace platform {
namespace {

// Takes a character or the end marker -1.
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsSpaceOrTab(char c) { return c == ' ' || c == '\t'; }

// The value of a digit of base 16 or below, or 16 for any other character.
int DigitValue(int c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 16;
}

// Decimal digits that always make an integer a double holds exactly (10^15 < 2^53), and the
// powers of ten that scale them, all exact.
constexpr int kMaxExactDigits = 15;
constexpr double kExactPowersOfTen[kMaxExactDigits + 1] = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Exponent digits beyond this cannot change whether a double overflows or underflows.
constexpr int64_t kExponentLimit = 100000;

// The power of ten of the first significant digit of the decimal digits (with an optional
// point) from |begin| to |end|, plus one: 12.5 gives 2, 0.05 gives -1. It tells a value too
// large for a double from one too small.
int64_t DecimalOrder(const char* begin, const char* end) {
  int64_t order = 0;
  bool significant = false;
  bool after_point = false;
  for (const char* p = begin; p != end; ++p) {
    if (*p == '.') {
      after_point = true;
    } else if (significant) {
      order += after_point ? 0 : 1;
    } else if (*p != '0') {
      significant = true;
      order += after_point ? 0 : 1;
    } else if (after_point) {
      --order;
    }
  }
  return order;
}

int64_t AddExponentDigit(int64_t exponent, char digit) {
  return std::min(exponent * 10 + (digit - '0'), kExponentLimit);
}

// The significant digits of a decimal number read piece by piece, as many as can matter to a
// double, and the power of ten that places them: the value is 0.DIGITS times 10 to |point_|.
class SignificantDigits {
 public:
  void AddIntegerDigit(char digit) {
    if (count_ == 0 && digit == '0') return;
    if (count_ < kMaxDigits) digits_[count_++] = digit;
    ++point_;
  }

  void AddFractionDigit(char digit) {
    if (count_ == 0 && digit == '0') {
      --point_;
      return;
    }
    if (count_ < kMaxDigits) digits_[count_++] = digit;
  }

  // The digits times 10 to |exponent|; too large gives infinity, too small 0.
  double Value(int64_t exponent) const {
    if (count_ == 0) return 0;
    const int64_t order = point_ + exponent;
    if (order > kExponentLimit) return std::numeric_limits<double>::infinity();
    if (order < -kExponentLimit) return 0;
    char text[kMaxDigits + 24];
    std::memcpy(text, digits_, count_);
    char* end = text + count_;
    *end++ = 'e';
    end = std::to_chars(end, text + sizeof text, order - count_).ptr;
    double value = 0;
    if (std::from_chars(text, end, value).ec == std::errc::result_out_of_range) {
      return order > 0 ? std::numeric_limits<double>::infinity() : 0;
    }
    return value;
  }

 private:
  // Digits past the 40th lie far below the precision of a double.
  static constexpr int kMaxDigits = 40;
  char digits_[kMaxDigits];
  int count_ = 0;
  int64_t point_ = 0;
};

template <typename Int>
std::optional<Int> RoundHalfToEven(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  // Below 2^52 the fraction is exact; above it every double is whole and the fraction is 0.
  const double floor = std::floor(value);
  const double fraction = value - floor;
  const bool up = fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2) != 0);
  const double rounded = up ? floor + 1 : floor;
  if (rounded < std::numeric_limits<Int>::min() || rounded > std::numeric_limits<Int>::max()) {
    return std::nullopt;
  }
  return static_cast<Int>(rounded);
}

// The first significant decimal digits of a positive finite double, cut (not rounded) from its
// exact expansion, and the power of ten that places them: the value is 0.DIGITS... times 10 to
// |point|.
struct LeadingDigits {
  static constexpr int kCount = 8;  // 7 to keep and the one that rounds them
  char digits[kCount];
  int count;
  int point;
};

constexpr int kMaxPowerOfFive = 27;  // the largest power of 5 that fits 64 bits

constexpr uint64_t PowerOfFive(int exponent) {
  uint64_t power = 1;
  for (int i = 0; i < exponent; ++i) power *= 5;
  return power;
}

LeadingDigits TakeLeadingDigits(const char* digits, int digit_count, int point) {
  LeadingDigits leading;
  leading.count = std::min(digit_count, LeadingDigits::kCount);
  std::memcpy(leading.digits, digits, leading.count);
  leading.point = point;
  return leading;
}

// A double is M times 2^E. When E >= 0 and the product fits 64 bits it is an integer; when E < 0
// it is M times 5^-E over 10^-E, exact when that product fits. This covers every value the
// tools meet (sixteenths of a moderate size); any other goes through printf, which writes the
// exact expansion when asked for enough digits (a double has at most 767 significant ones).
LeadingDigits ExactLeadingDigits(double magnitude) {
  const uint64_t bits = std::bit_cast<uint64_t>(magnitude);
  const uint64_t fraction_bits = bits & ((uint64_t{1} << 52) - 1);
  const int biased_exponent = static_cast<int>(bits >> 52);
  uint64_t mantissa = biased_exponent == 0 ? fraction_bits : fraction_bits | uint64_t{1} << 52;
  int exponent = (biased_exponent == 0 ? 1 : biased_exponent) - 1075;
  const int trailing_zeros = std::countr_zero(mantissa);
  mantissa >>= trailing_zeros;
  exponent += trailing_zeros;

  uint64_t whole = 0;
  int decimals = -1;
  if (exponent >= 0 && std::bit_width(mantissa) + exponent <= 64) {
    whole = mantissa << exponent;
    decimals = 0;
  } else if (exponent < 0 && -exponent <= kMaxPowerOfFive &&
             mantissa <= std::numeric_limits<uint64_t>::max() / PowerOfFive(-exponent)) {
    whole = mantissa * PowerOfFive(-exponent);
    decimals = -exponent;
  }
  if (decimals >= 0) {
    char text[24];
    const int length = static_cast<int>(std::to_chars(text, text + sizeof text, whole).ptr - text);
    return TakeLeadingDigits(text, length, length - decimals);
  }

  // "D.DDD...e+XXX" with every digit of the exact expansion.
  char text[800];
  const int length = std::snprintf(text, sizeof text, "%.780e", magnitude);
  const char* exponent_text = std::strchr(text, 'e') + 1;
  if (*exponent_text == '+') ++exponent_text;
  int decimal_exponent = 0;
  std::from_chars(exponent_text, text + length, decimal_exponent);
  text[1] = text[0];  // drop the point: the digits now start at text + 1
  return TakeLeadingDigits(text + 1, LeadingDigits::kCount, decimal_exponent + 1);
}

void AppendZeros(int count, std::string* text) { text->append(static_cast<size_t>(count), '0'); }

}  // namespace

std::optional<int32_t> ParseInteger(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p != end && IsSpaceOrTab(*p)) ++p;
  if (p == end) return std::nullopt;

  bool hexadecimal = false;
  if (*p == '$' || *p == 'x' || *p == 'X') {
    hexadecimal = true;
    ++p;
  } else if (*p == '0' && end - p > 1 && (p[1] == 'x' || p[1] == 'X')) {
    hexadecimal = true;
    p += 2;
  }
  if (hexadecimal) {
    if (p == end) return std::nullopt;
    uint64_t value = 0;
    for (; p != end; ++p) {
      const int digit = DigitValue(static_cast<unsigned char>(*p));
      if (digit >= 16) return std::nullopt;
      value = value * 16 + digit;
      if (value > 0xFFFFFFFF) return std::nullopt;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
  }

  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  if (p == end) return std::nullopt;
  const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
  uint64_t magnitude = 0;
  for (; p != end; ++p) {
    if (!IsDigit(*p)) return std::nullopt;
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude)
                                       : static_cast<int64_t>(magnitude));
}

std::optional<double> ParseReal(std::string_view text) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p != end && IsSpaceOrTab(*p)) ++p;
  while (end != p && IsSpaceOrTab(end[-1])) --end;

  const bool negative = p != end && *p == '-';
  if (p != end && (*p == '+' || *p == '-')) ++p;
  const char* const number = p;
  // The digits as an integer (exact only while there are few of them) and how many follow the
  // point.
  uint64_t digits = 0;
  int digit_count = 0;
  int decimals = 0;
  for (; p != end && IsDigit(*p); ++p, ++digit_count) digits = digits * 10 + (*p - '0');
  if (p != end && *p == '.') {
    for (++p; p != end && IsDigit(*p); ++p, ++digit_count, ++decimals) {
      digits = digits * 10 + (*p - '0');
    }
  }
  if (digit_count == 0) return std::nullopt;
  // Up to 15 digits and no exponent, the digits and the power of ten that scales them are exact
  // doubles, and one correctly rounded division gives what from_chars gives.
  if (p == end && digit_count <= kMaxExactDigits) {
    const double value = static_cast<double>(digits) / kExactPowersOfTen[decimals];
    return negative ? -value : value;
  }
  const char* const mantissa_end = p;
  int64_t exponent = 0;
  if (p != end && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool negative_exponent = p != end && *p == '-';
    if (p != end && (*p == '+' || *p == '-')) ++p;
    if (p == end || !IsDigit(*p)) return std::nullopt;
    for (; p != end && IsDigit(*p); ++p) exponent = AddExponentDigit(exponent, *p);
    if (negative_exponent) exponent = -exponent;
  }
  if (p != end) return std::nullopt;

  double value = 0;
  const std::from_chars_result result = std::from_chars(number, end, value);
  if (result.ec == std::errc::result_out_of_range) {
    if (DecimalOrder(number, mantissa_end) + exponent > 0) return std::nullopt;
    value = 0;
  } else if (result.ec != std::errc() || result.ptr != end) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

Error InvalidInteger(std::string_view text) {
  return Error("'" + std::string(text) + "' is not a valid integer value");
}

Error InvalidReal(std::string_view text) {
  return Error("'" + std::string(text) + "' is not a valid floating point value");
}

double ReadNumber(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  // The next character that is not a blank, tab or line feed, or -1 at the end.
  auto peek = [&p, end]() -> int {
    while (p != end && (*p == ' ' || *p == '\t' || *p == '\n')) ++p;
    return p == end ? -1 : static_cast<unsigned char>(*p);
  };

  int c = peek();
  if (c == '&') {
    ++p;
    c = peek();
    const int base = (c == 'h' || c == 'H') ? 16 : (c == 'o' || c == 'O') ? 8 : 0;
    if (base == 0) return 0;
    ++p;
    // A double cannot overflow into undefined behaviour: a long run ends at infinity.
    double value = 0;
    for (int digit; (digit = DigitValue(peek())) < base; ++p) value = value * base + digit;
    return value;
  }

  const bool negative = c == '-';
  if (c == '+' || c == '-') {
    ++p;
    c = peek();
  }
  SignificantDigits digits;
  for (; IsDigit(c); ++p, c = peek()) digits.AddIntegerDigit(*p);
  if (c == '.') {
    for (++p, c = peek(); IsDigit(c); ++p, c = peek()) digits.AddFractionDigit(*p);
  }
  int64_t exponent = 0;
  if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
    ++p;
    c = peek();
    const bool negative_exponent = c == '-';
    if (c == '+' || c == '-') {
      ++p;
      c = peek();
    }
    for (; IsDigit(c); ++p, c = peek()) exponent = AddExponentDigit(exponent, *p);
    if (negative_exponent) exponent = -exponent;
  }
  const double value = digits.Value(exponent);
  return negative ? -value : value;
}

std::optional<int16_t> RoundToInt16(double value) { return RoundHalfToEven<int16_t>(value); }
std::optional<int32_t> RoundToInt32(double value) { return RoundHalfToEven<int32_t>(value); }

std::string RealText(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  if (value == 0) return "0";

  LeadingDigits leading = ExactLeadingDigits(std::fabs(value));
  constexpr int kKept = LeadingDigits::kCount - 1;
  int count = std::min(leading.count, kKept);
  // Exact digits make "the first dropped digit is 5 or more" the same as "half-way or beyond".
  if (leading.count > kKept && leading.digits[kKept] >= '5') {
    int i = kKept - 1;
    while (i >= 0 && leading.digits[i] == '9') leading.digits[i--] = '0';
    if (i >= 0) {
      ++leading.digits[i];
    } else {
      leading.digits[0] = '1';
      ++leading.point;
    }
  }
  while (count > 0 && leading.digits[count - 1] == '0') --count;

  std::string text;
  if (value < 0) text.push_back('-');
  const std::string_view digits(leading.digits, count);
  const int point = leading.point;
  if (point <= 0) {
    text.push_back('.');
    AppendZeros(-point, &text);
    text.append(digits);
  } else if (point < count) {
    text.append(digits.substr(0, point));
    text.push_back('.');
    text.append(digits.substr(point));
  } else {
    text.append(digits);
    AppendZeros(point - count, &text);
  }
  return text;
}

std::string DecimalText(int64_t value) {
  char text[24];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

}  // namespace platform
