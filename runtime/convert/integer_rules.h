#pragma once
// The ways a floating value becomes an integer. Each rounding rule has its own name.

#include <cstdint>
#include <source_location>
#include <string>

namespace rt {

// INT: the largest whole number not above x (stays floating; -2.5 gives -3).
double floor_value(double x);

// The rounding of nearest_int beyond the usual range, and its error.
std::int32_t nearest_int_far(double x, std::source_location where);

// Integer arguments (indices, counts, sizes, states): nearest 32-bit integer, halves away from
// zero (2.5 gives 3, -2.5 gives -3); error 6 outside the 32-bit range. Inline, since every
// pixel of a drawing and every loop index comes through here.
inline std::int32_t nearest_int(double x,
                                std::source_location where = std::source_location::current()) {
  // Without the library's round: x less its integer part is exact, so the test for a half
  // is too.
  if (x > -2147483648.5 && x < 2147483647.5) {
    auto whole = static_cast<std::int64_t>(x);  // toward zero
    const double rest = x - static_cast<double>(whole);
    if (rest >= 0.5) ++whole;
    if (rest <= -0.5) --whole;
    return static_cast<std::int32_t>(whole);
  }
  return nearest_int_far(x, where);
}

// Stores into 16-bit variables: halves to even (2.5 gives 2, 3.5 gives 4); error 6 outside
// -32768 .. 32767.
std::int16_t store_int16(double x, std::source_location where = std::source_location::current());

// Upper-case hexadecimal digits of n (two's complement for negative n), no leading zeros.
std::string hex_text(std::int32_t n);

}  // namespace rt
