#include "runtime/convert/text_to_number.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"

namespace rt {

// Location codes of this file's checks.
constexpr std::uint32_t kNumberBeyondDouble =
    convert_location(Operation::TextToNumber, ConvertCheck::Infinite);

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// &H and &O: the unsigned magnitude of the digits. It must fit in 32 bits, the widest integer
// the program has; a longer one gives 0. Leading zeros are free.
NumberScan scan_radix(std::string_view s, std::size_t amp) {
  std::size_t pos = amp + 1;
  if (pos >= s.size()) return {};
  const char kind = s[pos];
  int radix;
  if (kind == 'H' || kind == 'h') {
    radix = 16;
  } else if (kind == 'O' || kind == 'o') {
    radix = 8;
  } else {
    return {};
  }
  ++pos;
  const std::size_t first = pos;
  std::uint64_t value = 0;
  bool fits = true;
  for (; pos < s.size(); ++pos) {
    const int digit = hex_digit(s[pos]);
    if (digit < 0 || digit >= radix) break;
    value = value * radix + digit;
    if (value > 0xFFFFFFFFu) {
      fits = false;
      value = 0xFFFFFFFFu;  // keeps the product in range while the digits run on
    }
  }
  if (pos == first) return {};
  return {fits ? static_cast<double>(value) : 0.0, pos};
}

// Long digit strings are cut for the parser: beyond 780 significant digits only "is anything
// nonzero left" matters for rounding, because a halfway point between two doubles never has
// more than 767 significant digits. A 1 in place of the dropped digits keeps that fact.
constexpr std::size_t kKeptDigits = 780;

// The decimal number in normalised form: its significant digits without leading zeros and the
// power of ten of the last of them.
struct Decimal {
  bool negative = false;
  char digits[kKeptDigits + 1];
  std::size_t count = 0;
  std::int64_t exponent = 0;
};

// Magnitude limits that decide overflow and underflow without the parser: a value whose first
// digit stands at 10^309 or above is beyond any double; one below 10^-400 is beneath the least.
constexpr std::int64_t kOverflowPower = 309;
constexpr std::int64_t kUnderflowPower = -400;

// Powers of ten that doubles hold exactly (5^22 < 2^53).
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The common short number without the general parser: when the digits as a whole number and
// the power of ten are both exact in Float, one multiplication or division rounds them once,
// which is the correctly rounded value (digits below 2^53 and powers to 10^22 for doubles,
// below 2^24 and to 10^10 for singles).
template <typename Float>
bool parse_short(const Decimal& d, Float& value) {
  constexpr bool kSingle = sizeof(Float) == sizeof(float);
  constexpr std::size_t kMaxDigits = kSingle ? 7 : 15;
  constexpr std::int64_t kMaxPower = kSingle ? 10 : 22;
  if (d.count > kMaxDigits || d.exponent > kMaxPower || d.exponent < -kMaxPower) return false;
  std::int64_t whole = 0;
  for (std::size_t i = 0; i < d.count; ++i) whole = whole * 10 + (d.digits[i] - '0');
  const auto digits = static_cast<Float>(whole);
  const auto power = static_cast<Float>(kExactPowers[d.exponent < 0 ? -d.exponent : d.exponent]);
  value = d.exponent < 0 ? digits / power : digits * power;
  if (d.negative) value = -value;
  return true;
}

template <typename Float>
Float parse(const Decimal& d, std::source_location where) {
  if (Float value = 0; parse_short(d, value)) return value;
  // "-ddd...ddde-xxxxx"
  char text[kKeptDigits + 1 + 32];
  char* p = text;
  if (d.negative) *p++ = '-';
  for (std::size_t i = 0; i < d.count; ++i) *p++ = d.digits[i];
  *p++ = 'e';
  p = std::to_chars(p, text + sizeof text, d.exponent).ptr;
  Float value = 0;
  auto r = std::from_chars(text, p, value);
  if (r.ec == std::errc::result_out_of_range) {
    const std::int64_t first_power = d.exponent + static_cast<std::int64_t>(d.count) - 1;
    if (first_power > 0) raise_error(kOverflow, kNumberBeyondDouble, where);
    return 0;  // underflow gives zero, no error
  }
  return value;
}

// Whether the digits themselves make a whole number: every digit standing after the decimal
// point, once the exponent has moved it, is zero (a dropped nonzero digit stands there as its
// '1'). Decided on the digits, never on a rounded value: 27982381.0000000000000001 rounds to a
// whole double but is no whole number.
bool whole_number(const Decimal& d) {
  if (d.exponent >= 0) return true;
  const std::uint64_t fraction = static_cast<std::uint64_t>(-d.exponent);
  const std::size_t first = fraction >= d.count ? 0 : d.count - static_cast<std::size_t>(fraction);
  for (std::size_t i = first; i < d.count; ++i)
    if (d.digits[i] != '0') return false;
  return true;
}

}  // namespace

