#include "runtime/convert/integer_rules.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"

namespace rt {

// Location codes of this file's checks.
constexpr std::uint32_t kBeyondInteger =
    convert_location(Operation::ToInteger, ConvertCheck::BeyondRange);
constexpr std::uint32_t kBeyondInt16 =
    convert_location(Operation::ToInt16, ConvertCheck::BeyondRange);

double floor_value(double x) { return std::floor(x); }

// std::round is exact for every double (unlike floor(x + 0.5), which turns 0.49999999999999994
// into 1).
std::int32_t nearest_int_far(double x, std::source_location where) {
  const double r = std::round(x);
  if (!(r >= -2147483648.0 && r <= 2147483647.0))
    raise_error(kOverflow, kBeyondInteger, where);  // NaN too
  return static_cast<std::int32_t>(r);
}

// Halves to even, whatever the processor's rounding mode is. x - floor(x) is exact for every
// double, so the test for a half is too.
std::int16_t store_int16(double x, std::source_location where) {
  double r = std::floor(x);
  const double rest = x - r;
  if (rest > 0.5 || (rest == 0.5 && std::fmod(r, 2.0) != 0)) r += 1;
  if (!(r >= -32768.0 && r <= 32767.0)) raise_error(kOverflow, kBeyondInt16, where);
  return static_cast<std::int16_t>(r);
}

std::string hex_text(std::int32_t n) {
  char buffer[8];
  auto r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::uint32_t>(n), 16);
  std::string text(buffer, r.ptr);
  for (char& c : text)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace rt
