#pragma once
// Checked floating-point arithmetic: no infinity or NaN ever reaches a text. An invalid
// operation is error 5, a division by zero error 11, an overflow error 6.

#include <cstdint>
#include <source_location>

namespace rt {

// Checks a computed value: NaN is error 5, an infinity error 6.
double checked(double x, std::source_location where = std::source_location::current());

// a / b: b == 0 is error 11 (error 5 when a is 0 too, 0/0 being invalid).
double divide(double a, double b, std::source_location where = std::source_location::current());

// The least magnitude that rounds to infinity as a float: halfway between the greatest float
// and 2^128 (a tie goes to the even neighbour, which is 2^128).
inline constexpr double kSingleOverflow = 0x1.ffffffp+127;

// Stores into a single: a value that would round to infinity is error 6; a value too small
// becomes 0 (or a subnormal), without error.
float to_single(double x, std::source_location where = std::source_location::current());

// x^y as 2^(y * log2|x|): x^0 = 1 for every x; 0^y = 0 otherwise; a negative base with a whole
// exponent keeps the sign for odd exponents; a negative base with a fractional exponent is an
// overflow (error 6).
double power(double x, double y, std::source_location where = std::source_location::current());

// Natural logarithm: of a negative number error 5, of zero error 11.
double natural_log(double x, std::source_location where = std::source_location::current());

// e^x: a result beyond the double range is error 6.
double exponential(double x, std::source_location where = std::source_location::current());

// Integer division and remainder, truncating toward zero: by zero error 11. The least integer
// divided by -1 is error 6 (its quotient has no 32-bit value); its remainder is 0.
std::int32_t integer_divide(std::int32_t a, std::int32_t b,
                            std::source_location where = std::source_location::current());
std::int32_t integer_remainder(std::int32_t a, std::int32_t b,
                               std::source_location where = std::source_location::current());

}  // namespace rt