NumberScan scan_number(std::string_view s, std::source_location where) {
  std::size_t pos = 0;
  while (pos < s.size() && s[pos] == ' ') ++pos;  // only the blank: a tab gives 0
  if (pos == s.size()) return {};
  if (s[pos] == '&') return scan_radix(s, pos);

  Decimal d;
  if (s[pos] == '+' || s[pos] == '-') d.negative = s[pos++] == '-';

  // Mantissa. Significant digits run from the first nonzero digit written; trailing zeros
  // count, so "1234.5000" has 8 of them.
  std::size_t significant = 0;
  bool truncated_nonzero = false;
  std::int64_t dropped = 0;          // significant digits beyond kKeptDigits
  std::int64_t fraction_digits = 0;  // all digits written after the point
  std::size_t mantissa_digits = 0;
  auto take = [&](char c) {
    ++mantissa_digits;
    if (significant == 0 && c == '0') return;
    ++significant;
    if (d.count < kKeptDigits) {
      d.digits[d.count++] = c;
    } else {
      ++dropped;
      truncated_nonzero |= c != '0';
    }
  };
  for (; pos < s.size() && is_digit(s[pos]); ++pos) take(s[pos]);
  if (pos < s.size() && s[pos] == '.') {
    ++pos;
    for (; pos < s.size() && is_digit(s[pos]); ++pos, ++fraction_digits) take(s[pos]);
  }
  if (mantissa_digits == 0) return {};  // ".", "-", "-.", "+e5": no number

  // Exponent: a letter counts only with at least one digit after it (and its optional sign).
  char letter = 0;
  std::int64_t exponent = 0;
  if (pos < s.size() && (s[pos] == 'E' || s[pos] == 'e' || s[pos] == 'D' || s[pos] == 'd')) {
    std::size_t p = pos + 1;
    bool exponent_negative = false;
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) exponent_negative = s[p++] == '-';
    if (p < s.size() && is_digit(s[p])) {
      letter = s[pos];
      for (; p < s.size() && is_digit(s[p]); ++p) {
        // Saturates far beyond any double; the digits still belong to the number.
        if (exponent < 100000000) exponent = exponent * 10 + (s[p] - '0');
      }
      if (exponent_negative) exponent = -exponent;
      pos = p;
    }
  }
  const NumberScan zero{0.0, pos};
  if (d.count == 0) return zero;  // all zeros: a whole number, and +0 at that

  if (truncated_nonzero) {
    d.digits[d.count++] = '1';
    --dropped;
  }
  d.exponent = exponent - fraction_digits + dropped;
  const std::int64_t first_power = d.exponent + static_cast<std::int64_t>(d.count) - 1;
  if (first_power >= kOverflowPower) raise_error(kOverflow, kNumberBeyondDouble, where);
  if (first_power < kUnderflowPower) return zero;

  const double exact = parse<double>(d, where);
  // A whole number within the 32-bit range is exact, whatever its form.
  if (whole_number(d) && exact >= -2147483648.0 && exact <= 2147483647.0)
    return {exact == 0 ? 0.0 : exact, pos};
  const bool single = letter == 'E' || letter == 'e' || (letter == 0 && significant <= 7);
  if (!single) return {exact, pos};
  // Rounded from the decimal digits themselves: through the double it could round twice.
  return {static_cast<double>(parse<float>(d, where)), pos};
}

double val(std::string_view s, std::source_location where) { return scan_number(s, where).value; }

}  // namespace rt
